#include "shell/UnlockDialog.h"

#include "link/LinkSession.h"
#include "link/LockProcedures.h"
#include "link/Session.h"
#include "shell/DialogPlacement.h"
#include "shell/PasswordFilter.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

UnlockDialog::UnlockDialog(Session& session, LockProcedures& procedures, LinkSession& link, QWidget* parent)
    : QDialog(parent), m_session(session), m_procedures(procedures), m_link(link)
{
    setObjectName(QStringLiteral("Form33"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    m_passwordLabel = new QLabel(this);
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("Edit1"));
    m_password->setAccessibleName(QStringLiteral("Password"));
    m_password->setMaxLength(4);
    m_passwordLabel->setBuddy(m_password);
    PasswordFilter::attach(m_password);

    m_unlock = new QPushButton(this);
    m_unlock->setAutoDefault(false);
    m_unlock->setDefault(true);
    m_ok = new QPushButton(this);
    m_ok->setAutoDefault(false);
    connect(m_unlock, &QPushButton::clicked, this, [this] { unlock(); });
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    refreshTexts();
    const int margin = 14;
    const int inner = kWidth - 2 * margin;
    const int labelWidth = m_passwordLabel->sizeHint().width();
    m_passwordLabel->setGeometry(margin, 24, labelWidth, 26);
    m_password->setGeometry(margin + labelWidth + 10, 24, inner - labelWidth - 10, 26);
    const int buttonWidth = 90;
    m_ok->setGeometry(kWidth - margin - buttonWidth, 88, buttonWidth, 30);
    m_unlock->setGeometry(kWidth - margin - 2 * buttonWidth - 10, 88, buttonWidth, 30);
    setFixedSize(kWidth, kHeight);
}

void UnlockDialog::refreshTexts()
{
    setWindowTitle(QStringLiteral("Unlock"));
    m_passwordLabel->setText(QStringLiteral("Password:"));
    m_unlock->setText(QStringLiteral("Unlock"));
    m_unlock->setAccessibleName(QStringLiteral("Unlock"));
    m_ok->setText(QStringLiteral("OK"));
    m_ok->setAccessibleName(QStringLiteral("OK"));
}

void UnlockDialog::showEvent(QShowEvent* event)
{
    refreshTexts();
    m_password->clear();
    m_password->setFocus();
    QDialog::showEvent(event);
    DialogPlacement::centreOnScreen(this);
}

void UnlockDialog::unlock()
{
    if (m_busy)
        return;
    m_busy = true;
    m_unlock->setEnabled(false);
    m_password->setEnabled(false);
    bool unlocked = false;
    const QString password = m_password->text();
    const int address = m_link.addressBox();
    m_session.runProcedure([&] { unlocked = m_procedures.unlock(password, address); });
    m_unlock->setEnabled(true);
    m_password->setEnabled(true);
    m_busy = false;
    if (!unlocked)
        return;
    QMessageBox box(QMessageBox::Information, LockProcedures::unlockSucceededCaption(),
                    LockProcedures::unlockSucceededText(), QMessageBox::Ok, this);
    box.exec();
    accept();
}
