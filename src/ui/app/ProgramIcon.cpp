#include "ui/app/ProgramIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace mrv {

void PaintProgramIcon(QPainter& p)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(QPen(QColor(30, 60, 120), 3));
    p.setBrush(QColor(235, 240, 250));
    p.drawRoundedRect(QRectF(6, 4, 52, 56), 6, 6);
    p.setBrush(QColor(30, 40, 50));
    p.drawRect(QRectF(14, 12, 36, 14));
    p.setPen(QColor(120, 255, 140));
    QFont f = p.font();
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(14, 12, 36, 14), Qt::AlignCenter, "kWh");
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 160, 20));
    QPainterPath bolt;
    bolt.moveTo(34, 30);
    bolt.lineTo(24, 46);
    bolt.lineTo(32, 46);
    bolt.lineTo(28, 58);
    bolt.lineTo(42, 40);
    bolt.lineTo(34, 40);
    bolt.closeSubpath();
    p.drawPath(bolt);
    p.restore();
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (const int side : {16, 32, 48, 64, 128}) {
        QPixmap pm(side, side);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.scale(double(side) / kProgramIconSide, double(side) / kProgramIconSide);
        PaintProgramIcon(p);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

} // namespace mrv
