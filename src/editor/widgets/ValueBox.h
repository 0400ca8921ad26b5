#pragma once
#include <QDoubleSpinBox>
#include <optional>

// A numeric value box with an operator event. valueEntered() is raised only by the operator:
// a typed value on Enter or when the box loses the focus, or a step by the arrow keys or the
// wheel. Loads and fader moves use showValue(), which raises nothing.
//
// The typed text is read as it stands (the unit text and blanks dropped) and handed over whole,
// even outside the box's range: the owner turns it into a position and clamps that, then shows
// the resulting value. Text that is not a number restores the shown value. Decimal point '.'.
class ValueBox : public QDoubleSpinBox {
    Q_OBJECT
public:
    explicit ValueBox(QWidget* parent = nullptr);

    void showValue(double value);
    void stepBy(int steps) override;

    static std::optional<double> parseTyped(const QString& text, const QString& suffix);

signals:
    void valueEntered(double value);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    QValidator::State validate(QString& input, int& pos) const override;

private:
    void commitTyped();

    bool m_edited = false;
};
