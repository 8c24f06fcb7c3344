#include "gui/app/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>
#include <numbers>

namespace faultscope {
namespace {

constexpr int kSize = 24;
const QColor kInk(40, 60, 100);
const QColor kAccent(0, 110, 200);

void DrawOpen(QPainter& p) {
    p.setPen(QPen(QColor(150, 110, 20), 1.2));
    p.setBrush(QColor(250, 205, 90));
    QPainterPath back;
    back.moveTo(2.5, 5.5);
    back.lineTo(9.5, 5.5);
    back.lineTo(11.5, 7.5);
    back.lineTo(20.5, 7.5);
    back.lineTo(20.5, 19.5);
    back.lineTo(2.5, 19.5);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(QColor(255, 225, 130));
    p.drawPolygon(QPolygonF({{2.5, 19.5}, {6.0, 10.5}, {23.0, 10.5}, {20.5, 19.5}}));
}

void DrawMagnifier(QPainter& p, QChar sign) {
    p.setPen(QPen(kInk, 2.0));
    p.setBrush(QColor(225, 240, 255));
    p.drawEllipse(QPointF(10, 10), 6.5, 6.5);
    p.setPen(QPen(kInk, 3.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(15, 15), QPointF(21, 21));
    p.setPen(QPen(kAccent, 2.0));
    if (sign == '+' || sign == '-') {
        p.drawLine(QPointF(6.5, 10), QPointF(13.5, 10));
    }
    if (sign == '+') {
        p.drawLine(QPointF(10, 6.5), QPointF(10, 13.5));
    }
    if (sign == '=') {
        p.setPen(QPen(kAccent, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(6.5, 6.5, 7, 7));
    }
}

void DrawWave(QPainter& p) {
    p.setPen(QPen(QColor(160, 160, 160), 1.0));
    p.drawLine(QPointF(2, 12), QPointF(22, 12));
    QPainterPath wave;
    for (int i = 0; i <= 40; ++i) {
        const double x = 2 + i * 0.5;
        const double y = 12 - 7 * std::sin(i / 40.0 * 2 * std::numbers::pi);
        i == 0 ? wave.moveTo(x, y) : wave.lineTo(x, y);
    }
    p.setPen(QPen(QColor(200, 60, 30), 2.0));
    p.drawPath(wave);
}

void DrawPulses(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 120, 120));
    p.drawRect(QRectF(5, 4, 8, 6));
    p.drawRect(QRectF(9, 14, 11, 6));
    p.setPen(QPen(kInk, 1.0));
    p.drawLine(QPointF(2, 10.5), QPointF(22, 10.5));
    p.drawLine(QPointF(2, 20.5), QPointF(22, 20.5));
}

void DrawPrinter(QPainter& p) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6.5, 2.5, 11, 8));
    p.setBrush(QColor(190, 200, 215));
    p.drawRoundedRect(QRectF(2.5, 9.5, 19, 8), 1.5, 1.5);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6.5, 14.5, 11, 7));
    p.setPen(QPen(kAccent, 1.0));
    p.drawLine(QPointF(8.5, 17), QPointF(15.5, 17));
    p.drawLine(QPointF(8.5, 19), QPointF(13.5, 19));
}

