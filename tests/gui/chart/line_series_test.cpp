#include "gui/chart/line_series.h"
#include "gui/chart/chart.h"
#include "gui/chart/chart_test_support.h"

#include <gtest/gtest.h>
#include <cmath>
#include <functional>
#include <numbers>
#include <random>
#include <stdexcept>
#include <vector>

namespace faultscope {
namespace {

const QColor kLine(255, 0, 0);

struct Columns {
    std::vector<double> x;
    std::vector<double> y;
    std::vector<std::uint8_t> gaps;
};

// A noisy sine with single-sample spikes and gaps, one sample per 100 / n of x.
Columns NoisySignal(std::size_t n) {
    Columns columns;
    std::mt19937 random(11);
    std::uniform_real_distribution<double> noise(-5.0, 5.0);
    for (std::size_t i = 0; i < n; ++i) {
        const double x = 100.0 * static_cast<double>(i) / static_cast<double>(n);
        columns.x.push_back(x);
        columns.y.push_back(50.0 * std::sin(2.0 * std::numbers::pi * x / 20.0) + noise(random));
        columns.gaps.push_back(0);
    }
    for (const double at : {12.3456, 47.0001, 47.0002, 80.5}) {
        columns.y[static_cast<std::size_t>(at * n / 100.0)] = at > 47.0 && at < 48.0 ? -95.0 : 92.0;
    }
    for (std::size_t i = n * 60 / 100; i < n * 62 / 100; ++i) {
        columns.gaps[i] = 1;
    }
    columns.gaps[n * 3 / 10] = 1;
    return columns;
}

struct Fixture {
    Chart chart;
    explicit Fixture(double xMin, double xMax) {
        chart.resize(400, 120);
        chart.SetMargins(QMargins(30, 10, 10, 10));
        chart.LeftAxis()->SetRange(-100.0, 100.0);
        chart.LeftAxis()->SetGridVisible(false);
        chart.BottomAxis()->SetRange(xMin, xMax);
        chart.BottomAxis()->SetGridVisible(false);
    }
};

// The whole line drawn segment by segment, straight from the columns.
QImage ReferencePicture(Chart& chart, const Columns& columns) {
    QImage image = test::Render(chart);
    QPainter painter(&image);
    painter.setClipRect(chart.PlotRect());
    painter.setPen(QPen(kLine, 1));
    const PlotGeometry geometry = chart.Geometry();
    for (std::size_t i = 1; i < columns.x.size(); ++i) {
        if (columns.gaps[i - 1] == 0 && columns.gaps[i] == 0) {
            painter.drawLine(
                QPointF(geometry.XToPixel(columns.x[i - 1]), geometry.YToPixel(columns.y[i - 1])),
                QPointF(geometry.XToPixel(columns.x[i]), geometry.YToPixel(columns.y[i])));
        }
    }
    return image;
}

QImage SeriesPicture(Chart& chart, const Columns& columns) {
    auto* series = new LineSeries;
    series->SetColor(kLine);
    series->SetData(columns.x, columns.y, columns.gaps);
    chart.AddSeries(series);
    QImage image = test::Render(chart);
    chart.RemoveSeries(series);
    return image;
}

TEST(LineSeries, EachColumnSpansWhatTheFullLineSpans) {
    // The raster engine rounds a segment that starts on a column boundary into either column,
    // so where a column's extent ends on such a segment it may differ by a row or two.
    constexpr int kRows = 2;
    const struct {
        std::size_t samples;
        double xMin, xMax;
    } cases[] = {
        {100000, 0.0, 100.0},                        // 278 samples per column
        {100000, 40.0, 45.0},                        // zoomed in, still more samples than columns
        {100000, 46.9, 47.2},                        // fewer samples than columns
        {300, 0.0, 100.0},    {2000, -10.0, 130.0},  // the line ends inside the plot
    };
    for (const auto& item : cases) {
        Fixture fixture(item.xMin, item.xMax);
        const Columns columns = NoisySignal(item.samples);
        const QImage reference = ReferencePicture(fixture.chart, columns);
        const QImage drawn = SeriesPicture(fixture.chart, columns);
        const QRect plot = fixture.chart.PlotRect().toRect();
        for (int column = plot.left(); column <= plot.right(); ++column) {
            const auto expected = test::RowsWhere(reference, column, test::IsColor(kLine));
            const auto got = test::RowsWhere(drawn, column, test::IsColor(kLine));
            ASSERT_EQ(got.has_value(), expected.has_value())
                << item.samples << " samples, column " << column;
            if (expected) {
                EXPECT_NEAR(got->top, expected->top, kRows)
                    << item.samples << ", column " << column;
                EXPECT_NEAR(got->bottom, expected->bottom, kRows)
                    << item.samples << ", column " << column;
                // Where columns hold many samples each, the line is unbroken within a column:
                // no row between its ends is left out.
                const double visible = item.samples * (item.xMax - item.xMin) / 100.0;
                for (int row = got->top; visible > plot.width() && row <= got->bottom; ++row) {
                    ASSERT_EQ(drawn.pixelColor(column, row), kLine)
                        << item.samples << ", column " << column << ", row " << row;
                }
            }
        }
    }
}

TEST(LineSeries, GapsBreakTheLine) {
    for (const std::size_t samples : {200, 200000}) {
        Columns columns;
        for (std::size_t i = 0; i < samples; ++i) {
            const double x = 100.0 * static_cast<double>(i) / static_cast<double>(samples);
            columns.x.push_back(x);
            columns.y.push_back(i % 2 == 0 ? 20.0 : -20.0);
            columns.gaps.push_back(x >= 30.0 && x < 40.0 ? 1 : 0);
        }
        Fixture fixture(0.0, 100.0);
        const QImage drawn = SeriesPicture(fixture.chart, columns);
        const Chart& chart = fixture.chart;
        const int lastBefore = static_cast<int>(std::floor(chart.XToPixel(30.0)));
        const int firstAfter = static_cast<int>(std::floor(chart.XToPixel(40.0)));
        for (int column = lastBefore + 1; column < firstAfter; ++column) {
            EXPECT_FALSE(test::RowsWhere(drawn, column, test::IsColor(kLine)))
                << samples << " samples, column " << column;
        }
        for (const double x : {10.0, 29.0, 41.0, 90.0}) {
            const int column = static_cast<int>(std::floor(chart.XToPixel(x)));
            EXPECT_TRUE(test::RowsWhere(drawn, column, test::IsColor(kLine)))
                << samples << " samples, x " << x;
        }
    }
}

TEST(LineSeries, ASampleBetweenGapsIsAPoint) {
    const Columns columns{{10.0, 20.0, 30.0}, {0.0, 50.0, 0.0}, {1, 0, 1}};
    Fixture fixture(0.0, 100.0);
    const QImage drawn = SeriesPicture(fixture.chart, columns);
    const int column = static_cast<int>(std::floor(fixture.chart.XToPixel(20.0)));
    const auto rows = test::RowsWhere(drawn, column, test::IsColor(kLine));
    ASSERT_TRUE(rows);
    EXPECT_NEAR(rows->top, fixture.chart.YToPixel(50.0), 1.0);
    EXPECT_LE(rows->bottom - rows->top, 1);
    EXPECT_FALSE(test::RowsWhere(drawn, column + 3, test::IsColor(kLine)));
}

// A long line's strokes are kept for the view they were drawn in; whatever changes the view or
// the columns must draw the line anew, exactly as a series that never drew before.
TEST(LineSeries, KeptStrokesFollowEveryChangeOfViewAndColumns) {
    Fixture fixture(0.0, 100.0);
    Chart& chart = fixture.chart;
    const Columns first = NoisySignal(100000);
    Columns second = first;
    for (double& y : second.y) {
        y = -0.5 * y;
    }
    const auto fresh = [&](const Columns& columns) { return SeriesPicture(chart, columns); };

    QObject owner;  // keeps the series while it leaves the chart for a fresh one's picture
    auto* series = new LineSeries(&owner);
    series->SetColor(kLine);
    series->SetData(first.x, first.y, first.gaps);
    chart.AddSeries(series);
    ASSERT_EQ(test::Render(chart), fresh(first));
    EXPECT_EQ(test::Render(chart), fresh(first)) << "the same view again";

    const std::vector<std::function<void()>> changes = {
        [&] { series->SetData(second.x, second.y, second.gaps); },
        [&] { chart.LeftAxis()->SetRange(-60.0, 40.0); },
        [&] { chart.BottomAxis()->SetRange(20.0, 70.0); },
        [&] { chart.BottomAxis()->SetEndOffsets(15, 5); },
        [&] { chart.resize(330, 150); },
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        changes[i]();
        const QImage kept = test::Render(chart);
        chart.RemoveSeries(series);
        EXPECT_EQ(kept, fresh(second)) << "change " << i;
        chart.AddSeries(series);
    }
}

TEST(LineSeries, RefusesColumnsOfDifferentLengths) {
    const std::vector<double> x = {1, 2, 3};
    const std::vector<double> y = {1, 2};
    const std::vector<std::uint8_t> gaps = {0, 0};
    LineSeries series;
    EXPECT_THROW(series.SetData(x, y), std::invalid_argument);
    EXPECT_THROW(series.SetData(x, x, gaps), std::invalid_argument);
    series.SetData(x, x);
    EXPECT_EQ(series.Extent().max, 3.0);
}

}  // namespace
}  // namespace faultscope
