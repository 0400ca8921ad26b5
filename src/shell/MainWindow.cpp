#include "shell/MainWindow.h"

#include "editor/widgets/Form34.h"
#include "editor/widgets/MatrixOverview.h"
#include "model/DeviceModel.h"
#include "platform/gui/HelpViewer.h"
#include "programs/widgets/MemoryWindow.h"
#include "programs/widgets/PresetCommands.h"
#include "shell/AboutDialog.h"
#include "shell/BannerDialog.h"
#include "shell/ComSetupDialog.h"
#include "shell/ConnectDialog.h"
#include "shell/LockDialog.h"
#include "shell/OnlineLed.h"
#include "shell/SearchDialog.h"
#include "shell/ShellArtwork.h"
#include "shell/UnlockDialog.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int kDefaultWidth = 1000;
constexpr int kDefaultHeight = 700;

struct ConfigurationItem {
    const char* text;
    int code;
};
constexpr ConfigurationItem kConfigurations[9] = {
    {"4*4", 3}, {"4*8", 4}, {"4*16", 5}, {"8*4", 6}, {"8*8", 7}, {"8*16", 8}, {"16*4", 9}, {"16*8", 10}, {"16*16", 11},
};

struct ActionText {
    MainWindow::Action action;
    const char* menuText;
    const char* hint; // toolbar hint; empty for menu-only items
};
constexpr ActionText kActionTexts[] = {
    {MainWindow::Action::New, "New", "New"},
    {MainWindow::Action::Open, "Open...", "Open"},
    {MainWindow::Action::Save, "Save...", "Save"},
    {MainWindow::Action::Memory, "Memory...", "Memory"},
    {MainWindow::Action::Exit, "Exit", "Exit"},
    {MainWindow::Action::ComSetup, "COM Setup...", ""},
    {MainWindow::Action::Search, "Search... ", ""},
    {MainWindow::Action::Connect, "Connect", "Connect"},
    {MainWindow::Action::Disconnect, "Disconnect", "Disconnect"},
    {MainWindow::Action::Lock, "Lock", ""},
    {MainWindow::Action::Unlock, "UnLock", ""},
    {MainWindow::Action::Content, "Content", ""},
    {MainWindow::Action::About, "About...", "About"},
};
} // namespace

MainWindow::MainWindow(const StartupOptions& options, HelpViewer& helpViewer, QWidget* parent)
    : QMainWindow(parent),
      m_options(options),
      m_session(m_pump,
                [this](LinkState& link) {
                    auto writer = std::make_unique<PacedWriter>(link);
                    m_writer = writer.get();
                    return writer;
                }),
      m_configuration(m_settings),
      m_link(m_session, m_ports),
      m_programs(m_session),
      m_search(m_session, m_ports),
      m_banner(m_session),
      m_lockProcedures(m_session),
      m_help(helpViewer)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("TOLVAN Desinger V1.0A"));
    setWindowIcon(ShellArtwork::applicationIcon());
    resize(kDefaultWidth, kDefaultHeight);
    setMinimumSize(720, 520);

    // Creation: the records and counters start cleared; the port number comes from the settings.
    m_session.reply.ReplyHeader.fill(0);
    m_session.link.LockState = 0;
    m_session.command.Command = 0;
    m_session.command.Selector = 0;
    m_session.link.PendingFrames = 0;
    m_session.link.SettingsModified = 0;
    m_session.link.SendEnabled = 0;
    m_ports.load();
    applyStartupPort();

    m_link.setObserver(this);
    m_link.setSettingsUpload([this] {
        const bool applied = m_programs.readUnitSettings();
        if (applied && m_settingsLoaded)
            m_settingsLoaded();
        return applied;
    });
    m_session.addObserver(this);

    buildActions();
    buildMenus();
    buildToolBar();
    buildClientArea();
    buildStatusBar();
    buildDialogs();
    buildEditor();

    connect(&m_layoutTimer, &QTimer::timeout, this, [this] { layoutTick(); });
    m_layoutTimer.start(50);
    connect(&m_linkStatusTimer, &QTimer::timeout, this, [this] { m_link.statusTick(); });
    m_linkStatusTimer.start(50);
    m_shutdownTimer.setInterval(20);
    connect(&m_shutdownTimer, &QTimer::timeout, this, [this] { continueShutdown(); });
}