// A new curve made from others: a wave with a plus sign.
void DrawCustomSeries(QPainter& p) {
    QPainterPath wave;
    for (int i = 0; i <= 32; ++i) {
        const double x = 2 + i * 0.5;
        const double y = 14 - 6 * std::sin(i / 32.0 * 2 * std::numbers::pi);
        i == 0 ? wave.moveTo(x, y) : wave.lineTo(x, y);
    }
    p.setPen(QPen(kAccent, 2.0));
    p.drawPath(wave);
    p.setPen(QPen(QColor(30, 140, 60), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(18, 3), QPointF(18, 11));
    p.drawLine(QPointF(14, 7), QPointF(22, 7));
}

// Three phasors from a centre inside a circle.
void DrawPhasors(QPainter& p) {
    p.setPen(QPen(QColor(150, 150, 150), 1.0));
    p.setBrush(QColor(255, 250, 200));
    p.drawEllipse(QPointF(12, 12), 10, 10);
    const QColor colors[] = {QColor(220, 180, 0), QColor(0, 140, 0), QColor(210, 30, 30)};
    for (int i = 0; i < 3; ++i) {
        const double a = (90.0 - 120.0 * i) * std::numbers::pi / 180.0;
        p.setPen(QPen(colors[i], 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 12), QPointF(12 + 8.5 * std::cos(a), 12 - 8.5 * std::sin(a)));
    }
}

// Strips of different heights, one of them crossed out: which channels show, and how high.
void DrawChannelView(QPainter& p) {
    p.setPen(QPen(kInk, 1.0));
    p.setBrush(QColor(190, 200, 215));
    p.drawRect(QRectF(3.5, 2.5, 17, 6));
    p.drawRect(QRectF(3.5, 11.5, 17, 3));
    p.drawRect(QRectF(3.5, 17.5, 17, 4));
    p.setPen(QPen(QColor(200, 60, 30), 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(2, 19.5), QPointF(22, 19.5));
}

// Two vertical lines with the bar between them.
void DrawTimeLabel(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 150, 130));
    p.drawRect(QRectF(7, 9, 10, 6));
    p.setPen(QPen(kInk, 2.0));
    p.drawLine(QPointF(6, 3), QPointF(6, 21));
    p.drawLine(QPointF(18, 3), QPointF(18, 21));
}

// A list of rows, each with a step up or down: the state changes in time order.
void DrawEvents(QPainter& p) {
    p.setPen(QPen(kInk, 1.0));
    p.setBrush(QColor(245, 248, 252));
    p.drawRect(QRectF(2.5, 2.5, 19, 19));
    for (int row = 0; row < 3; ++row) {
        const double y = 7.5 + row * 5.0;
        const bool up = row != 1;
        p.setPen(QPen(up ? QColor(0, 140, 0) : QColor(210, 30, 30), 1.6));
        p.drawPolyline(QPolygonF({{5, up ? y + 1.5 : y - 1.5},
                                  {8, up ? y + 1.5 : y - 1.5},
                                  {8, up ? y - 1.5 : y + 1.5},
                                  {10, up ? y - 1.5 : y + 1.5}}));
        p.setPen(QPen(QColor(120, 130, 150), 1.4));
        p.drawLine(QPointF(12, y), QPointF(19, y));
    }
}

// An arrow bending back to the left: the range shown before.
void DrawBack(QPainter& p) {
    p.setPen(QPen(kAccent, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(7, 9);
    path.lineTo(15, 9);
    path.cubicTo(QPointF(22, 9), QPointF(22, 20), QPointF(15, 20));
    path.lineTo(10, 20);
    p.drawPath(path);
    p.setBrush(kAccent);
    p.setPen(QPen(kAccent, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolygon(QPolygonF({{2.5, 9}, {8.5, 4}, {8.5, 14}}));
}

}  // namespace

QIcon MakeIcon(CommandIcon icon) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (icon) {
        case CommandIcon::Open:
            DrawOpen(p);
            break;
        case CommandIcon::ZoomIn:
            DrawMagnifier(p, '+');
            break;
        case CommandIcon::ZoomOut:
            DrawMagnifier(p, '-');
            break;
        case CommandIcon::ZoomReset:
            DrawMagnifier(p, '=');
            break;
        case CommandIcon::AnalogView:
            DrawWave(p);
            break;
        case CommandIcon::DiscreteView:
            DrawPulses(p);
            break;
        case CommandIcon::ChannelView:
            DrawChannelView(p);
            break;
        case CommandIcon::Print:
            DrawPrinter(p);
            break;
        case CommandIcon::CustomSeries:
            DrawCustomSeries(p);
            break;
        case CommandIcon::PhasorDiagramPanel:
            DrawPhasors(p);
            break;
        case CommandIcon::TimeLabel:
            DrawTimeLabel(p);
            break;
        case CommandIcon::Events:
            DrawEvents(p);
            break;
        case CommandIcon::Back:
            DrawBack(p);
            break;
    }
    return QIcon(pixmap);
}

}  // namespace faultscope
