#pragma once
#include <QString>

class HelpViewer;
class QWidget;

// Help > "Content": finds the help file in the working directory, else in the installation
// folder, and hands it to the system's viewer. The caller shows the warning box for FileMissing;
// NoViewer means the desktop took nothing, and then nothing more happens.
class HelpCommand {
public:
    enum class Outcome { OpenedFromWorkingDirectory, OpenedFromInstallFolder, FileMissing, NoViewer };

    static QString fileName() { return QStringLiteral("TOLVAN_V10A.chm"); }
    static QString missingTitle() { return QStringLiteral("TOLVAN Designer"); }
    static QString missingText() { return QStringLiteral("Can not open TOLVAN_designer_V10A.chm."); }

    explicit HelpCommand(HelpViewer& viewer) : m_viewer(viewer) {}

    Outcome run(const QString& workingDirectory, const QString& installFolder, QWidget* owner);
    // The file handed over last (empty when none).
    QString lastFile() const { return m_lastFile; }

private:
    HelpViewer& m_viewer;
    QString m_lastFile;
};