MainWindow::~MainWindow()
{
    m_session.removeObserver(this);
    m_link.setObserver(nullptr);
    // Every window below reads the session, which goes before QObject's own clean-up of children.
    setEditorWindow(nullptr, {});
    delete m_editorWindow;
    delete m_overview;
    // The dialogs observe procedures owned here; they go first.
    delete m_connectDialog;
    delete m_comSetupDialog;
    delete m_searchDialog;
    delete m_bannerDialog;
    delete m_lockDialog;
    delete m_unlockDialog;
    delete m_aboutDialog;
    delete m_presetCommands;
    delete m_memoryWindow;
    m_search.setObserver(nullptr);
    m_banner.setObserver(nullptr);
    // The session's writer finishes what it was handed (the disconnect frames) as it goes.
}

QAction* MainWindow::configurationAction(int code) const
{
    if (code < 3 || code > 11)
        return nullptr;
    return m_configurationActions[code - 3];
}

void MainWindow::buildActions()
{
    for (const auto& t : kActionTexts) {
        auto* a = new QAction(QString::fromLatin1(t.menuText), this);
        if (*t.hint)
            a->setToolTip(QString::fromLatin1(t.hint));
        m_actions[t.action] = a;
    }
    using TI = ShellArtwork::ToolIcon;
    const std::pair<Action, TI> icons[] = {
        {Action::New, TI::New},         {Action::Open, TI::Open},     {Action::Save, TI::Save},
        {Action::Connect, TI::Connect}, {Action::Disconnect, TI::Disconnect}, {Action::Memory, TI::Memory},
        {Action::About, TI::About},     {Action::Exit, TI::Exit},
    };
    for (const auto& [a, icon] : icons)
        m_actions[a]->setIcon(ShellArtwork::toolIcon(icon));

    action(Action::Unlock)->setEnabled(false);

    connect(action(Action::Exit), &QAction::triggered, this, &QWidget::close);
    connect(action(Action::Connect), &QAction::triggered, this, [this] { onConnect(); });
    connect(action(Action::Disconnect), &QAction::triggered, this, [this] { onDisconnect(); });
    connect(action(Action::ComSetup), &QAction::triggered, this, [this] { onComSetup(); });
    connect(action(Action::Search), &QAction::triggered, this, [this] { onSearch(); });
    connect(action(Action::Lock), &QAction::triggered, this, [this] { onLock(); });
    connect(action(Action::Unlock), &QAction::triggered, this, [this] { onUnlock(); });
    connect(action(Action::Content), &QAction::triggered, this, [this] { showHelp(); });
    connect(action(Action::About), &QAction::triggered, this, [this] { onAbout(); });
    // New, Open..., Save... and Memory... belong to the preset files and the memory window, which
    // connect to these actions themselves.

    m_configurationGroup = new QActionGroup(this);
    m_configurationGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    for (int i = 0; i < 9; ++i) {
        auto* a = new QAction(QString::fromLatin1(kConfigurations[i].text), m_configurationGroup);
        a->setCheckable(true);
        a->setChecked(false);
        const int code = kConfigurations[i].code;
        connect(a, &QAction::triggered, this, [this, code] { selectConfiguration(code); });
        m_configurationActions[i] = a;
    }
}

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("FileMenu"));
    file->addAction(action(Action::New));
    file->addAction(action(Action::Open));
    file->addAction(action(Action::Save));
    file->addSeparator();
    file->addAction(action(Action::Memory));
    file->addSeparator();
    file->addAction(action(Action::Exit));

    QMenu* options = bar->addMenu(QStringLiteral("Options"));
    options->setObjectName(QStringLiteral("OptionsMenu"));
    for (auto* a : m_configurationActions)
        options->addAction(a);

    QMenu* tools = bar->addMenu(QStringLiteral("Tools"));
    tools->setObjectName(QStringLiteral("ToolsMenu"));
    tools->addAction(action(Action::ComSetup));
    tools->addAction(action(Action::Search));
    tools->addSeparator();
    tools->addAction(action(Action::Connect));
    tools->addAction(action(Action::Disconnect));
    tools->addSeparator();
    tools->addAction(action(Action::Lock));
    tools->addAction(action(Action::Unlock));

    QMenu* help = bar->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("HelpMenu"));
    help->addAction(action(Action::Content));
    help->addAction(action(Action::About));
}

