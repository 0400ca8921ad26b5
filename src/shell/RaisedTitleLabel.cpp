#include "shell/RaisedTitleLabel.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

RaisedTitleLabel::RaisedTitleLabel(const QString& text, int pixelSize, QWidget* parent) : QWidget(parent), m_text(text)
{
    m_font = font();
    m_font.setPixelSize(pixelSize);
    m_font.setBold(true);
    setAccessibleName(text);
}

void RaisedTitleLabel::setText(const QString& text)
{
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

QSize RaisedTitleLabel::sizeHint() const
{
    const QFontMetrics fm(m_font);
    return {fm.horizontalAdvance(m_text) + 6, fm.height() + 4};
}

void RaisedTitleLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics fm(m_font);
    const qreal x = width() - 3 - fm.horizontalAdvance(m_text);
    const qreal y = (height() + fm.ascent() - fm.descent()) / 2.0;
    QPainterPath path;
    path.addText(QPointF(x, y), m_font, m_text);
    // The raised look: a dark copy offset down-right under a light face with a blue outline.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawPath(path.translated(1.5, 1.5));
    p.setPen(QPen(QColor(0x10, 0x3c, 0xc8), 1.2));
    p.setBrush(QColor(0xf4, 0xf7, 0xff));
    p.drawPath(path);
}
