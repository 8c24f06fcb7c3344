#include "gui/app/window_fit.h"

#include <QMargins>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace faultscope {

QRect FitIntoArea(const QRect& rect, const QRect& area, const QMargins& frame) {
    const QRect inner = area.marginsRemoved(frame);
    const QSize size(std::min(rect.width(), std::max(inner.width(), 1)),
                     std::min(rect.height(), std::max(inner.height(), 1)));
    const int x = std::clamp(rect.left(), inner.left(), inner.right() - size.width() + 1);
    const int y = std::clamp(rect.top(), inner.top(), inner.bottom() - size.height() + 1);
    return QRect(QPoint(x, y), size);
}

QRect CascadeRect(const QRect& wanted, const QRect& area, const QList<QPoint>& taken, int step) {
    QPoint at = wanted.topLeft();
    const QPoint middle = area.center();
    // Each pass moves past one covered corner; more passes than windows cannot be needed.
    for (qsizetype pass = 0; pass <= taken.size() && taken.contains(at); ++pass) {
        at += QPoint(step, step);
        if (at.x() > middle.x() || at.y() > middle.y()) {
            at = area.topLeft();
        }
    }
    return QRect(at, wanted.size()).intersected(area);
}

int TitleBarHeight(const QWidget& window) {
    return std::max(window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window), 16);
}

QSize UsableMinimum(const QSize& area) {
    return QSize(400, 300).boundedTo(area);
}

QList<QRect> CascadeRects(int count, const QRect& area, int step) {
    const int shift = step * std::max(count - 1, 0);
    const QSize size = QSize(area.width() - shift, area.height() - shift)
                           .expandedTo(UsableMinimum(area.size()))
                           .boundedTo(area.size());
    QList<QRect> rects;
    QPoint at = area.topLeft();
    for (int i = 0; i < count; ++i) {
        if (!area.contains(QRect(at, size))) {
            at = area.topLeft();
        }
        rects.push_back(QRect(at, size));
        at += QPoint(step, step);
    }
    return rects;
}

}  // namespace faultscope