void MainWindow::buildToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("Tools"));
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(24, 24));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    const Action order[] = {Action::New, Action::Open, Action::Save, Action::Connect, Action::Disconnect,
                            Action::Memory, Action::About, Action::Exit};
    for (Action a : order) {
        if (a == Action::Connect || a == Action::Memory || a == Action::About)
            m_toolBar->addSeparator();
        m_toolBar->addAction(action(a));
        if (auto* button = qobject_cast<QToolButton*>(m_toolBar->widgetForAction(action(a))))
            button->setAccessibleName(action(a)->toolTip());
    }
}

void MainWindow::buildClientArea()
{
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(m_client);

    m_box = new QFrame(m_client);
    m_box->setObjectName(QStringLiteral("BOX"));
    m_box->setAccessibleName(QStringLiteral("Matrix layout"));
    m_box->setFrameShape(QFrame::StyledPanel);
    m_box->setFrameShadow(QFrame::Sunken);
    auto* boxLayout = new QVBoxLayout(m_box);
    boxLayout->setContentsMargins(0, 0, 0, 0);

    m_lockPicture = new QLabel(m_client);
    m_lockPicture->setObjectName(QStringLiteral("LOCK_image"));
    m_lockPicture->setAccessibleName(QStringLiteral("Unit locked"));
    m_lockPicture->setToolTip(QStringLiteral("The unit's front panel is locked"));
    m_lockPicture->setPixmap(ShellArtwork::lockPicture(64));
    m_lockPicture->setFixedSize(64, 64);
    m_lockPicture->hide();
    layoutTick();
}

