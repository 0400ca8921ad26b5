#include "shell/OnlineLed.h"

#include <QPainter>

OnlineLed::OnlineLed(QWidget* parent) : QWidget(parent)
{
    setFixedSize(16, 16);
    setAccessibleName(QStringLiteral("Online indicator"));
    setAccessibleDescription(QStringLiteral("0 %"));
}

void OnlineLed::setValue(int value)
{
    value = std::clamp(value, 0, 100);
    if (value == m_value)
        return;
    m_value = value;
    setAccessibleDescription(QStringLiteral("%1 %").arg(value));
    update();
}

void OnlineLed::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf2, 0xf2, 0xf2));
    p.drawEllipse(r);
    if (m_value > 0) {
        p.setBrush(QColor(0xe0, 0x1b, 0x1b));
        if (m_value >= 100)
            p.drawEllipse(r);
        else
            p.drawPie(r, 90 * 16, -m_value * 360 * 16 / 100);
    }
    p.setPen(QPen(QColor(0x70, 0x10, 0x10), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(r);
}
