#include "editor/widgets/OutputGainPage.h"

#include "editor/LoadWithoutSending.h"
#include "editor/MatrixEdits.h"
#include "editor/widgets/FocusRule.h"
#include "link/Session.h"
#include "model/ValueCodes.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

OutputGainPage::OutputGainPage(EditorContext& context, QWidget* parent)
    : GainStripsPage(context, ChannelStrip::Kind::GainWithPolarity, parent)
{
    setAccessibleName(QStringLiteral("Output Gain"));
    for (int o = 1; o <= 16; ++o)
        connect(strip(o), &ChannelStrip::polarityClicked, this, [this, o](bool t) { onPolarityClicked(o, t); });

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    m_copy = new QPushButton(this);
    m_copy->setMinimumWidth(110);
    row->addWidget(m_copy);
    pageLayout()->addLayout(row);
    connect(m_copy, &QPushButton::clicked, this, &OutputGainPage::outputCopyRequested);
    setCaptions();
}

void OutputGainPage::setCaptions()
{
    for (int o = 1; o <= 16; ++o) {
        strip(o)->setName(QStringLiteral("CH %1").arg(o));
        strip(o)->setPurpose(QStringLiteral("Output %1").arg(o));
    }
    m_copy->setText(QStringLiteral("Output Copy"));
    m_copy->setAccessibleName(QStringLiteral("Output Copy"));
}

void OutputGainPage::load()
{
    LoadWithoutSending scope(m_context.session, m_context.deferred);
    const MatrixParameters& p = m_context.session.store.params;
    for (int o = 1; o <= 16; ++o) {
        strip(o)->load(p.outputGain[std::size_t(o)]);
        strip(o)->loadPolarity(p.polarity[std::size_t(o)]);
    }
}

void OutputGainPage::commit(int channel, ChannelStrip& strip, Cause)
{
    m_context.edits.outputGain(channel, strip.word());
}

void OutputGainPage::onPolarityClicked(int output, bool ticked)
{
    if (!m_context.session.editorOnScreen || !FocusRule::allows(strip(output)->polarityBox()))
        return;
    m_context.edits.polarity(output, ticked ? kPolarityInverted : kPolarityNormal);
}
