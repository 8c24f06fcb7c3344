#include "gui/dialogs/template_icons.h"

#include <QPainter>
#include <QPixmap>

namespace faultscope {
namespace {

constexpr int kSize = 16;

// A sheet of paper: the templates' common ground.
void DrawSheet(QPainter& p) {
    p.setPen(QPen(QColor(90, 100, 120), 1.0));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 1.5, 9, 12));
    p.setPen(QPen(QColor(150, 160, 180), 1.0));
    for (const double y : {4.5, 7.5, 10.5}) {
        p.drawLine(QPointF(3.5, y), QPointF(8.5, y));
    }
}

void DrawPlus(QPainter& p) {
    p.setPen(QPen(QColor(20, 140, 40), 2.5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(12, 7), QPointF(12, 15));
    p.drawLine(QPointF(8, 11), QPointF(16, 11));
}

void DrawCross(QPainter& p) {
    p.setPen(QPen(QColor(200, 30, 30), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9, 8), QPointF(15, 14));
    p.drawLine(QPointF(15, 8), QPointF(9, 14));
}

void DrawTick(QPainter& p) {
    p.setPen(QPen(QColor(0, 110, 200), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({{7.5, 10.5}, {10.5, 13.5}, {15.0, 6.5}}));
}

}  // namespace

QIcon MakeTemplateListIcon(TemplateListIcon icon) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    DrawSheet(p);
    switch (icon) {
        case TemplateListIcon::Add:
            DrawPlus(p);
            break;
        case TemplateListIcon::Delete:
            DrawCross(p);
            break;
        case TemplateListIcon::Apply:
            DrawTick(p);
            break;
    }
    p.end();
    return QIcon(pixmap);
}

}  // namespace faultscope
