#pragma once
#include <QWidget>

// ONLINELED: a small red pie gauge in the status bar. 100 = full (online), 0 = empty (offline);
// values in between fill that share of the circle clockwise from twelve o'clock.
class OnlineLed : public QWidget {
    Q_OBJECT
public:
    explicit OnlineLed(QWidget* parent = nullptr);

    int value() const { return m_value; }
    void setValue(int value);

    QSize sizeHint() const override { return {16, 16}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_value = 0;
};
