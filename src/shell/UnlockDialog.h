#pragma once
#include <QDialog>

class LinkSession;
class LockProcedures;
class QLabel;
class QLineEdit;
class QPushButton;
class Session;

// Form33 "Unlock": the password (emptied on every show) and the Unlock and OK buttons.
class UnlockDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 290;
    static constexpr int kHeight = 140;

    UnlockDialog(Session& session, LockProcedures& procedures, LinkSession& link, QWidget* parent = nullptr);

    void refreshTexts();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void unlock();

    Session& m_session;
    LockProcedures& m_procedures;
    LinkSession& m_link;
    QLabel* m_passwordLabel;
    QLineEdit* m_password;
    QPushButton* m_unlock;
    QPushButton* m_ok;
    bool m_busy = false;
};