void MainWindow::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setSizeGripEnabled(true);

    auto* indicator = new QFrame(bar);
    indicator->setObjectName(QStringLiteral("iPanel1"));
    indicator->setFrameShape(QFrame::StyledPanel);
    indicator->setFrameShadow(QFrame::Sunken);
    auto* il = new QHBoxLayout(indicator);
    il->setContentsMargins(6, 1, 8, 1);
    il->setSpacing(6);
    m_led = new OnlineLed(indicator);
    m_led->setObjectName(QStringLiteral("ONLINELED"));
    m_panel4 = new QLabel(QStringLiteral("OFFLINE"), indicator);
    m_panel4->setObjectName(QStringLiteral("Panel4"));
    const QFontMetrics fm(m_panel4->font());
    m_panel4->setMinimumWidth(std::max(fm.horizontalAdvance(QStringLiteral("OFFLINE")),
                                       fm.horizontalAdvance(QStringLiteral("ONLINE"))) + 4);
    il->addWidget(m_led);
    il->addWidget(m_panel4);

    m_activity = new QLabel(bar);
    m_activity->setObjectName(QStringLiteral("RX232TEXT"));
    m_activity->setFrameShape(QFrame::StyledPanel);
    m_activity->setFrameShadow(QFrame::Sunken);
    m_activity->setMinimumWidth(200);
    m_activity->setContentsMargins(4, 0, 4, 0);

    m_progress = new QProgressBar(bar);
    m_progress->setObjectName(QStringLiteral("progst1"));
    m_progress->setAccessibleName(QStringLiteral("Progress"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_progress->setFixedSize(220, 16);
    // A navy bar on a button-face background.
    m_progress->setStyleSheet(QStringLiteral(
        "QProgressBar#progst1 { background: palette(button); border: 1px solid palette(mid); border-radius: 2px; }"
        "QProgressBar#progst1::chunk { background: #000080; }"));

    bar->addWidget(indicator);
    bar->addWidget(m_activity, 1);
    bar->addPermanentWidget(m_progress);
}

void MainWindow::buildDialogs()
{
    m_connectDialog = new ConnectDialog(m_session, m_link, this);
    m_comSetupDialog = new ComSetupDialog(m_ports, this);
    m_searchDialog = new SearchDialog(m_session, m_search, this);
    m_bannerDialog = new BannerDialog(m_session, m_banner, m_link, this);
    m_lockDialog = new LockDialog(m_session, m_lockProcedures, m_link, this);
    m_unlockDialog = new UnlockDialog(m_session, m_lockProcedures, m_link, this);
    m_aboutDialog = new AboutDialog(this);
    m_memoryWindow = new MemoryWindow(m_session, m_programs, this);
    m_presetCommands = new PresetCommands(m_session, m_memoryWindow->operations(), this);
    m_presetCommands->attach(action(Action::New), action(Action::Open), action(Action::Save));
    connect(action(Action::Memory), &QAction::triggered, this, [this] {
        if (!shuttingDown())
            m_memoryWindow->showIfAllowed();
    });
    // New, Open, Upload and DownloadToProgram replace the parameters as a whole.
    const auto reload = [this] {
        if (m_settingsLoaded)
            m_settingsLoaded();
    };
    connect(m_presetCommands, &PresetCommands::parametersReplaced, this, reload);
    connect(m_memoryWindow, &MemoryWindow::parametersReplaced, this, reload);
    if (!m_closeQuestion)
        m_closeQuestion = [this] { return m_presetCommands->closeQuestion(); };
    connect(m_connectDialog, &ConnectDialog::bannerRequested, this, [this] { showBannerDialog(); });
}

void MainWindow::buildEditor()
{
    m_overview = new MatrixOverview(m_session);
    m_overview->setObjectName(QStringLiteral("Panel6"));
    setLayoutContent(m_overview);
    connect(m_overview, &MatrixOverview::editorRequested, this, [this](int page, int tab) {
        if (!shuttingDown())
            ensureEditor()->openAt(page, tab);
    });
    m_settingsLoaded = [this] { m_overview->refreshMatrix(); };
}

Form34* MainWindow::ensureEditor()
{
    if (!m_editorWindow) {
        m_editorWindow = new Form34(m_session, this);
        setEditorWindow(m_editorWindow, [this] { m_editorWindow->revealHoldRow(); });
    }
    return m_editorWindow;
}

void MainWindow::applyStartupPort()
{
    if (!m_options.virtualUnitPath.isEmpty()) {
        m_ports.registerVirtualPort(kVirtualUnitCom, m_options.virtualUnitPath);
        m_ports.setPortNumber(kVirtualUnitCom);
    } else if (m_options.portNumber > 0) {
        m_ports.setPortNumber(m_options.portNumber);
    } else if (!m_options.portPath.isEmpty()) {
        m_ports.setOneRunPath(m_options.portPath);
    }
}

void MainWindow::setLayoutContent(QWidget* panel)
{
    if (m_layoutContent == panel)
        return;
    if (m_layoutContent)
        m_layoutContent->hide();
    m_layoutContent = panel;
    if (panel) {
        panel->setParent(m_box);
        m_box->layout()->addWidget(panel);
        panel->show();
    }
}

void MainWindow::setEditorWindow(QWidget* editor, std::function<void()> revealHoldRow)
{
    delete m_holdRowKey;
    m_holdRowKey = nullptr;
    m_editor = editor;
    m_revealHoldRow = std::move(revealHoldRow);
    if (!editor)
        return;
    // Registered on the editor itself, so that it works while the editor is the active window,
    // also when the editor is shown modally over this one.
    m_holdRowKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::ALT | Qt::Key_L), editor);
    m_holdRowKey->setContext(Qt::WindowShortcut);
    connect(m_holdRowKey, &QShortcut::activated, this, [this] {
        if (m_editor && m_editor->isVisible() && m_revealHoldRow)
            m_revealHoldRow();
    });
}

QWidget* MainWindow::lockPicture() const
{
    return m_lockPicture;
}

QString MainWindow::panel4Text() const
{
    return m_panel4->text();
}

QString MainWindow::activityText() const
{
    return m_activity->text();
}

int MainWindow::progress() const
{
    return m_progress->value();
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_firstShowDone) {
        m_firstShowDone = true;
        firstShow();
        emit firstShown();
    }
}

bool MainWindow::event(QEvent* event)
{
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::Paint && !m_editorScheduled) {
        // The matrix editor, the largest window, is built hidden once the main window has been
        // painted, so that start-up does not wait for it.
        m_editorScheduled = true;
        QTimer::singleShot(0, this, [this] { ensureEditor(); });
    }
    return handled;
}

void MainWindow::firstShow()
{
    m_configuration.ensurePathGroup();
    m_ports.load();
    applyStartupPort();
    const int code = m_configuration.readStartModel();
    refreshAllTexts();
    applyModelLayout(code);
}

