#pragma once

#include <QList>
#include <QMargins>
#include <QPoint>
#include <QRect>

namespace faultscope {

// Where a window's client rectangle may go inside `area` (a screen's free area, or the
// multi-document area's viewport): no larger than the area less the frame, and placed so that
// the whole frame, title bar included, lies inside it. `frame` holds the frame's width on each
// side of the client rectangle (the title bar is its top).
QRect FitIntoArea(const QRect& rect, const QRect& area, const QMargins& frame);

// Where a new child window goes in `area` so that it sits on no other window's corner: from
// `wanted`, one `step` down and right past every corner in `taken` it would cover (back to the
// area's top left once past the area's middle), cut to the area.
QRect CascadeRect(const QRect& wanted, const QRect& area, const QList<QPoint>& taken, int step);

}  // namespace faultscope
