#pragma once
#include "link/BannerSender.h"
#include "link/DeviceSearch.h"
#include "link/LinkSession.h"
#include "link/LockProcedures.h"
#include "link/PacedWriter.h"
#include "link/PortSettings.h"
#include "link/Session.h"
#include "link/SessionObserver.h"
#include "platform/QtEventPump.h"
#include "platform/SettingsStore.h"
#include "programs/ProgramMemory.h"
#include "shell/ConfigurationSettings.h"
#include "shell/HelpCommand.h"
#include "shell/StartupOptions.h"

#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <map>

class AboutDialog;
class Form34;
class MatrixOverview;
class BannerDialog;
class ComSetupDialog;
class ConnectDialog;
class HelpViewer;
class LockDialog;
class MemoryWindow;
class OnlineLed;
class PresetCommands;
class QActionGroup;
class QFrame;
class QLabel;
class QProgressBar;
class QShortcut;
class QToolBar;
class SearchDialog;
class UnlockDialog;

// Form1, the designer's frame. Owns for the whole run the pump, the paced writer with the serial
// port, the Session (command and reply records, link state, parameter store) and every link
// procedure, and creates every other window hidden. GUI thread only.
//
// Closing (the window's close button, File > Exit, SIGTERM): a running procedure is asked to
// abort and ends at its next wait; open dialogs and message boxes are closed; then the close
// question (when one is hooked in) is asked, unless the close came from a signal; then Disconnect
// runs (the disconnect frame twice when sending is enabled), the writer finishes the frame it is
// writing, and shutdownFinished() is emitted.
class MainWindow : public QMainWindow, public SessionObserver, public LinkSessionObserver {
    Q_OBJECT
public:
    enum class Action {
        New, Open, Save, Memory, Exit,
        ComSetup, Search, Connect, Disconnect, Lock, Unlock,
        Content, About,
    };
    enum class CloseReason { Operator, Signal };
    // Asked before the window closes on the operator's request; false keeps it open.
    using CloseQuestion = std::function<bool()>;

    static constexpr int kVirtualUnitCom = 97;

    MainWindow(const StartupOptions& options, HelpViewer& helpViewer, QWidget* parent = nullptr);
    ~MainWindow() override;

    Session& session() { return m_session; }
    PortSettings& ports() { return m_ports; }
    LinkSession& link() { return m_link; }
    ProgramMemory& programs() { return m_programs; }
    QtEventPump& pump() { return m_pump; }

    QAction* action(Action which) const { return m_actions.at(which); }
    // Options menu item of a configuration code 3..11.
    QAction* configurationAction(int code) const;
    // The client panel that holds the configuration's layout (the matrix overview).
    QFrame* layoutPanel() const { return m_box; }
    // Places `panel` (the matrix overview) into the layout panel, filling it.
    void setLayoutContent(QWidget* panel);
    // The editor window and its hidden-row reveal, for Ctrl+Shift+Alt+L.
    void setEditorWindow(QWidget* editor, std::function<void()> revealHoldRow);
    void setCloseQuestion(CloseQuestion question) { m_closeQuestion = std::move(question); }
    // Called once the settings were read from a unit and applied; by default it redraws the
    // overview (the editor reloads its controls whenever it is shown).
    void setSettingsLoadedHandler(std::function<void()> handler) { m_settingsLoaded = std::move(handler); }

    ConnectDialog* connectDialog() const { return m_connectDialog; }
    ComSetupDialog* comSetupDialog() const { return m_comSetupDialog; }
    SearchDialog* searchDialog() const { return m_searchDialog; }
    BannerDialog* bannerDialog() const { return m_bannerDialog; }
    LockDialog* lockDialog() const { return m_lockDialog; }
    UnlockDialog* unlockDialog() const { return m_unlockDialog; }
    AboutDialog* aboutDialog() const { return m_aboutDialog; }
    // The matrix editor; built hidden just after the first show, or now if asked for earlier.
    Form34* ensureEditor();
    MatrixOverview* overview() const { return m_overview; }
    // Form38 ("Memory...") and the File menu's New, Open..., Save... with the close question.
    MemoryWindow* memoryWindow() const { return m_memoryWindow; }
    PresetCommands* presetCommands() const { return m_presetCommands; }
    QWidget* lockPicture() const;
    OnlineLed* onlineLed() const { return m_led; }
    QString panel4Text() const;
    QString activityText() const;
    int progress() const;
    const QTimer& linkStatusTimer() const { return m_linkStatusTimer; }
    const QTimer& layoutTimer() const { return m_layoutTimer; }

