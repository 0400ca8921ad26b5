#include "editor/widgets/FocusRule.h"

#include <QWidget>

bool FocusRule::allows(const QWidget* control)
{
    return control && control->hasFocus();
}
