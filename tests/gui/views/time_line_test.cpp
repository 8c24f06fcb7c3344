#include "gui/views/time_line.h"

#include "core/record/time_base.h"
#include "gui/chart/axis.h"
#include "gui/chart/band.h"
#include "gui/chart/chart.h"
#include "gui/chart/chart_test_support.h"

#include <gtest/gtest.h>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <functional>
#include <vector>

namespace faultscope {
namespace {

// The record's texts use the separators of the user's locale; these tests read them in a
// Russian one. Set before the application reads its locale.
const bool kRussianLocale = [] {
    qputenv("LC_ALL", "ru_RU.UTF-8");
    return true;
}();

const DateTime kFirst{2019, 2, 1, 10, 20, 30, 900};
const DateTime kTrigger{2019, 2, 1, 10, 20, 31, 0};

// A loaded time line of 1234 x 90 pixels over a 1 kHz record: 301 samples from -100 ms to
// 200 ms, the trigger at 0.
struct LoadedTimeLine {
    std::vector<double> xMs;
    TimeLine timeLine;
    QSignalSpy zooms{&timeLine, &TimeLine::xZoom};

    LoadedTimeLine() {
        TimeBase timeBase;
        timeBase.CreateTimeLine(1, 1000.0, 1.0, kFirst, kTrigger);
        for (int n = 1; n <= 301; ++n) {
            xMs.push_back(timeBase.GetRateTime(0, n) / 1000.0);
        }
        timeLine.resize(1234, 90);
        timeLine.CreateTimeLine(timeBase);
        timeLine.SetSamples(xMs, true);
        timeLine.AfterAllDataLoad();
        timeLine.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&timeLine));
    }

    [[nodiscard]] Band& Area() { return *timeLine.findChild<Band*>(QStringLiteral("Area")); }
    [[nodiscard]] double VisibleMin() const { return timeLine.BottomAxis()->Minimum(); }
    [[nodiscard]] double VisibleMax() const { return timeLine.BottomAxis()->Maximum(); }

    // A drag in the overview in steps, from the pixel of time `from` to that of each of `to`.
    void Drag(double from, std::initializer_list<double> to) {
        Chart* overview = timeLine.XZoomControl();
        const int y = qRound(overview->PlotRect().center().y());
        const auto at = [&](double ms) { return QPoint(qRound(overview->XToPixel(ms)), y); };
        QTest::mousePress(overview, Qt::LeftButton, {}, at(from));
        for (const double ms : to) {
            QTest::mouseMove(overview, at(ms));
        }
        QTest::mouseRelease(overview, Qt::LeftButton, {}, at(*(to.end() - 1)));
    }
};

TEST(TimeLine, ShowsTheRecordTimesWithMilliseconds) {
    LoadedTimeLine loaded;
    EXPECT_EQ(loaded.timeLine.MinTimeText(), QStringLiteral("Tмин  = 2019.02.01 10:20:30.900"));
    EXPECT_EQ(loaded.timeLine.TriggerText(), QStringLiteral("Tсраб = 2019.02.01 10:20:31.000"));
    // 300 ms after the first sample.
    EXPECT_EQ(loaded.timeLine.MaxTimeText(), QStringLiteral("Tмакс = 2019.02.01 10:20:31.200"));
    EXPECT_DOUBLE_EQ(loaded.VisibleMin(), -100.0);
    EXPECT_DOUBLE_EQ(loaded.VisibleMax(), 200.0);
    EXPECT_EQ(loaded.zooms.count(), 0);
}

