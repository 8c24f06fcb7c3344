#include "gui/chart/axis.h"
#include "gui/chart/axis_ticks.h"
#include "gui/chart/chart.h"
#include "gui/chart/chart_test_support.h"

#include <gtest/gtest.h>
#include <cmath>
#include <memory>

namespace faultscope {
namespace {

TEST(Axis, RefusesAMinimumAboveTheMaximum) {
    Axis axis;
    int changes = 0;
    QObject::connect(&axis, &Axis::changed, [&changes] { ++changes; });
    ASSERT_TRUE(axis.SetRange(-10.0, 10.0));
    EXPECT_FALSE(axis.SetMinimum(11.0));
    EXPECT_FALSE(axis.SetMaximum(-11.0));
    EXPECT_FALSE(axis.SetRange(5.0, 4.0));
    EXPECT_FALSE(axis.SetRange(NAN, 4.0));
    EXPECT_FALSE(axis.SetMaximum(INFINITY));
    EXPECT_EQ(axis.Minimum(), -10.0);
    EXPECT_EQ(axis.Maximum(), 10.0);
    EXPECT_EQ(changes, 1);

    // The order callers use to move a range past the current one.
    EXPECT_TRUE(axis.SetMaximum(30.0));
    EXPECT_TRUE(axis.SetMinimum(20.0));
    EXPECT_TRUE(axis.SetMinimum(30.0));
    EXPECT_EQ(axis.Minimum(), 30.0);
    EXPECT_EQ(axis.Maximum(), 30.0);
}

TEST(Axis, MapsValuesInsideMarginsAndEndOffsets) {
    Chart chart;
    chart.resize(300, 100);
    chart.SetMargins(QMargins(40, 5, 10, 15));  // plot: columns 40..289, rows 5..84
    ASSERT_TRUE(chart.BottomAxis()->SetRange(0.0, 100.0));
    chart.BottomAxis()->SetEndOffsets(10, 20);
    ASSERT_TRUE(chart.LeftAxis()->SetRange(-1.0, 1.0));
    chart.LeftAxis()->SetEndOffsets(2, 3);

    EXPECT_EQ(chart.PlotRect(), QRectF(40, 5, 250, 80));
    const struct {
        double value;
        double pixel;
    } xs[] = {{0.0, 50.0}, {100.0, 269.0}, {50.0, 159.5}, {-10.0, 28.1}},
      ys[] = {{-1.0, 82.0}, {1.0, 8.0}, {0.0, 45.0}};
    for (const auto& item : xs) {
        EXPECT_NEAR(chart.XToPixel(item.value), item.pixel, 1e-9) << item.value;
        EXPECT_NEAR(chart.PixelToX(item.pixel), item.value, 1e-9) << item.pixel;
    }
    for (const auto& item : ys) {
        EXPECT_NEAR(chart.YToPixel(item.value), item.pixel, 1e-9) << item.value;
        EXPECT_NEAR(chart.PixelToY(item.pixel), item.value, 1e-9) << item.pixel;
    }
}

TEST(Axis, SharedAxisDrivesTheChartUntilItIsGone) {
    Chart chart;
    chart.resize(200, 50);
    auto shared = std::make_unique<Axis>();
    ASSERT_TRUE(shared->SetRange(-100.0, 100.0));
    chart.SetBottomAxis(shared.get());
    EXPECT_EQ(chart.BottomAxis(), shared.get());
    EXPECT_NEAR(chart.PixelToX(chart.XToPixel(-100.0)), -100.0, 1e-9);
    EXPECT_NEAR(chart.XToPixel(100.0), 199.0, 1e-9);

    shared.reset();
    ASSERT_NE(chart.BottomAxis(), nullptr);
    EXPECT_EQ(chart.BottomAxis()->Maximum(), 1.0);  // the chart's own axis again
}

TEST(AxisTicks, StepsByOneTwoOrFiveTimesAPowerOfTen) {
    const struct {
        double min, max, length, spacing, increment;
        std::vector<double> expected;
    } cases[] = {
        {0.0, 100.0, 500.0, 50.0, 0.0, {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}},
        {-1.0, 1.0, 17.0, 20.0, 1.0, {0}},
        {-1.0, 1.0, 100.0, 20.0, 1.0, {-1, 0, 1}},
        {-0.35, 0.35, 70.0, 20.0, 0.0, {-0.2, 0, 0.2}},
        {-137.0, 412.0, 400.0, 60.0, 0.0, {-100, 0, 100, 200, 300, 400}},
        {5.0, 5.0, 100.0, 10.0, 0.0, {}},
    };
    for (const auto& item : cases) {
        const std::vector<double> ticks =
            AxisTicks(item.min, item.max, item.length, item.spacing, item.increment);
        ASSERT_EQ(ticks.size(), item.expected.size()) << item.min << ".." << item.max;
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            EXPECT_NEAR(ticks[i], item.expected[i], 1e-12) << item.min << ".." << item.max;
        }
    }
}

}  // namespace
}  // namespace faultscope
