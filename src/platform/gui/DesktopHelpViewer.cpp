#include "platform/gui/DesktopHelpViewer.h"

#include <QDesktopServices>
#include <QUrl>

bool DesktopHelpViewer::show(const QString& filePath, QWidget* /*owner*/)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(filePath));
}
