// Zooming a record window by hand: the rubber band of the right button, the wheel over the
// strips, and "Назад" through the ranges the user left.
#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScrollBar>
#include <QSpontaneKeyEvent>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <cmath>
#include <vector>

#include "gui/chart/axis.h"
#include "gui/chart/band.h"
#include "gui/chart/chart.h"
#include "gui/views/analog_strip.h"
#include "gui/views/analog_strip_list.h"
#include "gui/views/discrete_strip.h"
#include "gui/views/discrete_strip_list.h"
#include "gui/views/time_line.h"
#include "support/main_window_fixture.h"
#include "support/modal_dialog.h"

namespace faultscope {
namespace {

// A wheel turned `notches` notches over `widget` at `pos`, spontaneous as the system's are (sent
// through notify, which keeps it so), so that a widget leaving it passes it on to its parents.
void Wheel(QWidget* widget, QPoint pos, int notches, Qt::KeyboardModifiers modifiers = {}) {
    QWheelEvent wheel(pos, widget->mapToGlobal(pos), QPoint(), QPoint(0, notches * 120),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    QApplication::instance()->notify(widget, &wheel);
}

// Fails the test and closes a menu that shows while it lives: a menu would wait for ever.
class NoMenu {
  public:
    NoMenu() {
        poll_.setInterval(5);
        QObject::connect(&poll_, &QTimer::timeout, [] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                ADD_FAILURE() << "a menu showed";
                popup->close();
            }
        });
        poll_.start();
    }

  private:
    QTimer poll_;
};

class RecordWindowZoomTest : public test::MainWindowFixture {
  protected:
    QString RecordToOpen() const override { return test::DemoRecord(); }

    [[nodiscard]] Axis* Time() const { return doc_->TimeLineView()->BottomAxis(); }
    [[nodiscard]] TimeRange Shown() const { return {Time()->Minimum(), Time()->Maximum()}; }
    [[nodiscard]] Chart* AnalogChart(std::size_t i) const {
        return doc_->AnalogStrips()->DisplayList()[i]->Cht();
    }
    [[nodiscard]] Chart* DiscreteChart(std::size_t i) const {
        return doc_->DiscreteStrips()->DisplayList()[i]->Cht();
    }
    // The time one pixel of `chart` spans.
    [[nodiscard]] static double Pixel(const Chart& chart) {
        return chart.PixelToX(1.0) - chart.PixelToX(0.0);
    }
    [[nodiscard]] static int Column(const Chart& chart, double time) {
        return static_cast<int>(std::lround(chart.XToPixel(time)));
    }