    // ApplyModelLayout: limits the code (above 11 -> 11), stores and writes it, sets the counts,
    // the baud rate and the layout panel. The Options check marks are not touched.
    void applyModelLayout(int code);
    // SelectConfiguration: Options item `code`: stores and writes it, sets the counts, checks the
    // item and unchecks the others, rebuilds the overview.
    void selectConfiguration(int code);
    // RefreshTexts of every window, then a 30 ms wait.
    void refreshAllTexts();
    // Help > "Content".
    void showHelp();

    // Starts the closing sequence; the window closes once it is done.
    void requestShutdown(CloseReason reason);
    bool shuttingDown() const { return m_shutdown != ShutdownState::None; }

    // SessionObserver
    void progressChanged(int value) override;
    void activityTextChanged(const QString& text) override;
    void onlineDisplayChanged(int led, const QString& panel4) override;
    void lockMenusChanged(bool lockEnabled, bool unlockEnabled) override;
    void layoutPanelEnabledChanged(bool enabled) override;
    void refreshTexts() override;

    // LinkSessionObserver
    void connectButtonsEnabledChanged(bool enabled) override;
    void connectDialogCloseRequested() override;
    void lockPictureVisibleChanged(bool visible) override;

signals:
    void firstShown();
    void configurationChanged(int code);
    // The closing sequence is complete: the disconnect was sent and the window is closed.
    void shutdownFinished();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    enum class ShutdownState { None, Unwinding, Disconnecting, Done };

    void buildActions();
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void buildClientArea();
    void buildDialogs();
    void buildEditor();
    void applyStartupPort();
    void firstShow();
    void layoutTick();
    void continueShutdown();
    void showPortError();
    // Runs a procedure of the main window's menus; refused while another one runs.
    bool runMenuProcedure(const std::function<void()>& procedure);

    void onConnect();
    void onDisconnect();
    void onComSetup();
    void onSearch();
    void onLock();
    void onUnlock();
    void onAbout();
    void showBannerDialog();

    StartupOptions m_options;
    QtEventPump m_pump;
    PacedWriter* m_writer = nullptr; // owned by the session
    Session m_session;
    SettingsStore m_settings;
    ConfigurationSettings m_configuration;
    PortSettings m_ports;
    LinkSession m_link;
    ProgramMemory m_programs;
    DeviceSearch m_search;
    BannerSender m_banner;
    LockProcedures m_lockProcedures;
    HelpCommand m_help;

    std::map<Action, QAction*> m_actions;
    QAction* m_configurationActions[9] = {};
    QActionGroup* m_configurationGroup = nullptr;
    QToolBar* m_toolBar = nullptr;

    QWidget* m_client = nullptr;
    QFrame* m_box = nullptr;
    QWidget* m_layoutContent = nullptr;
    QLabel* m_lockPicture = nullptr;
    OnlineLed* m_led = nullptr;
    QLabel* m_panel4 = nullptr;
    QLabel* m_activity = nullptr;
    QProgressBar* m_progress = nullptr;

    ConnectDialog* m_connectDialog = nullptr;
    ComSetupDialog* m_comSetupDialog = nullptr;
    SearchDialog* m_searchDialog = nullptr;
    BannerDialog* m_bannerDialog = nullptr;
    LockDialog* m_lockDialog = nullptr;
    UnlockDialog* m_unlockDialog = nullptr;
    AboutDialog* m_aboutDialog = nullptr;
    Form34* m_editorWindow = nullptr;
    MatrixOverview* m_overview = nullptr;
    MemoryWindow* m_memoryWindow = nullptr;
    PresetCommands* m_presetCommands = nullptr;

    QWidget* m_editor = nullptr;
    QShortcut* m_holdRowKey = nullptr;
    std::function<void()> m_revealHoldRow;
    std::function<void()> m_settingsLoaded;
    CloseQuestion m_closeQuestion;

    QTimer m_layoutTimer;
    QTimer m_linkStatusTimer;
    QTimer m_shutdownTimer;
    bool m_firstShowDone = false;
    bool m_editorScheduled = false;
    ShutdownState m_shutdown = ShutdownState::None;
    CloseReason m_closeReason = CloseReason::Operator;
};
