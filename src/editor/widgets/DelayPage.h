#pragma once
#include "editor/EditorContext.h"
#include "editor/widgets/DelayUnitsBox.h"

#include <QWidget>
#include <array>

class QLabel;
class QSlider;
class ValueBox;

// Page 3, "Delay": one row per output ("CH " + number) with a horizontal delay fader (positions
// 0..13650 = the delay code in 0.1 ms, page step 100) and a value box in the chosen unit, plus the
// units box. A change is stored as the output's delay and marks counter 96 + output.
class DelayPage : public QWidget {
    Q_OBJECT
public:
    explicit DelayPage(EditorContext& context, QWidget* parent = nullptr);

    void setCaptions();
    void setVisibleCount(int outputs);
    // Every fader and box from MatrixParameters; raises no edit (the caller holds the load scope).
    void load();
    // Fader maxima, unit texts and box limits of the chosen unit; every output shown again in it;
    // boxes white. Run on every unit change and every editor show.
    void refreshUnits();

    // Position of a value typed in `unit`: floor(v * 10 + 0.5) in ms, floor(v * 10 / 0.343 + 0.5)
    // in metres, floor(v * 10 / 1.126 + 0.5) in feet; clamped to 0..13650.
    static int positionOf(double value, DelayUnitsBox::Unit unit);
    // The value a position shows in `unit`.
    static double valueOf(int position, DelayUnitsBox::Unit unit);

    QSlider* fader(int output) const { return m_rows[std::size_t(output)].fader; }
    ValueBox* valueBox(int output) const { return m_rows[std::size_t(output)].box; }
    DelayUnitsBox* unitsBox() const { return m_units; }

private:
    struct Row {
        QWidget* row = nullptr;
        QLabel* name = nullptr;
        QSlider* fader = nullptr;
        ValueBox* box = nullptr;
    };
    void onFaderMoved(int output, int position);
    void onValueEntered(int output, double value);
    void showValueOf(int output);
    void repaintWhite();

    EditorContext& m_context;
    std::array<Row, 17> m_rows{};
    DelayUnitsBox* m_units;
};
