#include "shell/ConnectDialog.h"

#include "link/LinkSession.h"
#include "link/Session.h"
#include "shell/DialogPlacement.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QVBoxLayout>

ConnectDialog::ConnectDialog(Session& session, LinkSession& link, QWidget* parent)
    : QDialog(parent), m_session(session), m_link(link)
{
    setObjectName(QStringLiteral("Form14"));
    DialogPlacement::useMinimiseAndSystemButtons(this);

    m_group = new QGroupBox(this);
    m_group->setObjectName(QStringLiteral("GroupBox1"));
    m_addressLabel = new QLabel(m_group);
    m_addressLabel->setObjectName(QStringLiteral("Label11"));
    m_address = new QSpinBox(m_group);
    m_address->setObjectName(QStringLiteral("trackbar4"));
    m_address->setRange(1, 255);
    m_address->setValue(1);
    m_address->setMinimumWidth(110);
    m_address->setAccessibleName(QStringLiteral("Address"));
    m_addressLabel->setBuddy(m_address);

    auto makeButton = [this](const char* name) {
        auto* b = new QPushButton(m_group);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->setMinimumWidth(112);
        return b;
    };
    m_connect = makeButton("dxButton1");
    m_disconnect = makeButton("dxButton2");
    m_quick = makeButton("dxButton4");
    m_cancel = makeButton("dxButton5");
    m_connect->setDefault(true);

    auto* grid = new QGridLayout(m_group);
    grid->setContentsMargins(16, 16, 16, 18);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(10);
    grid->addWidget(m_addressLabel, 0, 0);
    grid->addWidget(m_address, 1, 0);
    grid->addWidget(m_connect, 0, 1);
    grid->addWidget(m_disconnect, 0, 2);
    grid->addWidget(m_quick, 1, 1);
    grid->addWidget(m_cancel, 1, 2);
    grid->setColumnStretch(0, 1);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins((kWidth - kGroupWidth) / 2, 12, kWidth - kGroupWidth - (kWidth - kGroupWidth) / 2, 12);
    outer->addWidget(m_group);

    connect(m_address, &QSpinBox::valueChanged, this, [this](int v) { m_link.setAddressBox(v); });
    m_link.setAddressBox(m_address->value());

    connect(m_connect, &QPushButton::clicked, this, [this] { runBusy([this] { m_link.connect(); }); });
    connect(m_quick, &QPushButton::clicked, this, [this] { runBusy([this] { m_link.quickConnect(); }); });
    connect(m_disconnect, &QPushButton::clicked, this, [this] {
        runBusy([this] { m_link.disconnect(); });
        reject();
    });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    m_bannerKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::ALT | Qt::Key_0), this);
    m_bannerKey->setContext(Qt::WindowShortcut);
    connect(m_bannerKey, &QShortcut::activated, this, [this] {
        if (isVisible())
            emit bannerRequested();
    });

    refreshTexts();
    setFixedSize(kWidth, sizeHint().height());
}

void ConnectDialog::refreshTexts()
{
    setWindowTitle(QStringLiteral("Connect"));
    m_group->setTitle(QString());
    m_addressLabel->setText(QStringLiteral("Address"));
    const std::pair<QPushButton*, const char*> captions[] = {
        {m_quick, "Quick Connect"}, {m_cancel, "Cancel"}, {m_connect, "Connect"}, {m_disconnect, "Disconnect"}};
    for (const auto& [button, text] : captions) {
        button->setText(QString::fromLatin1(text));
        button->setAccessibleName(QString::fromLatin1(text));
    }
}

void ConnectDialog::setConnectButtonsEnabled(bool enabled)
{
    m_linkButtonsEnabled = enabled;
    updateEnabled();
}

int ConnectDialog::address() const
{
    return m_address->value();
}

void ConnectDialog::showEvent(QShowEvent* event)
{
    refreshTexts();
    setFixedWidth(kWidth);
    m_group->setFixedWidth(kGroupWidth);
    QDialog::showEvent(event);
    DialogPlacement::centreOnScreen(this);
}

void ConnectDialog::runBusy(const std::function<void()>& procedure)
{
    if (m_busy)
        return;
    m_busy = true;
    updateEnabled();
    m_session.runProcedure(procedure);
    m_busy = false;
    updateEnabled();
}

void ConnectDialog::updateEnabled()
{
    m_connect->setEnabled(m_linkButtonsEnabled && !m_busy);
    m_disconnect->setEnabled(m_linkButtonsEnabled && !m_busy);
    m_quick->setEnabled(!m_busy);
    m_address->setEnabled(!m_busy);
}
