#pragma once
#include <QString>

class QWidget;

// Hands a help file to the system's viewer. The designer only locates the file; what shows it is
// the desktop's business. Tests substitute a recording viewer.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    // False when no viewer took the file (none installed, none for this type); callers then do
    // nothing more.
    virtual bool show(const QString& filePath, QWidget* owner) = 0;
};
