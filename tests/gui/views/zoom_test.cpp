// The zoom state the views keep: the time band of the time line and the value range of the analog
// strips.
#include <gtest/gtest.h>

#include <vector>

#include "core/record/channel_data.h"
#include "gui/views/amplitude_zoom.h"
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
}

}  // namespace
}  // namespace faultscope
