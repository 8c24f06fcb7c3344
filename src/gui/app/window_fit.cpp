#include "gui/app/window_fit.h"

#include <QMargins>
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

}  // namespace faultscope
