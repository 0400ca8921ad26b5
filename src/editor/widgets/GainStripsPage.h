#pragma once
#include "editor/EditorContext.h"
#include "editor/widgets/ChannelStrip.h"

#include <QWidget>
#include <array>

class QHBoxLayout;
class QVBoxLayout;

// Common control pattern of the editor pages made of gain strips (Input Gain, Matrix Control,
// Output Gain): sixteen strips of which the configuration's channels are visible.
//
//  - fader moved: all value boxes of the page white, this channel's box shows the value in aqua;
//    then, only while the editor is on screen and the fader has the focus, the strip's LevelWord
//    is committed;
//  - value typed: position floor(dB * 10 + 600 + 0.5) (clamped to the fader's range), fader and
//    box there, committed;
//  - mute clicked: the LevelWord of switch and fader committed.
// What "committed" means (which parameter, which mark) is the page's commit().
class GainStripsPage : public QWidget {
    Q_OBJECT
public:
    GainStripsPage(EditorContext& context, ChannelStrip::Kind kind, QWidget* parent = nullptr);

    ChannelStrip* strip(int channel) const; // 1..16
    void setVisibleCount(int channels);
    int visibleCount() const { return m_visible; }
    void repaintWhite();

protected:
    enum class Cause { Fader, Typed, Mute };
    virtual void commit(int channel, ChannelStrip& strip, Cause cause) = 0;

    QVBoxLayout* pageLayout() const { return m_pageLayout; }
    QHBoxLayout* stripsLayout() const { return m_stripsLayout; }

    EditorContext& m_context;

private:
    void onFaderMoved(int channel, int position);
    void onValueEntered(int channel, double db);
    void onMuteClicked(int channel);

    QVBoxLayout* m_pageLayout;
    QHBoxLayout* m_stripsLayout;
    std::array<ChannelStrip*, 17> m_strips{};
    int m_visible = 16;
};
