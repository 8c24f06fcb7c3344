#include "core/layout/page_layout.h"

#include <algorithm>
#include <cmath>

namespace faultscope {
namespace {

// Builds one page after another; the positions of the next strips carry over between pages.
class PageBuilder {
  public:
    explicit PageBuilder(const PageLayoutInput& input)
        : in_(input),
          scale_(input.printable.width() / input.referenceWidth),
          axisHeight_(Scaled(input.timeAxisHeight)) {}

    std::vector<PagePlan> Run() {
        std::vector<PagePlan> pages;
        bool more = true;
        while (more) {
            more = BuildPage(pages.empty());
            pages.push_back(std::move(page_));
            page_.clear();
        }
        return pages;
    }

  private:
    [[nodiscard]] int Scaled(int height) const {
        return std::max(0, static_cast<int>(std::lround(height * scale_)));
    }
    [[nodiscard]] int Bottom() const { return in_.printable.top() + in_.printable.height(); }

    void Put(PageItemKind kind, int index, int height) {
        page_.push_back(
            {kind, index, QRect(in_.printable.left(), y_, in_.printable.width(), height)});
        y_ += height;
    }

    // Lays out one page; true when strips are left for the next one.
    bool BuildPage(bool first) {
        y_ = in_.printable.top();
        stripsOnPage_ = 0;
        if (first && in_.captionLineHeight > 0) {
            Put(PageItemKind::StationName, 0, in_.captionLineHeight);
            Put(PageItemKind::DeviceName, 0, in_.captionLineHeight);
            y_ += in_.captionLineHeight;
        }
        for (std::size_t i = 0; i < in_.labelHeights.size(); ++i) {
            Put(PageItemKind::Label, static_cast<int>(i), Scaled(in_.labelHeights[i]));
        }
        if (!PutStrips(PageItemKind::Analog, in_.analogHeights, nextAnalog_) ||
            !PutStrips(PageItemKind::Discrete, in_.discreteHeights, nextDiscrete_)) {
            return true;
        }
        Put(PageItemKind::TimeAxis, 0, axisHeight_);
        return false;
    }

    // Puts the strips from `next` on while they fit; false when the page is full, its time
    // axis then standing where the strip that did not fit would have begun.
    bool PutStrips(PageItemKind kind, const std::vector<int>& heights, std::size_t& next) {
        for (; next < heights.size(); ++next) {
            int height = Scaled(heights[next]);
            const int room = Bottom() - axisHeight_ - y_;
            if (height > room) {
                if (stripsOnPage_ > 0) {
                    Put(PageItemKind::TimeAxis, 0, axisHeight_);
                    return false;
                }
                // Alone on its page and still too tall: only shrinking lets the layout end.
                height = std::max(1, room);
            }
            Put(kind, static_cast<int>(next), height);
            ++stripsOnPage_;
        }
        return true;
    }

    const PageLayoutInput& in_;
    const double scale_;
    const int axisHeight_;
    PagePlan page_;
    int y_ = 0;
    int stripsOnPage_ = 0;
    std::size_t nextAnalog_ = 0;
    std::size_t nextDiscrete_ = 0;
};

}  // namespace

std::vector<PagePlan> LayoutPages(const PageLayoutInput& input) {
    const bool noStrips = input.analogHeights.empty() && input.discreteHeights.empty();
    if (noStrips || input.referenceWidth <= 0.0 || input.printable.isEmpty()) {
        return {PagePlan{}};
    }
    return PageBuilder(input).Run();
}

QRect PrintableRect(const QSize& paper, int dpi, const QMargins& marginsMm) {
    const auto pixels = [dpi](int mm) {
        return static_cast<int>(std::lround(mm * static_cast<double>(dpi) / 25.4));
    };
    const QRect rect(QPoint(pixels(marginsMm.left()), pixels(marginsMm.top())),
                     QPoint(paper.width() - 1 - pixels(marginsMm.right()),
                            paper.height() - 1 - pixels(marginsMm.bottom())));
    return rect.isValid() ? rect : QRect();
}

}  // namespace faultscope
