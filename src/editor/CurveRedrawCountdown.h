#pragma once

// The curve redraw countdown of the XOVER page: an edit that changes the curve sets it to a few
// ticks, and every tick of the page's 50 ms timer that finds it above 0 counts it down and
// redraws the curve once more, so the curve follows a slider being dragged without a redraw per
// change event. 0 when nothing is pending. GUI thread only.
class CurveRedrawCountdown {
public:
    static constexpr int kTickMs = 50;
    // After an ordinary change (a slider step, a slope choice).
    static constexpr int kShort = 2;
    // After a type, bypass, "Set 0 dB" or typed-Q change, and after "Shadow".
    static constexpr int kLong = 5;

    void set(int ticks) { m_ticks = ticks < 0 ? 0 : ticks; }
    int value() const { return m_ticks; }

    // One tick. A plot that is not on screen drops what is pending. True when the curve is to be
    // redrawn now.
    bool tick(bool plotOnScreen);

private:
    int m_ticks = 0;
};
