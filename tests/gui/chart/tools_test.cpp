#include "gui/chart/axis_scroll_bar.h"
#include "gui/chart/band.h"
#include "gui/chart/chart.h"
#include "gui/chart/chart_test_support.h"
#include "gui/chart/vertical_line.h"

#include <gtest/gtest.h>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <utility>
#include <vector>

namespace faultscope {
namespace {

// A shown chart whose plot columns 10 .. 409 carry 0 .. 99.75: four pixels per unit.
struct ShownChart {
    Chart chart;

    ShownChart() {
        chart.resize(420, 60);
        chart.SetMargins(QMargins(10, 0, 10, 20));
        chart.BottomAxis()->SetRange(0.0, 99.75);
        chart.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&chart));
    }

    static QPoint At(double value) { return {10 + static_cast<int>(value * 4.0), 20}; }

    void Drag(double from, double to) {
        QTest::mousePress(&chart, Qt::LeftButton, {}, At(from));
        QTest::mouseMove(&chart, At((from + to) / 2.0));
        QTest::mouseMove(&chart, At(to));
        QTest::mouseRelease(&chart, Qt::LeftButton, {}, At(to));
    }
};

TEST(Band, DragsAsAWholeOrResizesAtEitherEnd) {
    const struct {
        double from, to;
        bool resize;
        double start, end;
    } cases[] = {
        {45.0, 55.0, false, 40.0, 70.0},  // from inside: the whole band
        {45.0, 0.0, false, -15.0, 15.0},  // no limits of its own
        {30.0, 20.0, true, 20.0, 60.0},   // the start edge
        {30.5, 50.0, true, 49.5, 60.0},   // grabbed beside the edge: moved by as much
        {60.0, 80.0, true, 30.0, 80.0},   // the end edge
        {59.5, 20.0, true, 30.0, 20.5},   // past the other end: left to the receiver
    };
    for (const auto& item : cases) {
        ShownChart shown;
        auto* band = new Band;
        band->SetRange(30.0, 60.0);
        shown.chart.AddTool(band);
        QSignalSpy dragged(band, &Band::dragged);
        QSignalSpy resized(band, &Band::resized);
        QSignalSpy released(band, &Band::released);
        QSignalSpy clicked(&shown.chart, &Chart::clicked);

        shown.Drag(item.from, item.to);
        EXPECT_EQ(released.count(), 1) << item.from << " -> " << item.to;
        QSignalSpy& moved = item.resize ? resized : dragged;
        EXPECT_EQ((item.resize ? dragged : resized).count(), 0) << item.from << " -> " << item.to;
        ASSERT_EQ(moved.count(), 2) << item.from << " -> " << item.to;
        EXPECT_DOUBLE_EQ(moved.last()[0].toDouble(), item.start) << item.from << " -> " << item.to;
        EXPECT_DOUBLE_EQ(moved.last()[1].toDouble(), item.end) << item.from << " -> " << item.to;
        EXPECT_DOUBLE_EQ(band->Start(), item.start);
        EXPECT_DOUBLE_EQ(band->End(), item.end);
        EXPECT_EQ(clicked.count(), 0);
    }
}

TEST(Band, APressBesideItIsAClick) {
    ShownChart shown;
    auto* band = new Band;
    band->SetRange(30.0, 60.0);
    shown.chart.AddTool(band);
    QSignalSpy dragged(band, &Band::dragged);
    QSignalSpy released(band, &Band::released);
    QSignalSpy clicked(&shown.chart, &Chart::clicked);
    QTest::mouseClick(&shown.chart, Qt::LeftButton, {}, ShownChart::At(80.0));
    shown.Drag(80.0, 90.0);
    EXPECT_EQ(dragged.count(), 0);
    EXPECT_EQ(released.count(), 0);
    EXPECT_EQ(clicked.count(), 2);
    EXPECT_EQ(band->Start(), 30.0);
}

TEST(Band, KeepsTheReceiversCorrectionDuringADrag) {
    ShownChart shown;
    auto* band = new Band;
    band->SetRange(30.0, 60.0);
    shown.chart.AddTool(band);
    // Never narrower than 5, the way the time line treats its band.
    QObject::connect(band, &Band::resized, [band](double start, double end) {
        if (start + 5.0 >= end) {
            band->SetRange(start, start + 5.0);
        }
    });
    shown.Drag(30.0, 70.0);
    EXPECT_DOUBLE_EQ(band->Start(), 70.0);
    EXPECT_DOUBLE_EQ(band->End(), 75.0);
}

TEST(VerticalLine, DragStaysWithinItsLimits) {
    ShownChart shown;
    auto* line = new VerticalLine;
    line->SetValue(50.0);
    line->SetWidth(2);
    line->SetDraggable(true);
    line->SetDragLimits(20.0, 70.0);
    shown.chart.AddTool(line);
    QSignalSpy dragged(line, &VerticalLine::dragged);
    QSignalSpy ended(line, &VerticalLine::dragEnded);

    QTest::mousePress(&shown.chart, Qt::LeftButton, {}, ShownChart::At(50.0));
    QTest::mouseMove(&shown.chart, ShownChart::At(90.0));
    EXPECT_EQ(line->Value(), 70.0);
    QTest::mouseMove(&shown.chart, ShownChart::At(35.0));
    EXPECT_EQ(line->Value(), 35.0);
    QTest::mouseMove(&shown.chart, ShownChart::At(5.0));
    EXPECT_EQ(ended.count(), 0);
    QTest::mouseRelease(&shown.chart, Qt::LeftButton, {}, ShownChart::At(5.0));

    ASSERT_EQ(dragged.count(), 3);
    EXPECT_EQ(dragged[0][0].toDouble(), 70.0);
    EXPECT_EQ(dragged[1][0].toDouble(), 35.0);
    EXPECT_EQ(dragged[2][0].toDouble(), 20.0);
    ASSERT_EQ(ended.count(), 1);
    EXPECT_EQ(ended[0][0].toDouble(), 20.0);
}

