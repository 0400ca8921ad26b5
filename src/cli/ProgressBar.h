#pragma once
#include "link/BannerSender.h"
#include "link/SessionObserver.h"

#include <QTextStream>

// The progress of an operation that takes seconds, as a bar redrawn on one line of stderr
// ("[#########           ]  45 %"). Follows the session's progress gauge and the banner's bar;
// a gauge back at 0, or finish(), ends the line. Drawn only when stderr is a terminal, so that
// scripts' logs get the one-line messages alone. GUI thread only.
class ProgressBar : public SessionObserver, public BannerObserver {
public:
    explicit ProgressBar(QTextStream& err);
    ~ProgressBar() override { finish(); }

    void progressChanged(int value) override { draw(value); }
    void bannerProgressChanged(int pb) override { draw(pb); }
    void finish();
    // While muted nothing is drawn (the closing Disconnect's one-second animation).
    void setMuted(bool muted) { m_muted = muted; }

private:
    void draw(int value);
    QTextStream& m_err;
    int m_last = -1;
    bool m_drawn = false;
    bool m_enabled;
    bool m_muted = false;
};