TEST(TimeLine, DraggingTheBandZoomsTheTimeAxis) {
    LoadedTimeLine loaded;
    // One overview pixel is about a third of a millisecond.
    constexpr double kPixel = 0.5;
    const struct {
        const char* what;
        double from;
        std::initializer_list<double> to;
        double min, max;
    } steps[] = {
        {"the end resized", 200.0, {150.0, 100.0}, -100.0, 100.0},
        {"dragged as a whole", 0.0, {50.0}, -50.0, 150.0},
        {"the start dragged past the end", -50.0, {160.0}, 160.0, 165.0},
        {"the start back", 160.0, {0.0}, 0.0, 165.0},
        // The end stops at the record's end, the start stays where the previous step left it.
        {"dragged past the record's end", 100.0, {120.0, 200.0}, 20.0, 200.0},
        {"dragged past the record's start", 100.0, {-150.0}, -100.0, 200.0},
    };
    for (const auto& step : steps) {
        loaded.zooms.clear();
        loaded.Drag(step.from, step.to);
        EXPECT_NEAR(loaded.VisibleMin(), step.min, kPixel) << step.what;
        EXPECT_NEAR(loaded.VisibleMax(), step.max, kPixel) << step.what;
        EXPECT_EQ(loaded.zooms.count(), static_cast<qsizetype>(step.to.size())) << step.what;
        // The band stands where the range was accepted.
        EXPECT_DOUBLE_EQ(loaded.Area().Start(), loaded.VisibleMin()) << step.what;
        EXPECT_DOUBLE_EQ(loaded.Area().End(), loaded.VisibleMax()) << step.what;
    }
}

TEST(TimeLine, ZoomCommandsMoveTheBandOnceEach) {
    LoadedTimeLine loaded;
    const auto expectRange = [&](double min, double max, int zooms) {
        EXPECT_NEAR(loaded.VisibleMin(), min, 1e-9);
        EXPECT_NEAR(loaded.VisibleMax(), max, 1e-9);
        EXPECT_EQ(loaded.Area().Start(), loaded.VisibleMin());
        EXPECT_EQ(loaded.Area().End(), loaded.VisibleMax());
        EXPECT_EQ(loaded.zooms.count(), zooms);
    };

    loaded.timeLine.ZoomIn();
    expectRange(-70.0, 170.0, 1);  // 300 ms -> 240 ms about the same centre
    for (int i = 0; i < 20; ++i) {
        loaded.timeLine.ZoomIn();
    }
    EXPECT_NEAR(loaded.VisibleMax() - loaded.VisibleMin(), 5.0, 1e-9);
    EXPECT_EQ(loaded.zooms.count(), 21);

    loaded.Area().SetRange(-100.0, 0.0);
    loaded.timeLine.AreaResized();
    loaded.timeLine.ZoomOut();
    expectRange(-100.0, 10.0, 23);  // at the record's start it grows to the right only

    loaded.timeLine.ZoomReset();
    expectRange(-100.0, 200.0, 24);
}

TEST(TimeLine, BackReturnsThroughEveryChangeTheUserMade) {
    LoadedTimeLine loaded;
    TimeLine& timeLine = loaded.timeLine;
    QSignalSpy history(&timeLine, &TimeLine::historyChanged);
    EXPECT_FALSE(timeLine.CanGoBack());
    std::vector<TimeRange> shown = {timeLine.VisibleRange()};
    const auto change = [&](const std::function<void()>& act) {
        act();
        shown.push_back(timeLine.VisibleRange());
    };
    change([&] { timeLine.ZoomIn(); });
    change([&] { loaded.Drag(170.0, {150.0, 120.0, 100.0}); });  // one change in three moves
    change([&] { timeLine.ShowRange(0.0, 50.0); });
    change([&] {
        timeLine.ZoomAbout(25.0, 1);  // quick notches are one change
        timeLine.ZoomAbout(25.0, 1);
    });
    change([&] { timeLine.ShowTime(60.0); });
    timeLine.ZoomReset();
    timeLine.ZoomReset();  // nothing changes: nothing to return to
    EXPECT_EQ(history.count(), 6);

    const qsizetype zooms = loaded.zooms.count();
    while (!shown.empty()) {
        ASSERT_TRUE(timeLine.Back());
        EXPECT_EQ(timeLine.VisibleRange(), shown.back());
        EXPECT_EQ(timeLine.BottomAxis()->Minimum(), shown.back().start);
        EXPECT_EQ(loaded.Area().End(), shown.back().end);
        shown.pop_back();
    }
    EXPECT_EQ(loaded.zooms.count(), zooms + 6);
    EXPECT_FALSE(timeLine.CanGoBack());
    EXPECT_FALSE(timeLine.Back());
    EXPECT_EQ(history.count(), 12);
}

