#include "shell/ShellArtwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {
const QColor kNavy(0x1f, 0x3a, 0x68);
const QColor kSteel(0x4a, 0x6f, 0xa5);
const QColor kGold(0xf2, 0xb1, 0x34);

QPixmap canvas(int w, int h)
{
    QPixmap pm(w, h);
    pm.fill(Qt::transparent);
    return pm;
}

void drawApplicationMark(QPainter& p, const QRectF& r)
{
    // A rounded navy tile with a 4 x 4 matrix of crosspoints, the diagonal lit.
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, kSteel);
    g.setColorAt(1, kNavy);
    p.setPen(QPen(kNavy.darker(140), r.width() / 32.0));
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(1, 1, -1, -1), r.width() * 0.18, r.width() * 0.18);
    const qreal cell = r.width() * 0.78 / 4;
    const QPointF origin = r.topLeft() + QPointF(r.width() * 0.11 + cell / 2, r.height() * 0.11 + cell / 2);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            const bool lit = i == j;
            p.setBrush(lit ? kGold : QColor(255, 255, 255, 90));
            const qreal d = cell * (lit ? 0.62 : 0.42);
            p.drawEllipse(origin + QPointF(j * cell, i * cell), d / 2, d / 2);
        }
    }
}

void drawPage(QPainter& p, bool withFold)
{
    QPainterPath page;
    page.moveTo(5, 2);
    page.lineTo(15, 2);
    page.lineTo(20, 7);
    page.lineTo(20, 22);
    page.lineTo(5, 22);
    page.closeSubpath();
    p.setPen(QPen(QColor(0x55, 0x5f, 0x6d), 1.2));
    p.setBrush(Qt::white);
    p.drawPath(page);
    if (withFold) {
        p.setBrush(QColor(0xdd, 0xe3, 0xea));
        QPainterPath fold;
        fold.moveTo(15, 2);
        fold.lineTo(15, 7);
        fold.lineTo(20, 7);
        fold.closeSubpath();
        p.drawPath(fold);
    }
}

void drawPlug(QPainter& p, bool joined)
{
    const QColor body = joined ? QColor(0x2e, 0x8b, 0x3d) : QColor(0xb8, 0x32, 0x2a);
    p.setPen(QPen(body.darker(150), 1.2));
    p.setBrush(body);
    // Left half: a plug with two pins.
    const qreal gap = joined ? 0 : 3;
    p.drawRoundedRect(QRectF(2, 8, 7, 8), 1.5, 1.5);
    p.drawRect(QRectF(9, 9.5, 3 - gap / 2, 1.6));
    p.drawRect(QRectF(9, 12.9, 3 - gap / 2, 1.6));
    // Right half: the socket.
    p.drawRoundedRect(QRectF(12 + gap, 7, 8, 10), 1.5, 1.5);
    p.setPen(QPen(body.darker(150), 1.6));
    p.drawLine(QPointF(0.5, 12), QPointF(2, 12));
    p.drawLine(QPointF(20, 12), QPointF(23.5, 12));
    if (!joined) {
        p.setPen(QPen(QColor(0xb8, 0x32, 0x2a), 1.6));
        p.drawLine(QPointF(11, 3), QPointF(13, 6));
        p.drawLine(QPointF(13, 18), QPointF(11, 21));
    }
}
} // namespace

