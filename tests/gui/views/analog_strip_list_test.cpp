#include "gui/views/analog_strip_list.h"

#include "gui/chart/axis.h"
#include "gui/chart/chart_test_support.h"
#include "gui/views/analog_strip.h"
#include "gui/views/strip_test_support.h"

#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>
#include <QLocale>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <stdexcept>
#include <string>
#include <vector>

namespace faultscope {
namespace {

std::vector<std::string> Ids(const std::vector<AnalogStrip*>& strips) {
    std::vector<std::string> ids;
    for (const AnalogStrip* strip : strips) {
        ids.push_back(strip->Info().ch_id);
    }
    return ids;
}

struct AnalogList : ::testing::Test {
    Axis time;
    AnalogStripList* list = new AnalogStripList;
    test::ListWindow shown{list, QSize(1234, 400)};

    void SetUp() override { time.SetRange(0.0, 10.0); }
};

TEST_F(AnalogList, AmplitudeZoomActsOnEveryStrip) {
    const struct {
        std::vector<double> first, second;
        std::vector<const char*> steps;
        double min, max;
    } cases[] = {
        {{-100.0, 50.0}, {0.0, 100.0}, {"out"}, -100.0, 100.0},
        {{20.0, 50.0}, {30.0, 100.0}, {"out"}, 24.0, 100.0},
        {{20.0, 50.0}, {30.0, 100.0}, {"in"}, 16.0, 80.0},
        {{-100.0, 50.0}, {0.0, 100.0}, {"in", "in", "in"}, -51.2, 51.2},
        {{-100.0, 50.0}, {0.0, 100.0}, {"in", "in", "in", "out"}, -61.44, 61.44},
        {{-100.0, 50.0}, {0.0, 100.0}, {"in", "in", "reset"}, -100.0, 100.0},
    };
    const std::vector<double> x = test::Times(2);
    for (const auto& item : cases) {
        AnalogStripList zoomed;
        const std::vector<AnalogChannel> channels = {test::MakeAnalogChannel(1, "Ia"),
                                                     test::MakeAnalogChannel(2, "Ib", "", true)};
        zoomed.AddCharts(channels, &time, 50.0, 100);
        const std::vector<AnalogColumns> columns = {test::Samples(item.first),
                                                    test::Samples(item.second)};
        zoomed.SetColumns(x, columns);
        zoomed.AfterAllDataLoad();
        for (const std::string step : item.steps) {
            if (step == "in") {
                zoomed.YZoomIn();
            } else if (step == "out") {
                zoomed.YZoomOut();
            } else {
                zoomed.YZoomReset();
            }
        }
        for (const AnalogStrip* strip : zoomed.ChtList()) {
            EXPECT_NEAR(strip->Cht()->LeftAxis()->Minimum(), item.min, 1e-9);
            EXPECT_NEAR(strip->Cht()->LeftAxis()->Maximum(), item.max, 1e-9);
        }
    }
}

TEST_F(AnalogList, ARangeBeyondTheCurrentOneReachesEveryAxis) {
    const std::vector<AnalogChannel> channels = {test::MakeAnalogChannel(1, "Ia"),
                                                 test::MakeAnalogChannel(2, "Ib")};
    list->AddCharts(channels, &time, 50.0, 100);
    for (const auto& [min, max] : {std::pair{200.0, 300.0}, std::pair{-300.0, -200.0}}) {
        list->SetYMinMaxCht(min, max);
        for (const AnalogStrip* strip : list->ChtList()) {
            EXPECT_EQ(strip->Cht()->LeftAxis()->Minimum(), min);
            EXPECT_EQ(strip->Cht()->LeftAxis()->Maximum(), max);
        }
    }
}

TEST_F(AnalogList, AReserveChannelHasAHiddenStripThatTakesNoRoom) {
    const std::vector<AnalogChannel> channels = {test::MakeAnalogChannel(1, "Ia"),
                                                 test::MakeAnalogChannel(2, "R", "", true),
                                                 test::MakeAnalogChannel(3, "Ic")};
    list->AddCharts(channels, &time, 50.0, 80);
    ASSERT_TRUE(shown.Show());
    ASSERT_EQ(list->ChtList().size(), 3u);
    EXPECT_EQ(list->DisplayList(), list->ChtList());
    const AnalogStrip* reserve = list->ChtList()[1];
    EXPECT_FALSE(reserve->isVisible());
    EXPECT_EQ(list->ChtList()[0]->geometry(), QRect(0, 0, 1234 - 16, 80));
    EXPECT_EQ(list->ChtList()[2]->geometry().top(), 80);
    EXPECT_EQ(reserve->objectName(), QStringLiteral("frmA2"));
}

TEST_F(AnalogList, SortingOrdersTheStripsByIdentifier) {
    const std::vector<AnalogChannel> channels = {test::MakeAnalogChannel(1, "Ib"),
                                                 test::MakeAnalogChannel(2, "Ia"),
                                                 test::MakeAnalogChannel(3, "IA")};
    list->AddCharts(channels, &time, 50.0, 60);
    ASSERT_TRUE(shown.Show());

    list->SortDisplayList();
    list->RestackStrips();
    QApplication::processEvents();
    EXPECT_EQ(Ids(list->DisplayList()), (std::vector<std::string>{"IA", "Ia", "Ib"}));
    int top = 0;
    for (int i = 0; i < 3; ++i) {
        const AnalogStrip* strip = list->DisplayList()[i];
        EXPECT_EQ(strip->Tag(), i);
        EXPECT_EQ(strip->y(), top);
        top += strip->height();
    }

    list->SortDisplayListDefault();
    list->RestackStrips();
    QApplication::processEvents();
    EXPECT_EQ(Ids(list->DisplayList()), (std::vector<std::string>{"Ib", "Ia", "IA"}));
    EXPECT_EQ(list->ChtList()[2]->y(), 120);
    EXPECT_EQ(list->ChtList()[2]->Tag(), 2);
}

TEST_F(AnalogList, AFormulaChannelGetsAStripOfItsOwn) {
    const std::vector<AnalogChannel> channels = {test::MakeAnalogChannel(3, "Ib"),
                                                 test::MakeAnalogChannel(4, "Ia")};
    list->AddCharts(channels, &time, 50.0, 60);
    const std::vector<double> x = test::Times(2);
    const std::vector<AnalogColumns> columns = {test::Samples({1.0, 2.0}),
                                                test::Samples({3.0, 4.0})};
    list->SetColumns(x, columns);
    list->SortDisplayList();

    // Its number repeats a record channel's.
    const std::vector<AnalogChannel> formula = {test::MakeAnalogChannel(3, "F")};
    list->AddCharts(formula, &time, 50.0, 60);
    const std::vector<AnalogColumns> formulaColumns = {test::Samples({-50.0, 500.0})};
    list->SetColumns(x, formulaColumns);
    EXPECT_THROW(list->SetColumns(x, columns), std::invalid_argument);
    list->AfterAllDataLoad();

    ASSERT_EQ(list->ChtList().size(), 3u);
    EXPECT_EQ(Ids(list->DisplayList()), (std::vector<std::string>{"Ib", "Ia", "F"}));
    EXPECT_EQ(list->ChtList()[0]->objectName(), QStringLiteral("frmA3"));
    EXPECT_EQ(list->ChtList()[2]->objectName(), QStringLiteral("frmA3_2"));
    EXPECT_EQ(list->ChtList()[0]->Columns(), &columns[0]);
    EXPECT_EQ(list->ChtList()[2]->Columns(), &formulaColumns[0]);
    EXPECT_EQ(list->Zoom().fullMin, -50.0);
    EXPECT_EQ(list->Zoom().fullMax, 500.0);
    EXPECT_EQ(list->ChtList()[0]->Cht()->LeftAxis()->Maximum(), 500.0);
}

TEST_F(AnalogList, TheCursorAndTheClicksReachEveryStrip) {
    QLocale::setDefault(QLocale::c());
    const std::vector<AnalogChannel> channels = {test::MakeAnalogChannel(1, "Ia"),
                                                 test::MakeAnalogChannel(2, "Ib", "", true)};
    list->AddCharts(channels, &time, 50.0, 100);
    const std::vector<double> x = test::Times(3);
    const std::vector<AnalogColumns> columns = {test::Samples({1.0, 2.0, 3.0}),
                                                test::Samples({4.0, 5.5, 6.0})};
    list->SetColumns(x, columns);
    list->AfterAllDataLoad();
    list->SetCursor(1);
    EXPECT_TRUE(list->ChtList()[0]->ReadoutText().startsWith(QStringLiteral("Y = 2.00\n\r")));
    EXPECT_TRUE(list->ChtList()[1]->ReadoutText().startsWith(QStringLiteral("Y = 5.50\n\r")));
    QLocale::setDefault(QLocale::system());

    ASSERT_TRUE(shown.Show());
    QSignalSpy clicks(list, &AnalogStripList::chtClick);
    Chart* chart = list->ChtList()[0]->Cht();
    QTest::mouseClick(chart, Qt::LeftButton, {}, QPoint(600, 40));
    QTest::mouseClick(chart, Qt::RightButton, {}, QPoint(600, 40));
    ASSERT_EQ(clicks.size(), 1);
    EXPECT_EQ(clicks[0][0].value<Chart*>(), chart);
    EXPECT_EQ(clicks[0][1].toPointF(), QPointF(600, 40));
}

TEST_F(AnalogList, AWheelStepScrollsByATwentiethOfTheHeight) {
    std::vector<AnalogChannel> channels;
    for (std::uint32_t i = 1; i <= 10; ++i) {
        channels.push_back(test::MakeAnalogChannel(i, test::Numbered('I', i)));
    }
    list->AddCharts(channels, &time, 50.0, 100);
    ASSERT_TRUE(shown.Show());
    ASSERT_EQ(list->height(), 400);
    QScrollBar* bar = list->verticalScrollBar();
    ASSERT_EQ(bar->value(), 0);

    Chart* chart = list->ChtList()[0]->Cht();
    const auto wheel = [&](int delta) {
        // Over the readout: over the plot the wheel zooms.
        const QPointF pos(100, 40);
        QWheelEvent event(pos, chart->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        // Only a wheel event from the system travels up to the list.
        QSpontaneKeyEvent::setSpontaneous(&event);
        QApplication::instance()->notify(chart, &event);
    };
    const double before = time.Minimum();
    wheel(-120);
    EXPECT_EQ(bar->value(), 20);
    wheel(-240);
    EXPECT_EQ(bar->value(), 60);
    wheel(120);
    EXPECT_EQ(bar->value(), 40);
    EXPECT_EQ(time.Minimum(), before);
}

TEST_F(AnalogList, TheScrollBarTakesThePlaceOfThePadding) {
    const std::vector<AnalogChannel> one = {test::MakeAnalogChannel(1, "Ia")};
    list->AddCharts(one, &time, 50.0, 100);
    ASSERT_TRUE(shown.Show());
    EXPECT_EQ(shown.panel->contentsMargins().right(), 16);
    const int right =
        list->ChtList()[0]->mapTo(&shown.window, QPoint(0, 0)).x() + list->ChtList()[0]->width();

    const std::vector<AnalogChannel> more = {
        test::MakeAnalogChannel(2, "Ib"), test::MakeAnalogChannel(3, "Ic"),
        test::MakeAnalogChannel(4, "Id"), test::MakeAnalogChannel(5, "Ie")};
    list->AddCharts(more, &time, 50.0, 100);
    // The layout settles after a few events; a slow (sanitizer) build needs more of them.
    for (int i = 0; i < 100 && shown.panel->contentsMargins().right() != 0; ++i) {
        QTest::qWait(20);
    }
    EXPECT_TRUE(list->verticalScrollBar()->isVisible());
    EXPECT_EQ(list->verticalScrollBar()->width(), 16);
    EXPECT_EQ(shown.panel->contentsMargins().right(), 0);
    const AnalogStrip* strip = list->ChtList()[4];
    EXPECT_EQ(strip->mapTo(&shown.window, QPoint(0, 0)).x() + strip->width(), right);
}

}  // namespace
}  // namespace faultscope
