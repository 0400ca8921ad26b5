#pragma once
#include <QDialog>

class LinkSession;
class QGroupBox;
class QLabel;
class QPushButton;
class QShortcut;
class QSpinBox;
class Session;

// Form14 "Connect": the unit address (1..255) and the connect, quick connect and disconnect
// procedures of the link session. The procedures run inside the button handlers and keep the
// window alive through their waits; while one runs, the dialog's other controls are disabled so
// that a second handshake cannot start inside the first (Cancel stays available).
class ConnectDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 395;
    static constexpr int kGroupWidth = 374;

    ConnectDialog(Session& session, LinkSession& link, QWidget* parent = nullptr);

    // Title and captions ("Connect", "Address", "Quick Connect", "Cancel", "Connect", "Disconnect").
    void refreshTexts();
    // The link session's button state (Connect and Disconnect).
    void setConnectButtonsEnabled(bool enabled);
    int address() const;

signals:
    // Ctrl+Shift+Alt+0 while this dialog is on screen.
    void bannerRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void runBusy(const std::function<void()>& procedure);
    void updateEnabled();

    Session& m_session;
    LinkSession& m_link;
    QGroupBox* m_group;
    QLabel* m_addressLabel;
    QSpinBox* m_address;
    QPushButton* m_connect;
    QPushButton* m_disconnect;
    QPushButton* m_quick;
    QPushButton* m_cancel;
    QShortcut* m_bannerKey;
    bool m_linkButtonsEnabled = true;
    bool m_busy = false;
};