void MainWindow::applyModelLayout(int code)
{
    if (code > 11)
        code = 11;
    const DeviceModel model = DeviceModel::fromCode(code);
    m_session.store.model = model;
    m_configuration.storeModel(model.code);
    m_writer->setBaudRate(38400);
    if (m_layoutContent)
        m_layoutContent->show();
    m_box->show();
    if (m_overview)
        m_overview->rebuild();
    layoutTick();
    emit configurationChanged(model.code);
}

void MainWindow::selectConfiguration(int code)
{
    const DeviceModel model = DeviceModel::fromCode(code);
    m_session.store.model = model;
    m_configuration.storeModel(model.code);
    for (int i = 0; i < 9; ++i)
        m_configurationActions[i]->setChecked(kConfigurations[i].code == model.code);
    if (m_overview)
        m_overview->rebuild();
    emit configurationChanged(model.code);
}

void MainWindow::refreshAllTexts()
{
    m_session.refreshTexts();
    m_pump.waitNoThrow(30);
}

void MainWindow::refreshTexts()
{
    for (const auto& t : kActionTexts) {
        QAction* a = action(t.action);
        a->setText(QString::fromLatin1(t.menuText));
        if (*t.hint) {
            a->setToolTip(QString::fromLatin1(t.hint));
            if (auto* button = qobject_cast<QToolButton*>(m_toolBar->widgetForAction(a)))
                button->setAccessibleName(QString::fromLatin1(t.hint));
        }
    }
    const QString menuTitles[] = {QStringLiteral("File"), QStringLiteral("Options"), QStringLiteral("Tools"),
                                  QStringLiteral("Help")};
    const auto menus = menuBar()->actions();
    for (int i = 0; i < menus.size() && i < 4; ++i)
        menus[i]->setText(menuTitles[i]);
    m_panel4->setText(m_session.link.OnlineIndicator == kSet ? QStringLiteral("ONLINE") : QStringLiteral("OFFLINE"));
    m_comSetupDialog->refreshTexts();
    m_searchDialog->refreshTexts();
    m_connectDialog->refreshTexts();
    m_aboutDialog->refreshTexts();
    m_bannerDialog->refreshTexts();
    m_lockDialog->refreshTexts();
    m_unlockDialog->refreshTexts();
    if (m_overview)
        m_overview->refreshTexts();
}

void MainWindow::layoutTick()
{
    // The client panel follows the window: its width less 20, its height less 120 pixels,
    // centred in the client area.
    const int w = std::max(0, width() - 20);
    const int h = std::max(0, height() - 120);
    const int x = std::max(0, (m_client->width() - w) / 2);
    const int y = std::max(0, (m_client->height() - h) / 2);
    const QRect box(x, y, w, h);
    if (m_box->geometry() != box)
        m_box->setGeometry(box);
    const QPoint lockAt(box.right() - m_lockPicture->width() - 12, box.top() + 12);
    if (m_lockPicture->pos() != lockAt)
        m_lockPicture->move(lockAt);
}

void MainWindow::showHelp()
{
    const QString installFolder = m_configuration.installPath();
    const auto outcome = m_help.run(QDir::currentPath(), installFolder, this);
    if (outcome == HelpCommand::Outcome::FileMissing)
        QMessageBox::warning(this, HelpCommand::missingTitle(), HelpCommand::missingText());
}

bool MainWindow::runMenuProcedure(const std::function<void()>& procedure)
{
    if (m_session.procedureRunning() || shuttingDown())
        return false;
    return m_session.runProcedure(procedure);
}

void MainWindow::showPortError()
{
    // The text's carriage returns are line breaks on screen.
    QString text = PortSettings::openErrorText(m_ports.portNumber());
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(QMessageBox::Critical, PortSettings::openErrorTitle(), text, QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("OpenComError"));
    box.exec();
}

void MainWindow::onConnect()
{
    bool opened = false;
    if (!runMenuProcedure([&] { opened = m_link.prepareConnect(); }))
        return;
    if (!opened) {
        showPortError();
        return;
    }
    m_connectDialog->exec();
}

void MainWindow::onDisconnect()
{
    runMenuProcedure([this] { m_link.disconnect(); });
}

