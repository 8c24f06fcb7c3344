#include "gui/chart/area_series.h"
#include "gui/chart/chart.h"
#include "gui/chart/chart_test_support.h"

#include <gtest/gtest.h>
#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

namespace faultscope {
namespace {

const QColor kFill(128, 128, 128);

// A thin state strip: levels 1 (on) and -5 (off) against a value axis of -1 .. 1.
struct Strip {
    Chart chart;
    std::vector<double> x;
    std::vector<double> level;

    explicit Strip(int endOffset, std::vector<double> xs = {20.0, 20.0, 60.0, 60.0},
                   std::vector<double> levels = {-5.0, 1.0, 1.0, -5.0})
        : x(std::move(xs)), level(std::move(levels)) {
        chart.resize(240, 17);
        chart.SetMargins(QMargins(30, 0, 2, 0));
        chart.SetBackground(Qt::white);
        chart.LeftAxis()->SetRange(-1.0, 1.0);
        chart.LeftAxis()->SetEndOffsets(endOffset, endOffset);
        chart.LeftAxis()->SetVisible(false);
        chart.BottomAxis()->SetRange(0.0, 100.0);
        chart.BottomAxis()->SetVisible(false);
        auto* series = new AreaSeries;
        series->SetColor(kFill);
        series->SetData(x, level);
        chart.AddSeries(series);
    }

    [[nodiscard]] int Column(double value) const {
        return static_cast<int>(std::floor(chart.XToPixel(value)));
    }
};

TEST(AreaSeries, AnOnStateFillsFromItsLevelToThePlotBottom) {
    for (const int offset : {0, 2}) {
        Strip strip(offset);
        const QImage image = test::Render(strip.chart);
        for (int column = strip.Column(20.0); column < strip.Column(60.0); ++column) {
            const auto rows = test::RowsWhere(image, column, test::IsColor(kFill));
            ASSERT_TRUE(rows) << "offset " << offset << ", column " << column;
            EXPECT_EQ(rows->top, offset) << "column " << column;
            EXPECT_EQ(rows->bottom, 16) << "column " << column;
        }
        for (const double x : {0.0, 19.0, 61.0, 100.0}) {
            EXPECT_FALSE(test::RowsWhere(image, strip.Column(x), test::IsColor(kFill)))
                << "offset " << offset << ", x " << x;
        }
        EXPECT_FALSE(test::RowsWhere(image, 10, test::IsColor(kFill))) << "the fill left the plot";
    }
}

TEST(AreaSeries, ABandWiderThanTheViewFillsTheWholePlot) {
    Strip strip(0);
    strip.chart.BottomAxis()->SetRange(30.0, 50.0);
    const QImage image = test::Render(strip.chart);
    const QRect plot = strip.chart.PlotRect().toRect();
    for (int column = plot.left(); column <= plot.right(); ++column) {
        const auto rows = test::RowsWhere(image, column, test::IsColor(kFill));
        ASSERT_TRUE(rows) << "column " << column;
        EXPECT_EQ(rows->top, 0);
        EXPECT_EQ(rows->bottom, 16);
    }
    EXPECT_FALSE(test::RowsWhere(image, plot.right() + 1, test::IsColor(kFill)));
}

// Steps are laid as a discrete channel lays them: two points at each change of state.
std::pair<std::vector<double>, std::vector<double>> Pulses(double from, double width, double period,
                                                           int count) {
    std::vector<double> x;
    std::vector<double> level;
    for (int k = 0; k < count; ++k) {
        const double on = from + k * period;
        for (const auto& [at, before, after] :
             {std::tuple{on, -5.0, 1.0}, std::tuple{on + width, 1.0, -5.0}}) {
            x.insert(x.end(), {at, at});
            level.insert(level.end(), {before, after});
        }
    }
    x.insert(x.end(), {100.0, 100.0});
    level.insert(level.end(), {-5.0, -5.0});
    return {x, level};
}

TEST(AreaSeries, PulsesNarrowerThanAPixelStayVisible) {
    {
        // One pulse of a fifth of a pixel: its column fills, its neighbours stay empty.
        auto [x, level] = Pulses(30.0, 0.1, 1.0, 1);
        Strip strip(0, x, level);
        const QImage image = test::Render(strip.chart);
        const auto rows = test::RowsWhere(image, strip.Column(30.0), test::IsColor(kFill));
        ASSERT_TRUE(rows);
        EXPECT_EQ(rows->top, 0);
        EXPECT_EQ(rows->bottom, 16);
        EXPECT_FALSE(test::RowsWhere(image, strip.Column(30.0) - 2, test::IsColor(kFill)));
        EXPECT_FALSE(test::RowsWhere(image, strip.Column(30.0) + 2, test::IsColor(kFill)));
    }
    {
        // A contact that chatters many times within each pixel shows as on all along.
        auto [x, level] = Pulses(20.0, 0.01, 0.05, 1000);
        Strip strip(0, x, level);
        const QImage image = test::Render(strip.chart);
        for (int column = strip.Column(20.0); column < strip.Column(69.9); ++column) {
            const auto rows = test::RowsWhere(image, column, test::IsColor(kFill));
            ASSERT_TRUE(rows) << "column " << column;
            EXPECT_EQ(rows->top, 0) << "column " << column;
        }
        EXPECT_FALSE(test::RowsWhere(image, strip.Column(71.0), test::IsColor(kFill)));
    }
}

}  // namespace
}  // namespace faultscope
