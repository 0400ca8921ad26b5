#include "editor/widgets/MatrixPanel.h"

#include "model/ParameterStore.h"
#include "model/ValueCodes.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

MatrixPanel::MatrixPanel(const ParameterStore& store, QWidget* parent) : QFrame(parent), m_store(store)
{
    setFixedSize(330, kHeight);
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(QStringLiteral("MATRIX"));
    setToolTip(QStringLiteral("Matrix Control"));
}

void MatrixPanel::mouseMoveEvent(QMouseEvent* event)
{
    m_lastY = int(event->position().y());
    QFrame::mouseMoveEvent(event);
}

void MatrixPanel::mousePressEvent(QMouseEvent* event)
{
    m_lastY = int(event->position().y());
    m_pressed = event->button() == Qt::LeftButton;
    QFrame::mousePressEvent(event);
}

void MatrixPanel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    QFrame::mouseReleaseEvent(event);
    if (click)
        emit clicked(m_lastY);
}

void MatrixPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(rect(), QColor(0x1d, 0x2b, 0x3a));

    const int inputs = m_store.model.inputs;
    const int outputs = m_store.model.outputs;
    const int left = 6;
    const int cellW = (width() - 2 * left) / std::max(inputs, 1);
    const QColor open(0x3c, 0xd0, 0x70);
    const QColor muted(0x44, 0x55, 0x66);
    for (int o = 1; o <= outputs; ++o) {
        const int y = (o - 1) * kRowHeight;
        for (int i = 1; i <= inputs; ++i) {
            const LevelWord w = m_store.params.crosspoint[std::size_t(o)][std::size_t(i)];
            const QRect cell(left + (i - 1) * cellW + 2, y + 4, cellW - 4, kRowHeight - 8);
            p.fillRect(cell, IsMutedWord(w) ? muted : open);
        }
    }
    p.setPen(QColor(0x50, 0x66, 0x7a));
    for (int o = 0; o <= outputs; ++o)
        p.drawLine(0, o * kRowHeight, width(), o * kRowHeight);

    QFont f = font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 2.2);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    p.setFont(f);
    const QString caption = QStringLiteral("MATRIX");
    QRect box = p.fontMetrics().boundingRect(caption).adjusted(-14, -6, 14, 6);
    box.moveCenter(rect().center());
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 225));
    p.drawRoundedRect(box, 6, 6);
    p.setPen(QColor(0x1d, 0x2b, 0x3a));
    p.drawText(box, Qt::AlignCenter, caption);
}
