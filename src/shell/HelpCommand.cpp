#include "shell/HelpCommand.h"

#include "platform/gui/HelpViewer.h"

#include <QDir>
#include <QFileInfo>

HelpCommand::Outcome HelpCommand::run(const QString& workingDirectory, const QString& installFolder, QWidget* owner)
{
    m_lastFile.clear();
    Outcome opened = Outcome::OpenedFromWorkingDirectory;
    QString file = QDir(workingDirectory).filePath(fileName());
    if (!QFileInfo(file).isFile()) {
        file = installFolder.isEmpty() ? QString() : QDir(installFolder).filePath(fileName());
        opened = Outcome::OpenedFromInstallFolder;
        if (file.isEmpty() || !QFileInfo(file).isFile())
            return Outcome::FileMissing;
    }
    const QString absolute = QFileInfo(file).absoluteFilePath();
    if (!m_viewer.show(absolute, owner))
        return Outcome::NoViewer;
    m_lastFile = absolute;
    return opened;
}
