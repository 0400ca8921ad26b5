#include "cli/ProgressBar.h"

#include <algorithm>
#include <unistd.h>

ProgressBar::ProgressBar(QTextStream& err) : m_err(err), m_enabled(::isatty(STDERR_FILENO) == 1) {}

void ProgressBar::draw(int value)
{
    if (!m_enabled || m_muted)
        return;
    value = std::clamp(value, 0, 100);
    // A gauge back at 0 ends the operation's line.
    if (value == 0) {
        finish();
        return;
    }
    if (value == m_last)
        return;
    m_last = value;
    constexpr int kWidth = 40;
    const int filled = value * kWidth / 100;
    m_err << '\r' << '[' << QString(filled, QLatin1Char('#')) << QString(kWidth - filled, QLatin1Char(' ')) << "] "
          << QString::number(value).rightJustified(3) << " %";
    m_err.flush();
    m_drawn = true;
}

void ProgressBar::finish()
{
    if (!m_drawn)
        return;
    m_err << '\n';
    m_err.flush();
    m_drawn = false;
    m_last = -1;
}
