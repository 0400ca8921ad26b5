#include "shell/LockDialog.h"

#include "link/LinkSession.h"
#include "link/Session.h"
#include "shell/DialogPlacement.h"
#include "shell/PasswordFilter.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
constexpr LockProcedures::Level kLevels[4] = {LockProcedures::Level::Change, LockProcedures::Level::ChangeView,
                                              LockProcedures::Level::ChangeMute, LockProcedures::Level::Everything};
constexpr const char* kLevelTexts[4] = {"Change", "Change+View", "Change+Mute", "Everthing "};
} // namespace

LockDialog::LockDialog(Session& session, LockProcedures& procedures, LinkSession& link, QWidget* parent)
    : QDialog(parent), m_session(session), m_procedures(procedures), m_link(link)
{
    setObjectName(QStringLiteral("Form32"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    m_levels = new QFrame(this);
    m_levels->setFrameShape(QFrame::StyledPanel);
    auto* levelsLayout = new QVBoxLayout(m_levels);
    levelsLayout->setContentsMargins(12, 6, 12, 6);
    levelsLayout->setSpacing(2);
    for (int i = 0; i < 4; ++i) {
        m_levelButtons[i] = new QRadioButton(QString::fromLatin1(kLevelTexts[i]), m_levels);
        m_levelButtons[i]->setAccessibleName(QString::fromLatin1(kLevelTexts[i]).trimmed());
        levelsLayout->addWidget(m_levelButtons[i]);
    }
    m_levelButtons[0]->setChecked(true);

    m_passwordLabel = new QLabel(this);
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("Edit1"));
    m_password->setAccessibleName(QStringLiteral("Password"));
    m_password->setMaxLength(4);
    m_passwordLabel->setBuddy(m_password);
    PasswordFilter::attach(m_password);

    m_lock = new QPushButton(this);
    m_lock->setAutoDefault(false);
    m_lock->setDefault(true);
    m_ok = new QPushButton(this);
    m_ok->setAutoDefault(false);

    connect(m_lock, &QPushButton::clicked, this, [this] { lock(); });
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    refreshTexts();
    arrangeFor(4);
}

void LockDialog::refreshTexts()
{
    setWindowTitle(QStringLiteral("Lock"));
    m_passwordLabel->setText(QStringLiteral("Password:"));
    m_lock->setText(QStringLiteral("Lock"));
    m_lock->setAccessibleName(QStringLiteral("Lock"));
    m_ok->setText(QStringLiteral("OK"));
    m_ok->setAccessibleName(QStringLiteral("OK"));
}

LockProcedures::Level LockDialog::selectedLevel() const
{
    for (int i = 0; i < 4; ++i) {
        if (m_levelButtons[i]->isChecked())
            return kLevels[i];
    }
    return LockProcedures::Level::Change;
}

void LockDialog::showEvent(QShowEvent* event)
{
    refreshTexts();
    m_password->clear();
    arrangeFor(m_session.store.model.code);
    m_password->setFocus();
    QDialog::showEvent(event);
    DialogPlacement::centreOnScreen(this);
}

void LockDialog::arrangeFor(int deviceModel)
{
    const bool withLevels = deviceModel != 3;
    const int margin = 14;
    const int inner = kWidth - 2 * margin;
    int y = margin;
    m_levels->setVisible(withLevels);
    if (withLevels) {
        m_levels->setGeometry(margin, 10, inner, 104);
        y = 126;
    } else {
        y = 24;
    }
    const int labelWidth = m_passwordLabel->sizeHint().width();
    m_passwordLabel->setGeometry(margin, y, labelWidth, 26);
    m_password->setGeometry(margin + labelWidth + 10, y, inner - labelWidth - 10, 26);
    const int buttonY = withLevels ? 166 : 88;
    const int buttonWidth = 90;
    m_ok->setGeometry(kWidth - margin - buttonWidth, buttonY, buttonWidth, 30);
    m_lock->setGeometry(kWidth - margin - 2 * buttonWidth - 10, buttonY, buttonWidth, 30);
    setFixedSize(kWidth, withLevels ? kTallHeight : kShortHeight);
}

void LockDialog::lock()
{
    if (m_busy)
        return;
    m_busy = true;
    m_lock->setEnabled(false);
    m_levels->setEnabled(false);
    m_password->setEnabled(false);
    bool locked = false;
    const LockProcedures::Level level = selectedLevel();
    const QString password = m_password->text();
    const int address = m_link.addressBox();
    m_session.runProcedure([&] { locked = m_procedures.lock(level, password, address); });
    m_lock->setEnabled(true);
    m_levels->setEnabled(true);
    m_password->setEnabled(true);
    m_busy = false;
    if (!locked)
        return;
    QMessageBox box(QMessageBox::Information, LockProcedures::lockSucceededCaption(),
                    LockProcedures::lockSucceededText(), QMessageBox::Ok, this);
    box.exec();
    accept();
}
