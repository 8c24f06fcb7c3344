// The zoom state the views keep: the time band of the time line, the history of its ranges and
// the value range of the analog strips.
#include <gtest/gtest.h>

#include <vector>

#include "core/record/channel_data.h"
#include "gui/views/amplitude_zoom.h"
#include "gui/views/time_range_history.h"
#include "gui/views/time_zoom.h"

namespace faultscope {
namespace {

TimeZoom Record(double from, double to) {
    TimeZoom z;
    z.Reset(from, to);
    return z;
}

TEST(TimeZoom, BandRules) {
    TimeZoom z = Record(-100, 300);
    z.AreaResized(0, 2);  // never narrower than 5 ms
    EXPECT_DOUBLE_EQ(z.areaMin, 0);
    EXPECT_DOUBLE_EQ(z.areaMax, 5);
    z.AreaResized(0, 100);
    z.AreaResized(250, 350);  // dragged past the end: start goes back, end at the maximum
    EXPECT_DOUBLE_EQ(z.areaMin, 0);
    EXPECT_DOUBLE_EQ(z.areaMax, 300);
    z.AreaResized(-150, 50);  // dragged past the start
    EXPECT_DOUBLE_EQ(z.areaMin, -100);
    EXPECT_DOUBLE_EQ(z.areaMax, 300);
}

TEST(TimeZoom, ZoomCommands) {
    TimeZoom z = Record(0, 300);
    z.ZoomIn();
    EXPECT_DOUBLE_EQ(z.areaMin, 30);
    EXPECT_DOUBLE_EQ(z.areaMax, 270);
    for (int i = 0; i < 100; ++i) {
        z.ZoomIn();
    }
    EXPECT_NEAR(z.areaMax - z.areaMin, 5.0, 1e-9);
    z.ZoomReset();
    EXPECT_DOUBLE_EQ(z.areaMin, 0);
    EXPECT_DOUBLE_EQ(z.areaMax, 300);
    z.AreaResized(0, 100);
    z.ZoomOut();  // touching the start: grows only to the right
    EXPECT_DOUBLE_EQ(z.areaMin, 0);
    EXPECT_DOUBLE_EQ(z.areaMax, 110);
}

TEST(TimeZoom, ChosenRangesStayInsideTheRecord) {
    const struct {
        const char* what;
        double start, end;
        double min, max;
    } cases[] = {
        {"inside", 10, 60, 10, 60},
        {"either order", 60, 10, 10, 60},
        {"narrower than 5 ms: widened about its middle", 20, 21, 18, 23},
        {"narrow at the start: moved in", -100, -99, -100, -95},
        {"narrow at the end", 299.5, 300, 295, 300},
        {"past the end: cut there", 250, 400, 250, 300},
        {"wider than the record", -200, 500, -100, 300},
        {"wholly before the record", -300, -200, -100, -95},
    };
    for (const auto& c : cases) {
        TimeZoom z = Record(-100, 300);
        z.ShowRange(c.start, c.end);
        EXPECT_DOUBLE_EQ(z.areaMin, c.min) << c.what;
        EXPECT_DOUBLE_EQ(z.areaMax, c.max) << c.what;
    }
}

TEST(TimeZoom, ZoomingAboutATimeKeepsItsPlace) {
    const struct {
        const char* what;
        double x, factor;
        double min, max;
    } cases[] = {
        {"in about a quarter", 0, 0.5, -50, 150},
        {"out about a quarter", 0, 1.25, -125, 375},
        {"in to less than 5 ms", 100, 0.001, 97.5, 102.5},
        {"out past the record's start: moved in", 250, 1.4, -200, 360},
        {"out past the whole record", 0, 2, -200, 400},
    };
    for (const auto& c : cases) {
        TimeZoom z = Record(-200, 400);
        z.ShowRange(-100, 300);
        z.ZoomAbout(c.x, c.factor);
        EXPECT_DOUBLE_EQ(z.areaMin, c.min) << c.what;
        EXPECT_DOUBLE_EQ(z.areaMax, c.max) << c.what;
    }
}

TEST(TimeRangeHistory, QuickStepsOfOneGestureComeBackAsOne) {
    using Change = TimeRangeHistory::Change;
    TimeRangeHistory history;
    EXPECT_FALSE(history.Pop());
    EXPECT_TRUE(history.Push({0, 100}, Change::Single, 0));
    EXPECT_TRUE(history.Push({10, 90}, Change::Wheel, 100));
    EXPECT_FALSE(history.Push({20, 80}, Change::Wheel, 400));
    EXPECT_FALSE(history.Push({30, 70}, Change::Wheel, 800));      // 400 ms after the step before
    EXPECT_TRUE(history.Push({40, 60}, Change::Wheel, 1400));      // a pause: a new burst
    EXPECT_TRUE(history.Push({45, 55}, Change::CursorKey, 1500));  // another gesture
    EXPECT_TRUE(history.Push({46, 54}, Change::Single, 1510));
    EXPECT_TRUE(history.Push({47, 53}, Change::Single, 1520));  // single changes never merge
    const std::vector<TimeRange> expected = {{47, 53}, {46, 54}, {45, 55},
                                             {40, 60}, {10, 90}, {0, 100}};
    for (const TimeRange& range : expected) {
        EXPECT_EQ(history.Pop(), range);
    }
    EXPECT_TRUE(history.Empty());

    // After "Назад" the next wheel step begins a burst of its own.
    history.Push({0, 100}, Change::Wheel, 0);
    history.Push({1, 99}, Change::Wheel, 100);
    history.Pop();
    EXPECT_TRUE(history.Push({2, 98}, Change::Wheel, 200));
}

TEST(TimeRangeHistory, KeepsTheNewestRanges) {
    TimeRangeHistory history;
    const auto count = static_cast<int>(TimeRangeHistory::kMaxRanges) + 10;
    for (int i = 0; i < count; ++i) {
        history.Push({0, static_cast<double>(i)}, TimeRangeHistory::Change::Single, i);
    }
    EXPECT_EQ(history.Size(), TimeRangeHistory::kMaxRanges);
    EXPECT_EQ(history.Pop(), (TimeRange{0, count - 1.0}));
}

TEST(AmplitudeZoom, ScalesAboutZero) {
    std::vector<AnalogColumns> chans;
    chans.push_back(AnalogColumns::FromValues(std::vector<double>{-100, 50}));
    chans.push_back(AnalogColumns::FromValues(std::vector<double>{100, 0}));
    AmplitudeZoom z;
    z.Reset(GetYMinMaxFromAllCht(chans));
    z.YZoomOut();  // full range contains 0: nothing changes
    EXPECT_DOUBLE_EQ(z.min, -100);
    EXPECT_DOUBLE_EQ(z.max, 100);
    z.YZoomIn();
    z.YZoomIn();
    z.YZoomIn();
    EXPECT_NEAR(z.min, -51.2, 1e-9);
    EXPECT_NEAR(z.max, 51.2, 1e-9);
    z.YZoomOut();
    EXPECT_NEAR(z.min, -61.44, 1e-9);
    EXPECT_NEAR(z.max, 61.44, 1e-9);

    z.Reset({20, 100});
    z.YZoomOut();
    EXPECT_DOUBLE_EQ(z.min, 24);
    EXPECT_DOUBLE_EQ(z.max, 100);
    z.YZoomIn();
    EXPECT_DOUBLE_EQ(z.min, 19.2);
    EXPECT_DOUBLE_EQ(z.max, 80);

    z.Reset({-100, 100});
    z.YZoomSteps(2);
    EXPECT_NEAR(z.max, 64, 1e-9);
    z.YZoomSteps(-1);
    EXPECT_NEAR(z.max, 76.8, 1e-9);
    z.YZoomSteps(-5);  // never out past the full range
    EXPECT_DOUBLE_EQ(z.min, -100);
    EXPECT_DOUBLE_EQ(z.max, 100);
}

}  // namespace
}  // namespace faultscope