TEST(VerticalLine, StaysPutUnlessDraggable) {
    ShownChart shown;
    auto* line = new VerticalLine;
    line->SetValue(50.0);
    shown.chart.AddTool(line);
    QSignalSpy clicked(&shown.chart, &Chart::clicked);
    shown.Drag(50.0, 60.0);
    EXPECT_EQ(line->Value(), 50.0);
    EXPECT_EQ(clicked.count(), 1);
}

TEST(VerticalLine, TagShowsTheValueAndInterruptsTheLine) {
    QLocale::setDefault(QLocale::c());
    Chart chart;
    chart.resize(300, 60);
    chart.LeftAxis()->SetVisible(false);
    chart.BottomAxis()->SetVisible(false);
    chart.BottomAxis()->SetRange(0.0, 2000.0);
    auto* line = new VerticalLine;
    line->SetValue(1234.5);
    line->SetWidth(2);
    line->SetTagVisible(true);
    line->SetTagFormat("#,##0.###");
    line->SetTagAlignment(Qt::AlignRight | Qt::AlignVCenter);
    chart.AddTool(line);
    EXPECT_EQ(line->TagText(), "1,234.5");

    const QImage image = test::Render(chart);
    const int column = static_cast<int>(std::floor(chart.XToPixel(1234.5)));
    EXPECT_EQ(image.pixel(column, 2), QColor(Qt::red).rgb());
    EXPECT_EQ(image.pixel(column, 57), QColor(Qt::red).rgb());
    EXPECT_NE(image.pixel(column + 1, 30), QColor(Qt::red).rgb()) << "the tag covers the line";

    line->SetTagText("Tmax");
    EXPECT_EQ(line->TagText(), "Tmax");
}

// The value axis runs over rows 0 .. 199 of a chart whose bar stands left of column 60.
struct ScrolledChart {
    Chart chart;
    AxisScrollBar* bar;
    std::vector<std::pair<double, double>> proposals;
    double highest = 110.0;

    ScrolledChart() : bar(new AxisScrollBar(chart.LeftAxis())) {
        chart.resize(300, 200);
        chart.SetMargins(QMargins(60, 0, 0, 0));
        chart.LeftAxis()->SetRange(-100.0, 100.0);
        bar->SetContentRange(-100.0, 100.0);
        bar->SetAllowScroll([this](double min, double max) {
            proposals.emplace_back(min, max);
            return max <= highest;
        });
        chart.AddTool(bar);
        chart.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&chart));
    }
};

TEST(AxisScrollBar, AsksBeforeEveryScroll) {
    ScrolledChart scrolled;
    Axis& axis = *scrolled.chart.LeftAxis();
    const QPoint upArrow(53, 4);
    QTest::mouseClick(&scrolled.chart, Qt::LeftButton, {}, upArrow);
    ASSERT_EQ(scrolled.proposals.size(), 1U);
    EXPECT_EQ(scrolled.proposals[0], std::make_pair(-80.0, 120.0));
    EXPECT_EQ(axis.Minimum(), -100.0) << "refused";

    ASSERT_TRUE(axis.SetRange(-50.0, 50.0));
    QTest::mouseClick(&scrolled.chart, Qt::LeftButton, {}, upArrow);
    EXPECT_EQ(axis.Minimum(), -40.0);
    EXPECT_EQ(axis.Maximum(), 60.0);
    QTest::mouseClick(&scrolled.chart, Qt::LeftButton, {}, QPoint(53, 196));
    EXPECT_EQ(axis.Minimum(), -50.0);
    EXPECT_EQ(axis.Maximum(), 50.0);
}

TEST(AxisScrollBar, ThumbFollowsThePointer) {
    ScrolledChart scrolled;
    Axis& axis = *scrolled.chart.LeftAxis();
    ASSERT_TRUE(axis.SetRange(-50.0, 50.0));
    // Track: rows 14 .. 186; the thumb is half of it, in the middle, and travels 86 rows
    // for the 100 hidden units.
    QTest::mousePress(&scrolled.chart, Qt::LeftButton, {}, QPoint(53, 100));
    QTest::mouseMove(&scrolled.chart, QPoint(53, 90));
    EXPECT_NEAR(axis.Minimum(), -50.0 + 10.0 * 100.0 / 86.0, 1e-9);
    QTest::mouseMove(&scrolled.chart, QPoint(53, 30));  // would show up to 131: refused
    EXPECT_NEAR(axis.Maximum(), 50.0 + 10.0 * 100.0 / 86.0, 1e-9);
    QTest::mouseRelease(&scrolled.chart, Qt::LeftButton, {}, QPoint(53, 30));
    EXPECT_NEAR(scrolled.proposals.back().second, 50.0 + 70.0 * 100.0 / 86.0, 1e-9);
}

}  // namespace
}  // namespace faultscope
