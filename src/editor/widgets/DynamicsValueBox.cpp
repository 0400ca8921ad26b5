#include "editor/widgets/DynamicsValueBox.h"

void DynamicsValueBox::stepBy(int steps)
{
    if (steps != 0)
        emit stepRequested(steps);
}

bool DynamicsValueBox::ownsFocus() const
{
    return hasFocus() || m_losingFocus;
}

void DynamicsValueBox::focusOutEvent(QFocusEvent* event)
{
    // ValueBox commits what was typed on the way out; by then the focus is already elsewhere.
    m_losingFocus = true;
    ValueBox::focusOutEvent(event);
    m_losingFocus = false;
}