    // A drag with the right button over `chart`'s row `y`, sent to the main window as the
    // system sends it: the toolkit then also asks for the context menu while the button is down.
    void RightDrag(QWidget* chart, int fromX, int toX, int y) {
        QWindow* window = main_->windowHandle();
        const auto at = [&](int x) { return chart->mapTo(main_.get(), QPoint(x, y)); };
        QTest::mousePress(window, Qt::RightButton, {}, at(fromX));
        QTest::mouseMove(window, at((fromX + toX) / 2));
        QTest::mouseMove(window, at(toX));
        QTest::mouseRelease(window, Qt::RightButton, {}, at(toX));
        QApplication::processEvents();
    }
};

TEST_F(RecordWindowZoomTest, ARightDragZoomsEveryViewToItsBand) {
    const struct {
        const char* what;
        bool discrete;
        double from, to;
    } drags[] = {
        {"over an analog strip, to the right", false, 20.0, 120.0},
        {"over a discrete strip, to the left", true, 90.0, 40.0},
    };
    for (const auto& drag : drags) {
        Trigger("actXZoomReset");
        Chart* chart = drag.discrete ? DiscreteChart(0) : AnalogChart(1);
        const double pixel = Pixel(*chart);
        NoMenu noMenu;
        RightDrag(chart, Column(*chart, drag.from), Column(*chart, drag.to), chart->height() / 2);
        EXPECT_NEAR(Time()->Minimum(), std::min(drag.from, drag.to), pixel) << drag.what;
        EXPECT_NEAR(Time()->Maximum(), std::max(drag.from, drag.to), pixel) << drag.what;
        // The overview's band follows the time line's axis, which every strip draws against.
        const TimeZoom& band = doc_->TimeLineView()->Zoom();
        EXPECT_EQ(band.areaMin, Time()->Minimum()) << drag.what;
        EXPECT_EQ(band.areaMax, Time()->Maximum()) << drag.what;
    }

    // Dragged out past the plot and the record's end: up to the end, not moved back.
    Trigger("actXZoomReset");
    Chart* chart = AnalogChart(0);
    NoMenu noMenu;
    RightDrag(chart, Column(*chart, 300.0), chart->width() + 5, 40);
    EXPECT_NEAR(Time()->Minimum(), 300.0, Pixel(*chart));
    EXPECT_EQ(Time()->Maximum(), doc_->Record().data.xMs.back());
}

TEST_F(RecordWindowZoomTest, ARightClickOrAShortDragOpensTheMenuAndLeavesTheRange) {
    const TimeRange full = Shown();
    const struct {
        const char* what;
        Chart* chart;
        int dx;
    } clicks[] = {
        {"a click on an analog strip", AnalogChart(0), 0},
        {"a short drag on an analog strip", AnalogChart(2), 4},
        {"a short drag on a discrete strip", DiscreteChart(1), -4},
    };
    for (const auto& click : clicks) {
        QStringList offered;
        test::OnPopup<QMenu>([&](QMenu* menu) {
            for (const QAction* action : menu->actions()) {
                offered << action->text();
            }
            menu->close();
        });
        const int x = Column(*click.chart, 0.0);
        RightDrag(click.chart, x, x + click.dx, 5);
        EXPECT_EQ(offered, QStringList({"Экспорт в PDF…", "Копировать как рисунок"})) << click.what;
        EXPECT_EQ(Shown(), full) << click.what;
    }
}

TEST_F(RecordWindowZoomTest, ALeftClickPlacesTheCursorWithoutZooming) {
    const TimeRange full = Shown();
    Chart* chart = AnalogChart(2);
    QTest::mouseClick(chart, Qt::LeftButton, {}, QPoint(Column(*chart, 100.0), 30));
    QApplication::processEvents();
    EXPECT_NEAR(doc_->Record().data.xMs[doc_->CursorSample()], 100.0, 0.5);
    EXPECT_EQ(Shown(), full);
}

TEST_F(RecordWindowZoomTest, TheWheelZoomsTimeAboutThePointer) {
    Chart* chart = AnalogChart(1);
    const QPoint at(Column(*chart, 300.0), chart->height() / 2);
    const double width = Time()->Maximum() - Time()->Minimum();
    const struct {
        int notches;
        double widthShare;
    } turns[] = {{1, 0.8}, {2, 0.8 * 0.64}, {-1, 0.64}};
    double share = 1.0;
    for (const auto& turn : turns) {
        const double under = chart->PixelToX(at.x());
        Wheel(chart, at, turn.notches);
        EXPECT_NEAR(chart->PixelToX(at.x()), under, 1e-6) << turn.notches;
        share = turn.widthShare;
        EXPECT_NEAR(Time()->Maximum() - Time()->Minimum(), share * width, 1e-6) << turn.notches;
    }
    // Over a discrete strip too.
    Chart* discrete = DiscreteChart(3);
    const QPoint there(Column(*discrete, (Time()->Minimum() + Time()->Maximum()) / 2), 5);
    const double under = discrete->PixelToX(there.x());
    Wheel(discrete, there, 1);
    EXPECT_NEAR(discrete->PixelToX(there.x()), under, 1e-6);
    EXPECT_NEAR(Time()->Maximum() - Time()->Minimum(), 0.8 * share * width, 1e-6);
}

TEST_F(RecordWindowZoomTest, CtrlAndTheWheelZoomTheValuesOfOneStrip) {
    const Axis* values = AnalogChart(3)->LeftAxis();
    const double max = values->Maximum();
    const double min = values->Minimum();
    const double otherMax = AnalogChart(4)->LeftAxis()->Maximum();
    const TimeRange time = Shown();
    Chart* chart = AnalogChart(3);
    const QPoint at(Column(*chart, 50.0), chart->height() / 2);
    Wheel(chart, at, 2, Qt::ControlModifier);
    EXPECT_NEAR(values->Maximum(), 0.64 * max, 1e-9);
    EXPECT_NEAR(values->Minimum(), 0.64 * min, 1e-9);
    EXPECT_EQ(AnalogChart(4)->LeftAxis()->Maximum(), otherMax);
    EXPECT_EQ(Shown(), time);
    Wheel(chart, at, -5, Qt::ControlModifier);  // never out past the common range
    EXPECT_EQ(values->Maximum(), max);
    // "Масштаб Y" gives every strip the common range again.
    Wheel(chart, at, 1, Qt::ControlModifier);
    Trigger("actYZoomReset");
    EXPECT_EQ(values->Maximum(), max);
}

TEST_F(RecordWindowZoomTest, TheWheelStillScrollsOverTheCaptionsOrWithShift) {
    AnalogStripList* list = doc_->AnalogStrips();
    QScrollBar* bar = list->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0) << "the analog strips must not fit their panel";
    const TimeRange time = Shown();
    Chart* chart = AnalogChart(0);
    const struct {
        const char* what;
        QPoint at;
        Qt::KeyboardModifiers modifiers;
    } wheels[] = {
        {"over the caption", QPoint(40, 12), {}},
        {"over the readout", QPoint(60, chart->height() / 2), {}},
        {"with Shift over the plot", QPoint(Column(*chart, 0.0), 30), Qt::ShiftModifier},
    };
    for (const auto& wheel : wheels) {
        bar->setValue(0);
        Wheel(chart, wheel.at, -1, wheel.modifiers);
        EXPECT_GT(bar->value(), 0) << wheel.what;
        EXPECT_EQ(Shown(), time) << wheel.what;
    }
}

