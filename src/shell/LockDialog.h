#pragma once
#include "link/LockProcedures.h"

#include <QDialog>

class LinkSession;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class Session;

// Form32 "Lock": the lock level (kept between uses), the four-character password (emptied on
// every show) and the Lock and OK buttons. For the 4*4 configuration the level choices are
// hidden and the dialog is 140 pixels high; otherwise 210.
class LockDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 290;
    static constexpr int kTallHeight = 210;
    static constexpr int kShortHeight = 140;

    LockDialog(Session& session, LockProcedures& procedures, LinkSession& link, QWidget* parent = nullptr);

    void refreshTexts();
    LockProcedures::Level selectedLevel() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void arrangeFor(int deviceModel);
    void lock();

    Session& m_session;
    LockProcedures& m_procedures;
    LinkSession& m_link;
    QFrame* m_levels;
    QRadioButton* m_levelButtons[4];
    QLabel* m_passwordLabel;
    QLineEdit* m_password;
    QPushButton* m_lock;
    QPushButton* m_ok;
    bool m_busy = false;
};
