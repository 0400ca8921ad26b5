#include "editor/widgets/ChannelStrip.h"

#include "editor/widgets/ValueBox.h"
#include "model/ValueCodes.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

ChannelStrip::ChannelStrip(Kind kind, QWidget* parent) : QWidget(parent)
{
    setFixedWidth(kWidth);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 2, 1, 2);
    layout->setSpacing(4);

    m_name = new QLabel(this);
    m_name->setAlignment(Qt::AlignCenter);
    QFont bold = m_name->font();
    bold.setBold(true);
    m_name->setFont(bold);
    layout->addWidget(m_name);

    if (kind == Kind::GainWithPolarity) {
        m_polarity = new QCheckBox(QStringLiteral("180`"), this);
        m_polarity->setFocusPolicy(Qt::StrongFocus);
        layout->addWidget(m_polarity, 0, Qt::AlignHCenter);
        connect(m_polarity, &QCheckBox::clicked, this, &ChannelStrip::polarityClicked);
    }

    m_fader = new QSlider(Qt::Vertical, this);
    m_fader->setRange(kLevelCodeMin, kLevelCodeMax);
    m_fader->setPageStep(10);
    m_fader->setSingleStep(1);
    m_fader->setTickInterval(50);
    m_fader->setTickPosition(QSlider::TicksBothSides);
    // The wheel gives the focus too, so that every operator gesture passes the focus rule.
    m_fader->setFocusPolicy(Qt::WheelFocus);
    m_fader->setMinimumHeight(220);
    layout->addWidget(m_fader, 1, Qt::AlignHCenter);
    connect(m_fader, &QSlider::valueChanged, this, &ChannelStrip::faderMoved);

    m_box = new ValueBox(this);
    m_box->setRange(-40.0, 6.0);
    m_box->setDecimals(1);
    m_box->setSingleStep(0.1);
    m_box->setSuffix(QStringLiteral("dB"));
    m_box->setFixedWidth(kWidth - 2);
    layout->addWidget(m_box);
    connect(m_box, &ValueBox::valueEntered, this, &ChannelStrip::valueEntered);

    m_mute = new QPushButton(QStringLiteral("Mute"), this);
    m_mute->setCheckable(true);
    m_mute->setFocusPolicy(Qt::StrongFocus);
    m_mute->setFixedWidth(kWidth - 6);
    m_mute->setStyleSheet(QStringLiteral("QPushButton:checked { background-color: #d81e1e; color: white; "
                                         "border: 1px solid #801010; border-radius: 3px; padding: 3px; }"));
    layout->addWidget(m_mute, 0, Qt::AlignHCenter);
    m_mute->setAccessibleName(QStringLiteral("Mute"));
    connect(m_mute, &QPushButton::clicked, this, &ChannelStrip::muteClicked);

    moveTo(kLevelCodeZeroDb);
}

void ChannelStrip::setName(const QString& name)
{
    m_name->setText(name);
    m_name->setAccessibleName(name);
}

void ChannelStrip::setPurpose(const QString& purpose)
{
    m_fader->setAccessibleName(purpose + QStringLiteral(" gain"));
    m_box->setAccessibleName(purpose + QStringLiteral(" gain value"));
    m_mute->setAccessibleName(purpose + QStringLiteral(" mute"));
    if (m_polarity)
        m_polarity->setAccessibleName(purpose + QStringLiteral(" polarity"));
}

void ChannelStrip::load(LevelWord word)
{
    moveTo(LevelCodeOf(word));
    const QSignalBlocker blocker(m_mute);
    m_mute->setChecked(IsMutedWord(word));
}

void ChannelStrip::loadPolarity(std::uint8_t polarity)
{
    if (!m_polarity)
        return;
    const QSignalBlocker blocker(m_polarity);
    m_polarity->setChecked(polarity == kPolarityInverted);
}

void ChannelStrip::moveTo(int position)
{
    {
        const QSignalBlocker blocker(m_fader);
        m_fader->setValue(position);
    }
    showPosition(m_fader->value());
}

void ChannelStrip::showPosition(int position)
{
    m_box->showValue(LevelDbOf(position));
}

int ChannelStrip::position() const
{
    return m_fader->value();
}

bool ChannelStrip::muteLit() const
{
    return m_mute->isChecked();
}

LevelWord ChannelStrip::word() const
{
    return MakeLevelWord(position(), muteLit());
}

bool ChannelStrip::ownsFocus() const
{
    return m_fader->hasFocus() || m_box->hasFocus() || m_mute->hasFocus()
        || (m_polarity && m_polarity->hasFocus());
}
