// tolvan16-designer: the editor and remote control for TOLVAN16 units.
#include "platform/QtEventPump.h"
#include "platform/TerminationSignal.h"
#include "platform/gui/DesktopHelpViewer.h"
#include "shell/FirstShowReporter.h"
#include "shell/MainWindow.h"
#include "shell/StartupOptions.h"
#include "shell/VirtualUnitHost.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    QtEventPump::preferLightDispatcher();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tolvan16-designer"));
    QApplication::setOrganizationName(QStringLiteral("TOLVAN16"));
    // The main window decides when the application ends (after its closing sequence).
    QApplication::setQuitOnLastWindowClosed(false);

    StartupOptions options = StartupOptions::parse(QApplication::arguments());
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "tolvan16-designer: %s\n%s\n", qPrintable(options.error), qPrintable(StartupOptions::usage()));
        return 2;
    }

    std::unique_ptr<VirtualUnitHost> virtualUnit;
    if (options.virtualUnit) {
        virtualUnit = std::make_unique<VirtualUnitHost>();
        if (!virtualUnit->start()) {
            std::fprintf(stderr, "tolvan16-designer: no virtual unit: %s\n", qPrintable(virtualUnit->errorString()));
            return 1;
        }
        options.virtualUnitPath = virtualUnit->devicePath();
        std::fprintf(stderr, "tolvan16-designer: virtual unit at address %d on %s (COM%d)\n", VirtualUnitHost::kAddress,
                     qPrintable(options.virtualUnitPath), MainWindow::kVirtualUnitCom);
    }

    DesktopHelpViewer helpViewer;
    int exitCode = 0;
    {
        MainWindow window(options, helpViewer);
        TerminationSignal termination;
        QObject::connect(&termination, &TerminationSignal::received, &window,
                         [&window](int) { window.requestShutdown(MainWindow::CloseReason::Signal); });
        QObject::connect(&window, &MainWindow::shutdownFinished, &app, [] { QCoreApplication::quit(); },
                         Qt::QueuedConnection);

        std::unique_ptr<FirstShowReporter> reporter;
        if (options.quitAfterShow) {
            reporter = std::make_unique<FirstShowReporter>(&window, sinceStart);
            QObject::connect(reporter.get(), &FirstShowReporter::reported, &window,
                             [&window] { window.requestShutdown(MainWindow::CloseReason::Signal); });
        }
        window.show();
        exitCode = app.exec();
    }
    return exitCode;
}