TEST(TimeLine, ClicksSnapToTheNearestSampleInView) {
    LoadedTimeLine loaded;
    double nearest = 0.0;
    // Exactly halfway between samples 110 (10 ms) and 111: the earlier one.
    EXPECT_EQ(loaded.timeLine.NearestSampleInView(10.5, nearest), 110);
    EXPECT_EQ(nearest, 10.0);

    loaded.Area().SetRange(0.0, 100.0);
    loaded.timeLine.AreaResized();
    EXPECT_EQ(loaded.timeLine.NearestSampleInView(-50.0, nearest), 100);  // first sample in view
    EXPECT_EQ(nearest, 0.0);
    EXPECT_EQ(loaded.timeLine.NearestSample(-500.0, nearest), 0);
    EXPECT_EQ(nearest, -100.0);

    // A click, turned into a time as the document does it.
    QSignalSpy clicks(&loaded.timeLine, &TimeLine::chartClicked);
    Chart* cht = loaded.timeLine.Cht();
    const QPoint at(qRound(cht->XToPixel(42.2)), 20);
    QTest::mouseClick(cht, Qt::LeftButton, {}, at);
    ASSERT_EQ(clicks.count(), 1);
    const double time = cht->PixelToX(clicks.first()[0].toPointF().x());
    EXPECT_EQ(loaded.timeLine.NearestSampleInView(time, nearest), 142);
    EXPECT_EQ(nearest, 42.0);
}

TEST(TimeLine, DrawsTheCursorRedAtItsTime) {
    LoadedTimeLine loaded;
    loaded.Area().SetRange(0.0, 100.0);
    loaded.timeLine.AreaResized();
    loaded.timeLine.SetCursor(42.0);
    const auto isRed = test::IsColor(Qt::red);
    for (Chart* chart : {loaded.timeLine.Cht(), loaded.timeLine.XZoomControl()}) {
        const QImage image = test::Render(*chart);
        const int column = static_cast<int>(std::floor(chart->XToPixel(42.0)));
        const auto rows = test::RowsWhere(image, column, isRed);
        ASSERT_TRUE(rows.has_value()) << chart->objectName().toStdString();
        // Across the plot, save the row of its lower border.
        EXPECT_EQ(rows->top, qRound(chart->PlotRect().top()));
        EXPECT_EQ(rows->bottom, qRound(chart->PlotRect().bottom()) - 2);
        EXPECT_FALSE(test::RowsWhere(image, column + 20, isRed).has_value());
        EXPECT_FALSE(test::RowsWhere(image, column - 20, isRed).has_value());
    }
}

TEST(TimeLine, CommandsBeforeLoadingEndsDoNothing) {
    TimeLine timeLine;
    QSignalSpy zooms(&timeLine, &TimeLine::xZoom);
    timeLine.resize(1234, 90);
    timeLine.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&timeLine));
    TimeBase timeBase;
    timeBase.CreateTimeLine(1, 1000.0, 1.0, kFirst, kTrigger);
    timeLine.CreateTimeLine(timeBase);  // no samples yet

    const double min = timeLine.BottomAxis()->Minimum();
    const double max = timeLine.BottomAxis()->Maximum();
    timeLine.ZoomIn();
    timeLine.ZoomOut();
    timeLine.ZoomReset();
    timeLine.AreaResized();
    Chart* overview = timeLine.XZoomControl();
    const int y = qRound(overview->PlotRect().center().y());
    QTest::mousePress(overview, Qt::LeftButton, {}, QPoint(600, y));
    QTest::mouseMove(overview, QPoint(700, y));
    QTest::mouseRelease(overview, Qt::LeftButton, {}, QPoint(700, y));
    EXPECT_EQ(zooms.count(), 0);
    EXPECT_EQ(timeLine.BottomAxis()->Minimum(), min);
    EXPECT_EQ(timeLine.BottomAxis()->Maximum(), max);

    double nearest = 0.0;
    EXPECT_EQ(timeLine.NearestSampleInView(3.0, nearest), -1);
    EXPECT_EQ(nearest, 3.0);
    EXPECT_EQ(timeLine.NearestSample(3.0, nearest), -1);
}

}  // namespace
}  // namespace faultscope
