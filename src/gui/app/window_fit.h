#pragma once

#include <QList>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace faultscope {

// Where a window's client rectangle may go inside `area` (a screen's free area, or the
// multi-document area's viewport): no larger than the area less the frame, and placed so that
// the whole frame, title bar included, lies inside it. `frame` holds the frame's width on each
// side of the client rectangle (the title bar is its top).
QRect FitIntoArea(const QRect& rect, const QRect& area, const QMargins& frame);

// The height of `window`'s title bar in its style, at least 16 pixels: the step windows are
// cascaded by and the room a frame takes above a window.
[[nodiscard]] int TitleBarHeight(const QWidget& window);

// The smallest record window that still shows its strips and time line, within `area`.
[[nodiscard]] QSize UsableMinimum(const QSize& area);

// The rectangles of `count` windows cascaded in `area` from its top left, one `step` down and
// right each, all of one size: as large as the area lets the cascade be, never below
// UsableMinimum; a window that would leave the area starts again at the top left.
[[nodiscard]] QList<QRect> CascadeRects(int count, const QRect& area, int step);

// Where a new child window goes in `area` so that it sits on no other window's corner: from
// `wanted`, one `step` down and right past every corner in `taken` it would cover (back to the
// area's top left once past the area's middle), cut to the area.
QRect CascadeRect(const QRect& wanted, const QRect& area, const QList<QPoint>& taken, int step);

}  // namespace faultscope
