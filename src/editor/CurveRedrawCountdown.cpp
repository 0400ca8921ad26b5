#include "editor/CurveRedrawCountdown.h"

bool CurveRedrawCountdown::tick(bool plotOnScreen)
{
    if (!plotOnScreen) {
        m_ticks = 0;
        return false;
    }
    if (m_ticks <= 0)
        return false;
    --m_ticks;
    return true;
}
