// Screenshots of every window of the designer's shell, for docs/screenshots/. Not a test: run it
// under a real X server (scripts/screenshots-shell uses Xvfb) so that fonts and styles are those
// an operator sees. Usage: t16_shell_screenshots OUTPUT_DIR
#include "link/PortSettings.h"
#include "platform/gui/HelpViewer.h"
#include "shell/AboutDialog.h"
#include "shell/BannerDialog.h"
#include "shell/ComSetupDialog.h"
#include "shell/ConnectDialog.h"
#include "shell/LockDialog.h"
#include "shell/MainWindow.h"
#include "shell/SearchDialog.h"
#include "shell/UnlockDialog.h"
#include "sim/PtyServer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <functional>

namespace {

struct NoViewer : HelpViewer {
    bool show(const QString&, QWidget*) override { return false; }
};

QString g_out;

void save(QWidget* w, const char* name)
{
    QApplication::processEvents();
    const QString path = QDir(g_out).filePath(QString::fromLatin1(name) + QStringLiteral(".png"));
    if (!w->grab().save(path))
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
    else
        std::printf("%s %dx%d\n", qPrintable(path), w->width(), w->height());
}

// Shows `w`, lets it settle and saves it.
void shoot(QWidget* w, const char* name)
{
    w->show();
    (void)QTest::qWaitForWindowExposed(w);
    QTest::qWait(150);
    save(w, name);
}

// Runs `handle` on the next modal window other than `except`, once it is on screen.
void onModal(std::function<void(QWidget*)> handle, QWidget* except = nullptr)
{
    auto* t = new QTimer;
    t->setInterval(20);
    QObject::connect(t, &QTimer::timeout, t, [t, handle, except] {
        QWidget* m = QApplication::activeModalWidget();
        if (!m || m == except || !m->isVisible())
            return;
        t->stop();
        t->deleteLater();
        QTest::qWait(150);
        handle(m);
    });
    t->start();
}

// Saves the next modal window as `name` and closes it.
void shootNextModal(const char* name, QWidget* except = nullptr)
{
    onModal(
        [name](QWidget* m) {
            save(m, name);
            if (auto* d = qobject_cast<QDialog*>(m))
                d->accept();
        },
        except);
}

void click(QWidget* root, const char* name)
{
    for (auto* b : root->findChildren<QAbstractButton*>()) {
        if (b->accessibleName() == QLatin1String(name)) {
            b->click();
            return;
        }
    }
    std::fprintf(stderr, "no button %s\n", name);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (argc < 2) {
        std::fprintf(stderr, "usage: t16_shell_screenshots OUTPUT_DIR\n");
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(g_out);
    QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.filePath(QStringLiteral("user")));
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, settings.filePath(QStringLiteral("system")));
    QDir::setCurrent(settings.path()); // no help file here

    PtyServer server;
    server.withLine([](SimLine& line) {
        line.addUnit(1);
        line.addUnit(5);
    });
    if (!server.start()) {
        std::fprintf(stderr, "no pty: %s\n", qPrintable(server.errorString()));
        return 1;
    }

    NoViewer viewer;
    StartupOptions options;
    options.virtualUnitPath = server.devicePath();
    MainWindow w(options, viewer);
    w.resize(1000, 700);
    shoot(&w, "main-window-4x4");

    // Closed-dialog shots.
    shoot(w.aboutDialog(), "about");
    w.aboutDialog()->hide();
    shoot(w.connectDialog(), "connect");
    w.connectDialog()->hide();
    w.ports().registerVirtualPort(12, server.devicePath());
    shoot(w.comSetupDialog(), "com-setup");
    w.comSetupDialog()->hide();
    shoot(w.bannerDialog(), "banner");
    w.bannerDialog()->hide();
    shoot(w.lockDialog(), "lock-4x4");
    w.lockDialog()->hide();
    shoot(w.unlockDialog(), "unlock");
    w.unlockDialog()->hide();

    // Help without a help file: the warning box.
    shootNextModal("help-missing");
    w.showHelp();

    // 16*16, connecting: the gauge fills while the settings are read.
    w.selectConfiguration(11);
    shoot(&w, "main-window-16x16");
    shoot(w.lockDialog(), "lock");
    w.lockDialog()->hide();

    onModal([&](QWidget* d) {
        QTimer::singleShot(2500, [&] { save(&w, "main-window-connecting"); });
        click(d, "Connect");
    });
    w.action(MainWindow::Action::Connect)->trigger();
    QTest::qWait(300);
    save(&w, "main-window-online");

    // A search of 1..64 stopped after address 6: the units at 1 and 5 are listed.
    onModal([&](QWidget* modal) {
        auto* d = qobject_cast<SearchDialog*>(modal);
        if (!d)
            return;
        QObject::connect(&w.session(), &Session::frameSubmitted, d, [d](const QByteArray& f) {
            if (f.size() > 1 && quint8(f[1]) == 231 && quint8(f[0]) == 6)
                click(d, "Stop");
        });
        click(d, "Search");
        save(d, "search-devices");
        d->accept();
    });
    w.action(MainWindow::Action::Search)->trigger();

    // Lock with a success message, the locked main window, then unlock.
    server.withLine([](SimLine& line) { line.unit(1)->lockState = 0; });
    onModal([&](QWidget* d) {
        shootNextModal("lock-succeeded", d);
        click(d, "Lock");
    });
    w.action(MainWindow::Action::Lock)->trigger();
    // The unit reports its lock at the next connect.
    onModal([&](QWidget* d) { click(d, "Quick Connect"); });
    w.action(MainWindow::Action::Connect)->trigger();
    QTest::qWait(300);
    save(&w, "main-window-locked");

    // An unopenable port.
    w.ports().setOneRunPath(settings.filePath(QStringLiteral("no-such-tty")));
    shootNextModal("open-com-error");
    w.action(MainWindow::Action::Connect)->trigger();
    w.ports().setOneRunPath({});

    QObject::connect(&w, &MainWindow::shutdownFinished, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    w.requestShutdown(MainWindow::CloseReason::Signal);
    app.exec();
    return 0;
}
