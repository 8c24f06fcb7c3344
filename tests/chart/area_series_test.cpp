#include "chart/area_series.h"
#include "chart/chart.h"
#include "chart_test_support.h"

#include <gtest/gtest.h>
#include <cmath>
#include <vector>

namespace faultscope {
namespace {

const QColor kFill(128, 128, 128);

// A thin state strip: levels 1 (on) and -5 (off) against a value axis of -1 .. 1.
struct Strip {
    Chart chart;
    std::vector<double> x = {20.0, 20.0, 60.0, 60.0};
    std::vector<double> level = {-5.0, 1.0, 1.0, -5.0};

    explicit Strip(int endOffset) {
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

}  // namespace
}  // namespace faultscope
