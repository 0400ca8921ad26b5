#include "editor/widgets/HighlightColour.h"

#include <QPalette>
#include <QWidget>

void HighlightColour::paint(QWidget* box, const QColor& colour)
{
    if (!box)
        return;
    QPalette palette = box->palette();
    if (palette.color(QPalette::Base) == colour)
        return;
    palette.setColor(QPalette::Base, colour);
    box->setPalette(palette);
}

bool HighlightColour::isAqua(const QWidget* box)
{
    return box && box->palette().color(QPalette::Base) == kAqua;
}
