#include "core/record/channel_data.h"
#include "gui/chart/axis.h"
#include "gui/chart/chart_test_support.h"
#include "gui/chart/vertical_line.h"
#include "gui/views/analog_strip.h"
#include "gui/views/analog_strip_list.h"
#include "gui/views/discrete_strip.h"
#include "gui/views/discrete_strip_list.h"
#include "gui/views/strip_test_support.h"

#include <gtest/gtest.h>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>
#include <vector>

namespace faultscope {
namespace {

// Columns of the window's picture in `row` that show the cursor's red.
std::vector<int> RedColumns(const QImage& image, int row) {
    std::vector<int> columns;
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixelColor(x, row) == QColor(Qt::red)) {
            columns.push_back(x);
        }
    }
    return columns;
}

TEST(StripAlignment, AnalogAndDiscretePlotsShareTheirColumns) {
    Axis time;
    time.SetRange(-50.0, 150.0);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    QWidget* panels[2] = {new QWidget, new QWidget};
    auto* analog = new AnalogStripList;
    auto* discrete = new DiscreteStripList;
    QWidget* lists[2] = {analog, discrete};
    for (int i = 0; i < 2; ++i) {
        auto* inner = new QVBoxLayout(panels[i]);
        inner->setContentsMargins(0, 0, 0, 0);
        inner->addWidget(lists[i]);
        layout->addWidget(panels[i], i == 0 ? 2 : 1);
    }
    const std::vector<AnalogChannel> analogChannels = {test::MakeAnalogChannel(1, "Ia", "A"),
                                                       test::MakeAnalogChannel(2, "Ib", "B")};
    analog->AddCharts(analogChannels, &time, 50.0, 294);
    const std::vector<DigitalChannel> digitalChannels = {test::MakeDigitalChannel(1, "K1"),
                                                         test::MakeDigitalChannel(2, "K2")};
    discrete->AddCharts(digitalChannels, &time, 17);
    window.resize(1234, 600);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(50);
    // The analog list scrolls and the discrete one does not.
    ASSERT_TRUE(analog->verticalScrollBar()->isVisible());
    ASSERT_FALSE(discrete->verticalScrollBar()->isVisible());

    const Chart* analogChart = analog->ChtList()[0]->Cht();
    const Chart* discreteChart = discrete->ChtList()[0]->Cht();
    const auto plotInWindow = [&window](const Chart* chart) {
        const QRect plot = chart->PlotRect().toRect();
        return QRect(chart->mapTo(&window, plot.topLeft()), plot.size());
    };
    EXPECT_EQ(plotInWindow(analogChart).left(), kStripPlotLeft);
    EXPECT_EQ(plotInWindow(discreteChart).left(), kStripPlotLeft);
    EXPECT_EQ(plotInWindow(analogChart).right(), plotInWindow(discreteChart).right());

    for (const double t : {-50.0, 37.0, 150.0}) {
        analog->ChtList()[0]->Cursor()->SetValue(t);
        discrete->SetCursorTime(t);
        const QImage image = window.grab().toImage();
        const std::vector<int> analogRed =
            RedColumns(image, analogChart->mapTo(&window, QPoint(0, 100)).y());
        const std::vector<int> discreteRed =
            RedColumns(image, discreteChart->mapTo(&window, QPoint(0, 4)).y());
        ASSERT_FALSE(analogRed.empty()) << t;
        EXPECT_EQ(analogRed, discreteRed) << t;
    }
}

}  // namespace
}  // namespace faultscope