void MainWindow::onComSetup()
{
    if (shuttingDown())
        return;
    refreshAllTexts();
    m_comSetupDialog->exec();
}

void MainWindow::onSearch()
{
    bool opened = false;
    if (!runMenuProcedure([&] { opened = m_search.open(); }))
        return;
    if (!opened) {
        showPortError();
        return;
    }
    m_searchDialog->exec();
}

void MainWindow::onLock()
{
    if (!shuttingDown())
        m_lockDialog->exec();
}

void MainWindow::onUnlock()
{
    if (!shuttingDown())
        m_unlockDialog->exec();
}

void MainWindow::onAbout()
{
    if (shuttingDown())
        return;
    refreshAllTexts();
    m_aboutDialog->refreshTexts();
    m_aboutDialog->exec();
}

void MainWindow::showBannerDialog()
{
    if (m_connectDialog->isVisible() && !m_bannerDialog->isVisible() && !shuttingDown())
        m_bannerDialog->exec();
}

// --- status bar and menus, as the procedures report them ---

void MainWindow::progressChanged(int value)
{
    m_progress->setValue(std::clamp(value, 0, 100));
}

void MainWindow::activityTextChanged(const QString& text)
{
    m_activity->setText(text);
}

void MainWindow::onlineDisplayChanged(int led, const QString& panel4)
{
    m_led->setValue(led);
    m_panel4->setText(panel4);
}

void MainWindow::lockMenusChanged(bool lockEnabled, bool unlockEnabled)
{
    action(Action::Lock)->setEnabled(lockEnabled);
    action(Action::Unlock)->setEnabled(unlockEnabled);
}

void MainWindow::layoutPanelEnabledChanged(bool enabled)
{
    m_box->setEnabled(enabled);
}

void MainWindow::connectButtonsEnabledChanged(bool enabled)
{
    m_connectDialog->setConnectButtonsEnabled(enabled);
}

void MainWindow::connectDialogCloseRequested()
{
    if (m_connectDialog->isVisible())
        m_connectDialog->accept();
}

void MainWindow::lockPictureVisibleChanged(bool visible)
{
    m_lockPicture->setVisible(visible);
    if (visible)
        m_lockPicture->raise();
}

// --- closing ---

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_shutdown == ShutdownState::Done) {
        event->accept();
        return;
    }
    event->ignore();
    requestShutdown(CloseReason::Operator);
}

void MainWindow::requestShutdown(CloseReason reason)
{
    if (m_shutdown == ShutdownState::Done || m_shutdown == ShutdownState::Disconnecting)
        return;
    if (m_shutdown == ShutdownState::Unwinding) {
        // A signal while the operator's close is unwinding: no question will be asked then.
        if (reason == CloseReason::Signal)
            m_closeReason = reason;
        return;
    }
    m_shutdown = ShutdownState::Unwinding;
    m_closeReason = reason;
    // Never from inside the close event itself: the window can only close once that has returned.
    QTimer::singleShot(0, this, [this] { continueShutdown(); });
    m_shutdownTimer.start();
}

void MainWindow::continueShutdown()
{
    if (m_shutdown != ShutdownState::Unwinding)
        return;
    // A procedure ends at its next wait; its handler and the dialog around it unwind after it.
    if (m_session.procedureRunning()) {
        m_pump.requestAbort();
        return;
    }
    if (QWidget* modal = QApplication::activeModalWidget()) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        return;
    }
    m_shutdownTimer.stop();

    if (m_closeReason == CloseReason::Operator && m_closeQuestion) {
        m_shutdown = ShutdownState::None;
        if (!m_closeQuestion())
            return;
        if (m_shutdown != ShutdownState::None)
            return; // a signal arrived during the question and has taken over
        m_shutdown = ShutdownState::Unwinding;
        if (m_session.procedureRunning() || QApplication::activeModalWidget()) {
            m_shutdownTimer.start();
            return;
        }
    }

    m_shutdown = ShutdownState::Disconnecting;
    m_layoutTimer.stop();
    m_session.runProcedure([this] { m_link.disconnect(); });
    m_linkStatusTimer.stop();
    m_shutdown = ShutdownState::Done;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->isVisible())
            w->close();
    }
    close();
    emit shutdownFinished();
}
