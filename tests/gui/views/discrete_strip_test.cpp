#include "gui/views/discrete_strip.h"

#include "core/record/channel_data.h"
#include "gui/chart/area_series.h"
#include "gui/chart/axis.h"
#include "gui/chart/chart_test_support.h"
#include "gui/chart/text_block.h"
#include "gui/chart/vertical_line.h"
#include "gui/views/discrete_strip_list.h"
#include "gui/views/strip_test_support.h"

#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>
#include <QEnterEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

namespace faultscope {
namespace {

const QColor kGrey(128, 128, 128);

// State 1 from 30 ms to 70 ms of a record sampled every 10 ms from 0 to 100 ms.
DiscreteColumns PulseColumns() {
    DiscreteColumns columns;
    for (int t = 0; t <= 100; t += 10) {
        DiscreteAddPoint(columns, t, t >= 30 && t < 70 ? 1.0 : 0.0,
                         static_cast<std::size_t>(t / 10));
    }
    DiscreteAfterAllDataLoad(columns, 100.0);
    return columns;
}

std::vector<std::string> Ids(const std::vector<DiscreteStrip*>& strips) {
    std::vector<std::string> ids;
    for (const DiscreteStrip* strip : strips) {
        ids.push_back(strip->Info().ch_id);
    }
    return ids;
}

struct DiscreteStripTest : ::testing::Test {
    Axis time;
    DiscreteStrip strip;
    DiscreteColumns columns = PulseColumns();

    void SetUp() override {
        time.SetRange(0.0, 100.0);
        strip.resize(624, DiscreteStrip::kDesignHeight);
        strip.Init(&time);
        strip.SetInfo(test::MakeDigitalChannel(1, "K1"));
        strip.SetColumns(columns);
        strip.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&strip));
    }
    int Column(double t) const { return static_cast<int>(strip.Cht()->XToPixel(t)); }
};

TEST_F(DiscreteStripTest, StateOneFillsThePlotAndStateZeroLeavesItEmpty) {
    strip.Cursor()->SetValue(-10.0);
    const QImage image = test::Render(*strip.Cht());
    const Chart& chart = *strip.Cht();
    const int top = static_cast<int>(chart.YToPixel(1.0));
    const int bottom = static_cast<int>(chart.PlotRect().bottom()) - 1;
    const int zero = static_cast<int>(chart.YToPixel(0.0));
    EXPECT_LE(top, 2);
    EXPECT_EQ(bottom, DiscreteStrip::kDesignHeight - 1);
    for (const double t : {31.0, 50.0, 69.0}) {
        for (int row = top; row <= bottom; ++row) {
            if (row != zero) {
                EXPECT_EQ(image.pixelColor(Column(t), row), kGrey) << t << " ms, row " << row;
            }
        }
    }
    for (const double t : {10.0, 29.0, 71.0, 99.0}) {
        EXPECT_FALSE(test::RowsWhere(image, Column(t), test::IsColor(kGrey))) << t << " ms";
    }
}

TEST_F(DiscreteStripTest, ALongNameStopsBeforeThePlot) {
    const std::string name(80, 'W');
    strip.SetInfo(test::MakeDigitalChannel(1, name));
    strip.Cursor()->SetValue(-10.0);
    const QImage image = test::Render(*strip.Cht());
    const auto ink = [](QRgb p) { return qGray(p) < 100; };
    EXPECT_TRUE(test::RowsWhere(image, 20, ink).has_value());
    // Only the middle line may be dark inside the plot.
    const int zero = static_cast<int>(strip.Cht()->YToPixel(0.0));
    for (int column = kStripPlotLeft - 4; column < kStripPlotLeft + 40; ++column) {
        if (column == kStripPlotLeft - 1) {
            continue;  // the plot's left edge
        }
        for (int row = 0; row < image.height(); ++row) {
            if (std::abs(row - zero) > 1) {
                EXPECT_FALSE(ink(image.pixel(column, row))) << column << ", " << row;
            }
        }
    }
    EXPECT_EQ(strip.Cht()->toolTip(), QString::fromStdString(name));
}

TEST_F(DiscreteStripTest, CursorCaptionTooltipAndHover) {
    EXPECT_EQ(strip.Cursor()->Value(), 0.0);
    EXPECT_EQ(strip.Cursor()->Color(), QColor(Qt::red));
    EXPECT_EQ(strip.Cursor()->Width(), 2);
    EXPECT_EQ(strip.Annotation()->Text(), QStringLiteral("K1"));
    EXPECT_EQ(strip.Cht()->toolTip(), QStringLiteral("K1"));
    EXPECT_EQ(strip.Cht()->PlotRect().left(), kStripPlotLeft);

    const QPointF where(280, 4);
    const QColor normal = strip.palette().color(QPalette::Window);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(strip.Cht(), &leave);
    EXPECT_EQ(test::Render(*strip.Cht()).pixelColor(where.toPoint()), normal);
    QEnterEvent enter(where, where, strip.Cht()->mapToGlobal(where));
    QApplication::sendEvent(strip.Cht(), &enter);
    EXPECT_EQ(test::Render(*strip.Cht()).pixelColor(where.toPoint()), DiscreteStrip::HoverColor());
    QApplication::sendEvent(strip.Cht(), &leave);
    EXPECT_EQ(test::Render(*strip.Cht()).pixelColor(where.toPoint()), normal);
}

