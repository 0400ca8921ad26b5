#include "editor/widgets/GainStripsPage.h"

#include "editor/widgets/FocusRule.h"
#include "editor/widgets/HighlightColour.h"
#include "editor/widgets/ValueBox.h"
#include "link/Session.h"
#include "model/ValueCodes.h"

#include <QHBoxLayout>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

GainStripsPage::GainStripsPage(EditorContext& context, ChannelStrip::Kind kind, QWidget* parent)
    : QWidget(parent), m_context(context)
{
    m_pageLayout = new QVBoxLayout(this);
    m_pageLayout->setContentsMargins(8, 8, 8, 8);
    m_stripsLayout = new QHBoxLayout;
    m_stripsLayout->setSpacing(0);
    m_stripsLayout->addStretch(1);
    for (int c = 1; c <= 16; ++c) {
        auto* s = new ChannelStrip(kind, this);
        m_strips[std::size_t(c)] = s;
        m_stripsLayout->addWidget(s);
        connect(s, &ChannelStrip::faderMoved, this, [this, c](int p) { onFaderMoved(c, p); });
        connect(s, &ChannelStrip::valueEntered, this, [this, c](double db) { onValueEntered(c, db); });
        connect(s, &ChannelStrip::muteClicked, this, [this, c] { onMuteClicked(c); });
    }
    m_stripsLayout->addStretch(1);
    m_pageLayout->addLayout(m_stripsLayout, 1);
}

ChannelStrip* GainStripsPage::strip(int channel) const
{
    if (channel < 1 || channel > 16)
        return nullptr;
    return m_strips[std::size_t(channel)];
}

void GainStripsPage::setVisibleCount(int channels)
{
    m_visible = std::clamp(channels, 0, 16);
    for (int c = 1; c <= 16; ++c)
        m_strips[std::size_t(c)]->setVisible(c <= m_visible);
}

void GainStripsPage::repaintWhite()
{
    for (int c = 1; c <= 16; ++c)
        HighlightColour::paintWhite(m_strips[std::size_t(c)]->valueBox());
}

void GainStripsPage::onFaderMoved(int channel, int position)
{
    ChannelStrip& s = *m_strips[std::size_t(channel)];
    repaintWhite();
    s.showPosition(position);
    HighlightColour::paintAqua(s.valueBox());
    if (m_context.session.editorOnScreen && FocusRule::allows(s.fader()))
        commit(channel, s, Cause::Fader);
}

void GainStripsPage::onValueEntered(int channel, double db)
{
    ChannelStrip& s = *m_strips[std::size_t(channel)];
    s.moveTo(std::clamp(LevelCodeFromDb(db), kLevelCodeMin, kLevelCodeMax));
    repaintWhite();
    HighlightColour::paintAqua(s.valueBox());
    commit(channel, s, Cause::Typed);
}

void GainStripsPage::onMuteClicked(int channel)
{
    commit(channel, *m_strips[std::size_t(channel)], Cause::Mute);
}