TEST_F(RecordWindowZoomTest, BackspaceReturnsThroughEveryRangeTheUserLeft) {
    QAction* back = main_->Action("actXZoomBack");
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->text(), "Назад");
    EXPECT_FALSE(back->isEnabled());
    std::vector<TimeRange> left;
    const auto change = [&](const std::function<void()>& act) {
        left.push_back(Shown());
        act();
        EXPECT_NE(Shown(), left.back());
    };
    Chart* chart = AnalogChart(0);
    change([&] { Trigger("actXZoomIn"); });
    change([&] {
        NoMenu noMenu;
        RightDrag(chart, Column(*chart, 0.0), Column(*chart, 200.0), 30);
    });
    change([&] {
        const QPoint at(Column(*chart, 50.0), 30);
        Wheel(chart, at, 1);
        Wheel(chart, at, 1);  // one burst, one step back
    });
    change([&] {
        Chart* overview = doc_->TimeLineView()->XZoomControl();
        const int y = qRound(overview->PlotRect().center().y());
        const int x = Column(*overview, 50.0);
        QTest::mousePress(overview, Qt::LeftButton, {}, QPoint(x, y));
        QTest::mouseMove(overview, QPoint(x + 30, y));
        QTest::mouseMove(overview, QPoint(x + 60, y));
        QTest::mouseRelease(overview, Qt::LeftButton, {}, QPoint(x + 60, y));
    });
    change([&] { QTest::keyClick(chart, Qt::Key_Home); });  // the cursor leaves the range
    EXPECT_TRUE(back->isEnabled());

    // Another record has a history of its own.
    RecordWindow* first = window_;
    Open(test::DemoRecord());
    EXPECT_FALSE(back->isEnabled());
    main_->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
    EXPECT_TRUE(back->isEnabled());
    doc_ = first->Document();

    while (!left.empty()) {
        QTest::keyClick(AnalogChart(0), Qt::Key_Backspace);
        EXPECT_EQ(Shown(), left.back());
        left.pop_back();
    }
    EXPECT_FALSE(back->isEnabled());
}

}  // namespace
}  // namespace faultscope
