#pragma once

#include <QFont>
#include <QRect>
#include <vector>

#include "core/layout/page_layout.h"
#include "gui/print/print_source.h"

class QPainter;
class QPaintDevice;

namespace faultscope {

// Tahoma of 11 pixels' character height on a 96 dpi screen (the system's sans-serif font where
// Tahoma is missing).
[[nodiscard]] QFont DefaultCaptionFont();

// The caption font sized in pixels of a page of `dpi` dots per inch, so that it prints at its
// point size on any device and a picture of the page replays anywhere.
[[nodiscard]] QFont PageCaptionFont(QFont font, int dpi);
// The distance between the two caption lines in a font made by PageCaptionFont.
[[nodiscard]] int CaptionLineHeight(const QFont& pageFont);

// Draws one laid-out page: the caption lines centred in their rows, every chart drawn as it
// looks now into its rectangle.
void PaintPage(QPainter& painter, const PagePlan& page, const PrintSource& source,
               const QFont& pageCaptionFont);

// Everything needed to lay a record out on pages of one device.
struct PageSetup {
    QRect printable;  // inside the margins, in device pixels
    int dpi = 300;
    bool caption = false;
    QFont captionFont = DefaultCaptionFont();
};

// Lays the record out on pages of `setup`.
[[nodiscard]] std::vector<PagePlan> LayoutRecord(const PrintSource& source, const PageSetup& setup);

}  // namespace faultscope
