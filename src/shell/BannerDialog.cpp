#include "shell/BannerDialog.h"

#include "link/LinkSession.h"
#include "link/Session.h"
#include "shell/DialogPlacement.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

BannerDialog::BannerDialog(Session& session, BannerSender& sender, LinkSession& link, QWidget* parent)
    : QDialog(parent), m_session(session), m_sender(sender), m_link(link)
{
    setObjectName(QStringLiteral("Form25"));
    DialogPlacement::useMinimiseAndSystemButtons(this);

    // A fixed-pitch face, so that the spaces that centre a line on the unit's display show.
    const QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    auto makeLine = [&](const char* name, const char* accessible, const QString& preset) {
        auto* e = new QLineEdit(preset, this);
        e->setObjectName(QString::fromLatin1(name));
        e->setAccessibleName(QString::fromLatin1(accessible));
        e->setMaxLength(BannerSender::kMaxLineLength);
        e->setFont(mono);
        e->setMinimumWidth(QFontMetrics(mono).horizontalAdvance(QString(BannerSender::kMaxLineLength + 2, QLatin1Char('M'))));
        return e;
    };
    m_line1 = makeLine("EDIT1", "Banner line 1", BannerSender::defaultLine1());
    m_line2 = makeLine("edit2", "Banner line 2", BannerSender::defaultLine2());

    m_pb = new QProgressBar(this);
    m_pb->setObjectName(QStringLiteral("PB"));
    m_pb->setAccessibleName(QStringLiteral("Sending progress"));
    m_pb->setRange(0, 100);
    m_pb->setValue(0);
    m_pb->setTextVisible(false);
    m_pb->setFixedHeight(14);

    m_send = new QPushButton(this);
    m_send->setObjectName(QStringLiteral("dxButton1"));
    m_send->setAutoDefault(false);
    m_ok = new QPushButton(this);
    m_ok->setObjectName(QStringLiteral("fe4"));
    m_ok->setAutoDefault(false);
    m_send->setMinimumWidth(90);
    m_ok->setMinimumWidth(90);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    auto* l1 = new QLabel(QStringLiteral("Line 1"), this);
    auto* l2 = new QLabel(QStringLiteral("Line 2"), this);
    l1->setBuddy(m_line1);
    l2->setBuddy(m_line2);
    grid->addWidget(l1, 0, 0);
    grid->addWidget(m_line1, 0, 1);
    grid->addWidget(l2, 1, 0);
    grid->addWidget(m_line2, 1, 1);
    grid->addWidget(m_pb, 2, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_send);
    buttons->addWidget(m_ok);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(12);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(m_send, &QPushButton::clicked, this, [this] { send(); });
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    m_sender.setObserver(this);
    refreshTexts();
    setFixedSize(sizeHint());
}

void BannerDialog::refreshTexts()
{
    setWindowTitle(QStringLiteral("Banner"));
    m_send->setText(QStringLiteral("SEND"));
    m_send->setAccessibleName(QStringLiteral("SEND"));
    m_ok->setText(QStringLiteral("OK"));
    m_ok->setAccessibleName(QStringLiteral("OK"));
}

int BannerDialog::progress() const
{
    return m_pb->value();
}

void BannerDialog::bannerProgressChanged(int pb)
{
    m_pb->setValue(pb);
}

void BannerDialog::showEvent(QShowEvent* event)
{
    refreshTexts();
    QDialog::showEvent(event);
    DialogPlacement::centreOnScreen(this);
}

void BannerDialog::send()
{
    if (m_busy)
        return;
    m_busy = true;
    for (QWidget* w : std::initializer_list<QWidget*>{m_line1, m_line2, m_send})
        w->setEnabled(false);
    const QString line1 = m_line1->text();
    const QString line2 = m_line2->text();
    const int address = m_link.addressBox();
    m_session.runProcedure([&] { m_sender.send(line1, line2, address); });
    for (QWidget* w : std::initializer_list<QWidget*>{m_line1, m_line2, m_send})
        w->setEnabled(true);
    m_busy = false;
}
