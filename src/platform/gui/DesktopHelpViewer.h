#pragma once
#include "platform/gui/HelpViewer.h"

// The system viewer through QDesktopServices: the file is opened with whatever the desktop
// associates with its type.
class DesktopHelpViewer : public HelpViewer {
public:
    bool show(const QString& filePath, QWidget* owner) override;
};
