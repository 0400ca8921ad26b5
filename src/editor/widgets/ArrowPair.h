#pragma once
#include <QWidget>

class QToolButton;

// A pair of up/down arrows whose position is a table code (minimum..maximum), as beside the
// value boxes, texts and lists of the Comp/Limit page. clicked() is raised only for an operator
// click (or step()) that moves the position; setPosition() is for loads and raises nothing.
// Holding an arrow repeats it.
class ArrowPair : public QWidget {
    Q_OBJECT
public:
    ArrowPair(int minimum, int maximum, QWidget* parent = nullptr);

    int position() const { return m_position; }
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    // Silent; clamped into the range.
    void setPosition(int position);
    // As `steps` clicks on the up (positive) or down arrow: moves within the range and raises
    // clicked() when the position changed.
    void step(int steps);

    // Accessible names "<purpose> up" and "<purpose> down"; the pair itself "<purpose> arrows".
    void setPurpose(const QString& purpose);

    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

signals:
    void clicked(int position);

private:
    QToolButton* m_up;
    QToolButton* m_down;
    int m_minimum;
    int m_maximum;
    int m_position;
};
