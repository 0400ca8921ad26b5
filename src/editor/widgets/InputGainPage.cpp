#include "editor/widgets/InputGainPage.h"

#include "editor/MatrixEdits.h"
#include "link/Session.h"

InputGainPage::InputGainPage(EditorContext& context, QWidget* parent)
    : GainStripsPage(context, ChannelStrip::Kind::Gain, parent)
{
    setAccessibleName(QStringLiteral("Input Gain"));
    setCaptions();
}

void InputGainPage::setCaptions()
{
    for (int i = 1; i <= 16; ++i) {
        strip(i)->setName(QStringLiteral("In%1").arg(i));
        strip(i)->setPurpose(QStringLiteral("Input %1").arg(i));
    }
}

void InputGainPage::load()
{
    const MatrixParameters& p = m_context.session.store.params;
    for (int i = 1; i <= 16; ++i)
        strip(i)->load(p.inputGain[std::size_t(i)]);
}

void InputGainPage::commit(int channel, ChannelStrip& strip, Cause)
{
    m_context.edits.inputGain(channel, strip.word());
}
