#pragma once
#include <QGroupBox>

class QRadioButton;

// The delay page's units box "Units" with "Millisecond" (chosen at first), "Metres" and "Feet".
class DelayUnitsBox : public QGroupBox {
    Q_OBJECT
public:
    enum Unit : int { Millisecond = 0, Metres = 1, Feet = 2 };

    explicit DelayUnitsBox(QWidget* parent = nullptr);

    void setCaptions();
    Unit unit() const { return m_unit; }
    QRadioButton* button(Unit unit) const { return m_buttons[unit]; }

signals:
    void unitChanged(DelayUnitsBox::Unit unit);

private:
    QRadioButton* m_buttons[3];
    Unit m_unit = Millisecond;
};
