#pragma once
#include <QColor>

class QWidget;

// The editor's mark of "changed last": the value box of the channel the operator changed last is
// painted aqua; every change first paints all value boxes of its page white again.
class HighlightColour {
public:
    static inline const QColor kAqua{0, 255, 255};
    static inline const QColor kWhite{255, 255, 255};

    static void paintWhite(QWidget* box) { paint(box, kWhite); }
    static void paintAqua(QWidget* box) { paint(box, kAqua); }
    static bool isAqua(const QWidget* box);

private:
    static void paint(QWidget* box, const QColor& colour);
};
