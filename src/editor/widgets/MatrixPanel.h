#pragma once
#include <QFrame>

struct ParameterStore;

// The main window's "MATRIX" panel: a grid of the configuration's crosspoints (one row of 25
// pixels per output from the top, one column per input; a cell is lit while the crosspoint is
// open) under the caption "MATRIX". It remembers the last mouse position over it; a click reports
// that position's distance from the top, which the overview turns into the output to open.
class MatrixPanel : public QFrame {
    Q_OBJECT
public:
    static constexpr int kHeight = 400;
    static constexpr int kRowHeight = kHeight / 16;

    explicit MatrixPanel(const ParameterStore& store, QWidget* parent = nullptr);

    // Last mouse position over the panel, in pixels from its top.
    int lastY() const { return m_lastY; }

signals:
    void clicked(int lastY);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const ParameterStore& m_store;
    int m_lastY = 0;
    bool m_pressed = false;
};
