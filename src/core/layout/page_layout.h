#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>
#include <vector>

namespace faultscope {

// What the page layout needs of a record's strips, as plain numbers: on-screen heights in
// pixels, in display order. The layout itself knows no widgets, so that it can be checked on
// its own and replayed on any device.
struct PageLayoutInput {
    QRect printable;                   // the page inside its margins, in device pixels
    double referenceWidth = 0.0;       // on-screen width of the charts; width(printable) over it
                                       // is the scale of every chart on the page
    int captionLineHeight = 0;         // one caption line in device pixels; 0 prints no caption
    std::vector<int> labelHeights;     // time label strips, printed on top of every page
    std::vector<int> analogHeights;    // shown analog strips
    std::vector<int> discreteHeights;  // shown discrete strips
    int timeAxisHeight = 0;            // the time line's axis chart
};

enum class PageItemKind { StationName, DeviceName, Label, Analog, Discrete, TimeAxis };

// One thing drawn on a page: `index` is its position in the input list of its kind (0 for the
// caption lines and the time axis); `rect` is where it goes, in device pixels.
struct PageItem {
    PageItemKind kind;
    int index;
    QRect rect;

    friend bool operator==(const PageItem&, const PageItem&) = default;
};

using PagePlan = std::vector<PageItem>;

// Lays the strips out on pages: the caption on the first page, the label strips on top of
// every page, then analog and discrete strips, each scaled to the printable width and never
// split, and the time axis under the last strip of every page. A strip that would come closer
// than the axis' height to the bottom goes to the next page, and that page's axis stands where
// the strip would have begun. A strip too tall for a page without other strips is shrunk to
// what is left of it, so the layout always ends. Without strips the result is one empty page.
[[nodiscard]] std::vector<PagePlan> LayoutPages(const PageLayoutInput& input);

// The part of a paper of `paper` device pixels at `dpi` inside margins given in whole
// millimetres from the paper's edges; empty when the margins leave nothing.
[[nodiscard]] QRect PrintableRect(const QSize& paper, int dpi, const QMargins& marginsMm);

}  // namespace faultscope