TEST_F(DiscreteStripTest, TheCaptionGrowsWithTheStrip) {
    // Height of the caption's ink: the rows between the first and the last dark pixel.
    const auto inkHeight = [this] {
        const QImage image = test::Render(*strip.Cht());
        int first = image.height();
        int last = -1;
        for (int row = 0; row < image.height(); ++row) {
            for (int col = 5; col < 60; ++col) {
                if (qGray(image.pixel(col, row)) < 80) {
                    first = std::min(first, row);
                    last = std::max(last, row);
                }
            }
        }
        return last - first + 1;
    };
    strip.SetInfo(test::MakeDigitalChannel(1, "KL"));
    const int small = inkHeight();
    strip.SetHeight(30);
    QApplication::processEvents();
    ASSERT_EQ(strip.Cht()->height(), 30);
    const int large = inkHeight();
    EXPECT_GT(small, 6);
    EXPECT_GE(large, small * 3 / 2);
}

struct DiscreteList : ::testing::Test {
    Axis time;
    DiscreteStripList* list = new DiscreteStripList;
    test::ListWindow shown{list, QSize(1234, 400)};

    void SetUp() override { time.SetRange(0.0, 100.0); }
};

TEST_F(DiscreteList, BracketedChannelsGetNoStrip) {
    const std::vector<DigitalChannel> channels = {
        test::MakeDigitalChannel(1, "K2"), test::MakeDigitalChannel(2, " [spare] "),
        test::MakeDigitalChannel(3, "K10"), test::MakeDigitalChannel(4, "[x")};
    list->AddCharts(channels, &time, 20);
    ASSERT_TRUE(shown.Show());
    ASSERT_EQ(list->ChtList().size(), 4u);
    EXPECT_EQ(list->ChtList()[1], nullptr);
    ASSERT_NE(list->ChtList()[3], nullptr);
    EXPECT_EQ(list->ChtList()[3]->objectName(), QStringLiteral("frmD3"));
    EXPECT_EQ(Ids(list->DisplayList()), (std::vector<std::string>{"K2", "K10", "[x"}));
    EXPECT_EQ(list->ChtList()[2]->y(), 20);

    std::vector<DiscreteColumns> columns(4);
    columns[2] = PulseColumns();
    list->SetColumns(columns);
    EXPECT_EQ(list->ChtList()[2]->Series()->size(), columns[2].x.size());
    EXPECT_THROW(list->SetColumns(std::span(columns).first(3)), std::invalid_argument);

    list->SetCursorTime(42.0);
    for (const DiscreteStrip* strip : list->DisplayList()) {
        EXPECT_EQ(strip->Cursor()->Value(), 42.0);
    }
}

TEST_F(DiscreteList, SortsHidesAndScrollsLikeTheAnalogList) {
    std::vector<DigitalChannel> channels = {test::MakeDigitalChannel(1, "K2"),
                                            test::MakeDigitalChannel(2, "K10")};
    for (std::uint32_t i = 3; i <= 40; ++i) {
        channels.push_back(test::MakeDigitalChannel(i, test::Numbered('Z', i)));
    }
    list->AddCharts(channels, &time, 20);
    ASSERT_TRUE(shown.Show());
    list->SortDisplayList();
    list->DisplayList()[0]->hide();
    list->RestackStrips();
    QApplication::processEvents();
    EXPECT_EQ(Ids(list->DisplayList())[0], "K10");
    EXPECT_EQ(list->DisplayList()[1]->Info().ch_id, "K2");
    EXPECT_EQ(list->DisplayList()[1]->Tag(), 1);
    EXPECT_EQ(list->DisplayList()[1]->y(), 0);
    EXPECT_EQ(list->DisplayList()[2]->y(), 20);

    QSignalSpy clicks(list, &DiscreteStripList::chtClick);
    Chart* chart = list->DisplayList()[1]->Cht();
    QTest::mouseClick(chart, Qt::LeftButton, {}, QPoint(700, 5));
    ASSERT_EQ(clicks.size(), 1);
    EXPECT_EQ(clicks[0][0].value<Chart*>(), chart);

    // Over the name: over the plot the wheel zooms.
    const QPointF pos(100, 5);
    QWheelEvent event(pos, chart->mapToGlobal(pos), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::instance()->notify(chart, &event);
    EXPECT_EQ(list->verticalScrollBar()->value(), 20);
    EXPECT_EQ(shown.panel->contentsMargins().right(), 0);
}

}  // namespace
}  // namespace faultscope
