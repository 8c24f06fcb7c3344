#include "core/layout/page_layout.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace faultscope {

void PrintTo(const PageItem& item, std::ostream* os) {
    static const char* const kNames[] = {"Station", "Device",   "Label",
                                         "Analog",  "Discrete", "Axis"};
    *os << kNames[static_cast<int>(item.kind)] << item.index << " y=" << item.rect.top()
        << " h=" << item.rect.height() << " x=" << item.rect.left() << " w=" << item.rect.width();
}

namespace {

using K = PageItemKind;

// A printable area 1000 pixels wide from y = 200 to y = 2200; with charts 500 pixels wide on
// screen every height doubles, and the time axis of 50 becomes 100, so a strip must end at
// y = 2100 at the latest.
constexpr QRect kPrintable(100, 200, 1000, 2000);

PageItem At(K kind, int index, int top, int height) {
    return {kind, index, QRect(kPrintable.left(), top, kPrintable.width(), height)};
}

struct LayoutCase {
    std::string name;
    int caption;
    std::vector<int> labels;
    std::vector<int> analog;
    std::vector<int> discrete;
    std::vector<PagePlan> pages;
};

void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << c.name;
}

class PageLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(PageLayoutTest, PlacesEveryItem) {
    const LayoutCase& c = GetParam();
    PageLayoutInput input;
    input.printable = kPrintable;
    input.referenceWidth = 500.0;
    input.captionLineHeight = c.caption;
    input.labelHeights = c.labels;
    input.analogHeights = c.analog;
    input.discreteHeights = c.discrete;
    input.timeAxisHeight = 50;
    EXPECT_EQ(LayoutPages(input), c.pages);
}

const LayoutCase kCases[] = {
    {"CaptionThenLabelsTwoLinesBelowTheDeviceName",
     30,
     {20, 10},
     {100},
     {},
     {{At(K::StationName, 0, 200, 30), At(K::DeviceName, 0, 230, 30), At(K::Label, 0, 290, 40),
       At(K::Label, 1, 330, 20), At(K::Analog, 0, 350, 200), At(K::TimeAxis, 0, 550, 100)}}},
    {"LabelsOnEveryPageCaptionOnTheFirstOnly",
     30,
     {10, 10, 10},
     {400, 400, 400},
     {},
     {{At(K::StationName, 0, 200, 30), At(K::DeviceName, 0, 230, 30), At(K::Label, 0, 290, 20),
       At(K::Label, 1, 310, 20), At(K::Label, 2, 330, 20), At(K::Analog, 0, 350, 800),
       At(K::Analog, 1, 1150, 800), At(K::TimeAxis, 0, 1950, 100)},
      {At(K::Label, 0, 200, 20), At(K::Label, 1, 220, 20), At(K::Label, 2, 240, 20),
       At(K::Analog, 2, 260, 800), At(K::TimeAxis, 0, 1060, 100)}}},
    {"StripEndingExactlyAnAxisAboveTheBottomFits",
     0,
     {},
     {450, 500},
     {},
     {{At(K::Analog, 0, 200, 900), At(K::Analog, 1, 1100, 1000), At(K::TimeAxis, 0, 2100, 100)}}},
    {"StripOnePixelTooLowMovesAndTheAxisTakesItsPlace",
     0,
     {},
     {450, 501},
     {},
     {{At(K::Analog, 0, 200, 900), At(K::TimeAxis, 0, 1100, 100)},
      {At(K::Analog, 1, 200, 1002), At(K::TimeAxis, 0, 1202, 100)}}},
    {"DiscreteStripsFollowAnalogOnesAcrossPages",
     0,
     {},
     {450},
     {200, 301, 10},
     {{At(K::Analog, 0, 200, 900), At(K::Discrete, 0, 1100, 400), At(K::TimeAxis, 0, 1500, 100)},
      {At(K::Discrete, 1, 200, 602), At(K::Discrete, 2, 802, 20), At(K::TimeAxis, 0, 822, 100)}}},
    {"OnlyDiscreteStrips",
     0,
     {},
     {},
     {12, 12},
     {{At(K::Discrete, 0, 200, 24), At(K::Discrete, 1, 224, 24), At(K::TimeAxis, 0, 248, 100)}}},
    {"TooTallStripIsShrunkToWhatIsLeftBelowTheLabels",
     0,
     {50},
     {100, 2000, 100},
     {},
     {{At(K::Label, 0, 200, 100), At(K::Analog, 0, 300, 200), At(K::TimeAxis, 0, 500, 100)},
      {At(K::Label, 0, 200, 100), At(K::Analog, 1, 300, 1800), At(K::TimeAxis, 0, 2100, 100)},
      {At(K::Label, 0, 200, 100), At(K::Analog, 2, 300, 200), At(K::TimeAxis, 0, 500, 100)}}},
    {"NoStripsGiveOneEmptyPageEvenWithCaptionAndLabels", 30, {10}, {}, {}, {PagePlan{}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, PageLayoutTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

TEST(PageLayout, HeightsScaleWithThePrintableWidthAndRoundToWholePixels) {
    PageLayoutInput input;
    input.printable = QRect(0, 0, 1000, 5000);
    input.referenceWidth = 300.0;
    input.analogHeights = {100, 101};
    input.timeAxisHeight = 20;
    const std::vector<PagePlan> pages = LayoutPages(input);
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].size(), 3u);
    EXPECT_EQ(pages[0][0].rect, QRect(0, 0, 1000, 333));
    EXPECT_EQ(pages[0][1].rect, QRect(0, 333, 1000, 337));
    EXPECT_EQ(pages[0][2].rect, QRect(0, 670, 1000, 67));
}

TEST(PageLayout, EndsWhenLabelsAndAxisLeaveNoRoomAtAll) {
    PageLayoutInput input;
    input.printable = QRect(0, 0, 100, 100);
    input.referenceWidth = 100.0;
    input.labelHeights = {80};
    input.analogHeights = {50, 50};
    input.timeAxisHeight = 30;
    const std::vector<PagePlan> pages = LayoutPages(input);
    ASSERT_EQ(pages.size(), 2u);
    for (const PagePlan& page : pages) {
        ASSERT_EQ(page.size(), 3u);
        EXPECT_EQ(page[1].kind, K::Analog);
        EXPECT_EQ(page[1].rect.height(), 1);
    }
}

TEST(PageLayout, WithoutAReferenceWidthNothingIsScaled) {
    PageLayoutInput input;
    input.printable = kPrintable;
    input.analogHeights = {100};
    EXPECT_EQ(LayoutPages(input), std::vector<PagePlan>{PagePlan{}});
}

TEST(PrintableRect, MarginsInMillimetresBecomeDevicePixels) {
    const QSize a4(2480, 3507);
    // 10 mm at 300 dpi are 118.1 pixels, 3 mm 35.4, 25 mm 295.3.
    EXPECT_EQ(PrintableRect(a4, 300, QMargins(10, 3, 25, 0)),
              QRect(118, 35, 2480 - 118 - 295, 3472));
    EXPECT_EQ(PrintableRect(a4, 300, QMargins(0, 0, 0, 0)), QRect(QPoint(0, 0), a4));
    EXPECT_TRUE(PrintableRect(a4, 300, QMargins(150, 0, 150, 0)).isEmpty());
}

}  // namespace
}  // namespace faultscope