QPixmap ShellArtwork::applicationPixmap(int size)
{
    QPixmap pm = canvas(size, size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    drawApplicationMark(p, QRectF(0, 0, size, size));
    return pm;
}

QIcon ShellArtwork::applicationIcon()
{
    QIcon icon;
    for (int s : {16, 24, 32, 48, 64})
        icon.addPixmap(applicationPixmap(s));
    return icon;
}

QIcon ShellArtwork::toolIcon(ToolIcon which)
{
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pm = canvas(24 * scale, 24 * scale);
        pm.setDevicePixelRatio(scale);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        switch (which) {
        case ToolIcon::New:
            drawPage(p, true);
            p.setPen(QPen(kGold.darker(120), 1.6));
            p.drawLine(QPointF(17, 14), QPointF(17, 22));
            p.drawLine(QPointF(13, 18), QPointF(21, 18));
            break;
        case ToolIcon::Open: {
            p.setPen(QPen(QColor(0x8a, 0x62, 0x12), 1.2));
            p.setBrush(QColor(0xe8, 0xb8, 0x4a));
            p.drawRoundedRect(QRectF(2, 5, 9, 4), 1, 1);
            p.drawRoundedRect(QRectF(2, 7, 19, 13), 1.5, 1.5);
            p.setBrush(QColor(0xf6, 0xd2, 0x7a));
            QPainterPath flap;
            flap.moveTo(5, 11);
            flap.lineTo(23, 11);
            flap.lineTo(20, 20);
            flap.lineTo(2, 20);
            flap.closeSubpath();
            p.drawPath(flap);
            break;
        }
        case ToolIcon::Save:
            p.setPen(QPen(kNavy.darker(130), 1.2));
            p.setBrush(kSteel);
            p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(7, 3, 10, 6));
            p.setBrush(QColor(0xdd, 0xe3, 0xea));
            p.drawRect(QRectF(6, 13, 12, 8));
            p.setBrush(kNavy);
            p.drawRect(QRectF(13, 4, 2.5, 4));
            break;
        case ToolIcon::Connect:
            drawPlug(p, true);
            break;
        case ToolIcon::Disconnect:
            drawPlug(p, false);
            break;
        case ToolIcon::Memory:
            p.setPen(QPen(QColor(0x33, 0x33, 0x33), 1.2));
            p.setBrush(QColor(0x3b, 0x44, 0x50));
            p.drawRoundedRect(QRectF(5, 5, 14, 14), 1.5, 1.5);
            p.setPen(QPen(QColor(0xb0, 0x90, 0x40), 1.4));
            for (int i = 0; i < 4; ++i) {
                const qreal y = 7.5 + i * 3;
                p.drawLine(QPointF(1.5, y), QPointF(5, y));
                p.drawLine(QPointF(19, y), QPointF(22.5, y));
            }
            p.setPen(Qt::NoPen);
            p.setBrush(kGold);
            p.drawEllipse(QPointF(8.5, 8.5), 1.3, 1.3);
            break;
        case ToolIcon::About:
            p.setPen(QPen(kNavy.darker(130), 1.2));
            p.setBrush(kSteel);
            p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(12, 7.5), 1.7, 1.7);
            p.drawRoundedRect(QRectF(10.5, 10.5, 3, 8), 1, 1);
            break;
        case ToolIcon::Exit:
            p.setPen(QPen(QColor(0x55, 0x5f, 0x6d), 1.2));
            p.setBrush(QColor(0xdd, 0xe3, 0xea));
            p.drawRect(QRectF(3, 2.5, 11, 19));
            p.setPen(QPen(QColor(0xb8, 0x32, 0x2a), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawLine(QPointF(9, 12), QPointF(21, 12));
            p.drawLine(QPointF(17, 8), QPointF(21, 12));
            p.drawLine(QPointF(17, 16), QPointF(21, 12));
            break;
        }
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

QPixmap ShellArtwork::lockPicture(int size)
{
    QPixmap pm = canvas(size, size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    // Shackle.
    p.setPen(QPen(QColor(0x6b, 0x72, 0x7c), 7, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath shackle;
    shackle.moveTo(19, 30);
    shackle.lineTo(19, 20);
    shackle.arcTo(QRectF(19, 6, 26, 28), 180, -180);
    shackle.lineTo(45, 30);
    p.drawPath(shackle);
    // Body.
    QLinearGradient g(0, 28, 0, 60);
    g.setColorAt(0, QColor(0xf4, 0xc4, 0x4e));
    g.setColorAt(1, QColor(0xc8, 0x8a, 0x12));
    p.setPen(QPen(QColor(0x8a, 0x5c, 0x08), 2));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(10, 28, 44, 32), 5, 5);
    // Keyhole.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x4a, 0x32, 0x06));
    p.drawEllipse(QPointF(32, 40), 4.5, 4.5);
    QPainterPath slot;
    slot.moveTo(30, 42);
    slot.lineTo(34, 42);
    slot.lineTo(35.5, 52);
    slot.lineTo(28.5, 52);
    slot.closeSubpath();
    p.drawPath(slot);
    return pm;
}

QPixmap ShellArtwork::aboutBanner()
{
    const int w = 419, h = 96;
    QPixmap pm(w, h);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, w, h);
    g.setColorAt(0, kNavy.darker(120));
    g.setColorAt(1, kSteel);
    p.fillRect(pm.rect(), g);
    // A row of faders, as on the unit's front panel.
    const int levels[10] = {62, 48, 70, 55, 40, 66, 74, 52, 44, 60};
    for (int i = 0; i < 10; ++i) {
        const qreal x = 250 + i * 16;
        p.setPen(QPen(QColor(255, 255, 255, 70), 2));
        p.drawLine(QPointF(x, 14), QPointF(x, 82));
        p.setPen(Qt::NoPen);
        p.setBrush(i % 4 == 0 ? kGold : QColor(0xe6, 0xec, 0xf3));
        p.drawRoundedRect(QRectF(x - 6, 88 - levels[i], 12, 7), 2, 2);
    }
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(32);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(16, 12, 190, 44), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("TOLVAN16"));
    f.setBold(false);
    f.setPixelSize(15);
    p.setFont(f);
    p.setPen(QColor(0xe6, 0xec, 0xf3));
    p.drawText(QRectF(18, 54, 190, 28), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("DSP matrix processor"));
    return pm;
}
