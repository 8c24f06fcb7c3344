#include "gui/chart/chart.h"
#include "gui/chart/area_series.h"
#include "gui/chart/axis_scroll_bar.h"
#include "gui/chart/band.h"
#include "gui/chart/chart_test_support.h"
#include "gui/chart/horizontal_line.h"
#include "gui/chart/line_series.h"
#include "gui/chart/text_block.h"
#include "gui/chart/vertical_line.h"

#include <gtest/gtest.h>
#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <map>
#include <memory>
#include <vector>

namespace faultscope {
namespace {

class PaintCounter : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++counts[watched];
        }
        return false;
    }
    std::map<QObject*, int> counts;
};

TEST(Chart, ASharedAxisChangeRepaintsEveryChartOnIt) {
    QWidget window;
    window.resize(300, 200);
    auto* timeLine = new Chart(&window);
    timeLine->setGeometry(0, 150, 300, 50);
    Axis* time = timeLine->BottomAxis();
    time->SetRange(0.0, 100.0);
    std::vector<Chart*> strips;
    for (int i = 0; i < 3; ++i) {
        auto* strip = new Chart(&window);
        strip->setGeometry(0, 50 * i, 300, 50);
        strip->SetBottomAxis(time);
        auto* cursor = new VerticalLine;
        cursor->SetValue(50.0);
        strip->AddTool(cursor);
        strips.push_back(strip);
    }
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    PaintCounter counter;
    for (Chart* strip : strips) {
        strip->installEventFilter(&counter);
    }
    QTest::qWait(20);
    counter.counts.clear();

    ASSERT_TRUE(time->SetRange(0.0, 200.0));
    QTest::qWait(20);
    for (Chart* strip : strips) {
        EXPECT_GE(counter.counts[strip], 1);
        const QImage image = test::Render(*strip);
        const int column = static_cast<int>(std::floor(strip->XToPixel(50.0)));
        EXPECT_NEAR(column, 74, 1);  // a quarter of the way, where 50 now lies
        EXPECT_EQ(image.pixel(column, 25), QColor(Qt::red).rgb());
    }
}

// A chart with one of everything, in known colours.
std::unique_ptr<Chart> BusyChart(std::vector<double>& x, std::vector<double>& y) {
    auto chart = std::make_unique<Chart>();
    chart->resize(320, 160);
    chart->SetMargins(QMargins(70, 8, 6, 24));
    chart->SetBackgroundGradient(Qt::white, QColor(234, 234, 234));
    chart->LeftAxis()->SetRange(-100.0, 100.0);
    chart->LeftAxis()->SetEndOffsets(10, 10);
    chart->LeftAxis()->SetLabelFormat("#,##0.##");
    chart->LeftAxis()->SetLabelInset(18);
    chart->BottomAxis()->SetRange(-20.0, 80.0);
    chart->SetGridPen(QPen(QColor(169, 169, 169), 1, Qt::DashLine));
    for (int i = 0; i < 5000; ++i) {
        x.push_back(-20.0 + i * 0.02);
        y.push_back(80.0 * std::sin(i * 0.01));
    }
    auto* line = new LineSeries;
    line->SetColor(Qt::blue);
    line->SetData(x, y);
    chart->AddSeries(line);
    auto* band = new Band;
    band->SetRange(10.0, 30.0);
    chart->AddTool(band);
    auto* cursor = new VerticalLine;
    cursor->SetValue(40.0);
    cursor->SetWidth(2);
    cursor->SetTagVisible(true);
    chart->AddTool(cursor);
    auto* zero = new HorizontalLine;
    chart->AddTool(zero);
    auto* caption = new TextBlock;
    caption->SetRect(QRect(5, 5, 60, 22));
    caption->SetText("Ia, A");
    caption->SetTransparent(false);
    caption->SetFillColor(QColor(199, 220, 252));
    caption->SetCornerRadius(6);
    caption->SetAlignment(Qt::AlignHCenter);
    chart->AddTool(caption);
    chart->AddTool(new AxisScrollBar(chart->LeftAxis()));
    return chart;
}

TEST(Chart, RenderPaintsWhatTheScreenShowsButItsScrollBars) {
    std::vector<double> x;
    std::vector<double> y;
    const auto chart = BusyChart(x, y);
    const QImage rendered = test::Render(*chart);
    const QImage screen = chart->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(screen.size(), rendered.size());
    EXPECT_FALSE(screen == rendered);  // the scroll bar is a control of the screen only
    Tool* scrollBar = nullptr;
    for (Tool* tool : chart->Tools()) {
        if (qobject_cast<AxisScrollBar*>(tool) != nullptr) {
            scrollBar = tool;
        }
    }
    ASSERT_NE(scrollBar, nullptr);
    scrollBar->SetActive(false);
    EXPECT_TRUE(chart->grab().toImage().convertToFormat(QImage::Format_RGB32) == rendered);
}

TEST(Chart, RenderScalesIntoTheTargetAndStaysInside) {
    Chart chart;
    chart.resize(200, 100);
    chart.LeftAxis()->SetVisible(false);
    chart.BottomAxis()->SetVisible(false);
    chart.BottomAxis()->SetRange(0.0, 100.0);
    auto* line = new VerticalLine;
    line->SetValue(25.0);
    line->SetColor(Qt::red);
    chart.AddTool(line);

    QImage page(600, 400, QImage::Format_RGB32);
    page.fill(Qt::black);
    const QRect target(100, 50, 400, 200);
    QPainter painter(&page);
    chart.render(painter, QRectF(target));
    painter.end();

    const int column = 100 + static_cast<int>(std::floor(2.0 * chart.XToPixel(25.0)));
    EXPECT_EQ(page.pixel(column, 150), QColor(Qt::red).rgb());
    EXPECT_EQ(page.pixel(300, 150), QColor(Qt::white).rgb());
    for (const QPoint outside :
         {QPoint(99, 150), QPoint(500, 150), QPoint(300, 49), QPoint(300, 250)}) {
        EXPECT_EQ(page.pixel(outside), QColor(Qt::black).rgb())
            << outside.x() << "," << outside.y();
    }
}

TEST(Chart, PaintsInPassesWithHooksAroundTheSeries) {
    Chart chart;
    chart.resize(200, 100);
    chart.SetMargins(QMargins(20, 10, 20, 10));
    chart.LeftAxis()->SetVisible(false);
    chart.BottomAxis()->SetVisible(false);
    chart.LeftAxis()->SetRange(-1.0, 1.0);
    chart.BottomAxis()->SetRange(0.0, 100.0);
    const std::vector<double> x = {0.0, 100.0};
    const std::vector<double> y = {0.0, 0.0};
    auto* series = new LineSeries;
    series->SetColor(Qt::red);
    series->SetData(x, y);
    chart.AddSeries(series);
    auto* tool = new VerticalLine;
    tool->SetColor(Qt::green);
    tool->SetValue(50.0);
    chart.AddTool(tool);
    const QPoint crossing(static_cast<int>(chart.XToPixel(50.0)),
                          static_cast<int>(chart.YToPixel(0.0)));
    QObject::connect(&chart, &Chart::beforeSeries,
                     [](QPainter& painter, const PlotGeometry& geometry) {
                         painter.fillRect(geometry.plot, Qt::blue);
                     });
    QObject::connect(&chart, &Chart::afterDraw, [crossing](QPainter& painter, const PlotGeometry&) {
        painter.fillRect(QRect(crossing, QSize(1, 1)), Qt::yellow);
    });

    const QImage image = test::Render(chart);
    EXPECT_EQ(image.pixel(crossing), QColor(Qt::yellow).rgb());
    EXPECT_EQ(image.pixel(crossing.x(), crossing.y() - 20), QColor(Qt::green).rgb());
    EXPECT_EQ(image.pixel(crossing.x() - 30, crossing.y()), QColor(Qt::red).rgb());
    EXPECT_EQ(image.pixel(crossing.x() - 30, crossing.y() - 20), QColor(Qt::blue).rgb());
    EXPECT_EQ(image.pixel(5, 5), QColor(Qt::white).rgb());
}

TEST(Chart, ReportsMouseEventsThatNoToolTakes) {
    Chart chart;
    chart.resize(200, 100);
    chart.BottomAxis()->SetRange(0.0, 100.0);
    auto* line = new VerticalLine;
    line->SetValue(50.0);
    line->SetDraggable(true);
    chart.AddTool(line);
    chart.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
    QSignalSpy clicked(&chart, &Chart::clicked);
    QSignalSpy doubleClicked(&chart, &Chart::doubleClicked);
    QSignalSpy resized(&chart, &Chart::resized);
    QSignalSpy entered(&chart, &Chart::mouseEntered);
    QSignalSpy left(&chart, &Chart::mouseLeft);

    QTest::mouseClick(&chart, Qt::LeftButton, {}, QPoint(20, 40));
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked[0][0].toPointF(), QPointF(20, 40));
    EXPECT_EQ(clicked[0][1].value<Qt::MouseButton>(), Qt::LeftButton);

    const int onLine = static_cast<int>(chart.XToPixel(50.0));
    QTest::mouseClick(&chart, Qt::LeftButton, {}, QPoint(onLine, 40));
    EXPECT_EQ(clicked.count(), 1) << "the line took the press";

    QTest::mouseDClick(&chart, Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_EQ(doubleClicked.count(), 1);

    QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), chart.mapToGlobal(QPointF(10, 10)));
    QApplication::sendEvent(&chart, &enter);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&chart, &leave);
    EXPECT_EQ(entered.count(), 1);
    EXPECT_EQ(left.count(), 1);

    chart.resize(240, 90);
    ASSERT_GE(resized.count(), 1);
    EXPECT_EQ(resized.last()[0].toSize(), QSize(240, 90));
}

TEST(Chart, ForgetsSeriesAndToolsThatTheirOwnerDestroys) {
    Chart chart;
    chart.resize(100, 50);
    auto owner = std::make_unique<QObject>();
    chart.AddSeries(new LineSeries(owner.get()));
    chart.AddTool(new VerticalLine(owner.get()));
    auto* own = new HorizontalLine;
    chart.AddTool(own);
    EXPECT_EQ(own->parent(), &chart);
    owner.reset();
    EXPECT_TRUE(chart.SeriesList().empty());
    ASSERT_EQ(chart.Tools().size(), 1U);
    EXPECT_EQ(chart.Tools()[0], own);
    EXPECT_FALSE(test::Render(chart).isNull());
}

int DarkPixels(const QImage& image, const QRect& area, double* meanX = nullptr) {
    int count = 0;
    double sumX = 0.0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 100) {
                ++count;
                sumX += x;
            }
        }
    }
    if (meanX != nullptr && count > 0) {
        *meanX = sumX / count;
    }
    return count;
}

TEST(TextBlock, IsDrawnAtItsPixelPosition) {
    const QRect block(60, 12, 140, 24);
    for (const Qt::Alignment alignment : {Qt::AlignLeft, Qt::AlignHCenter}) {
        Chart chart;
        chart.resize(260, 60);
        chart.LeftAxis()->SetVisible(false);
        chart.BottomAxis()->SetVisible(false);
        auto* text = new TextBlock;
        text->SetRect(block);
        text->SetText("Tmin");
        text->SetFontPixelHeight(13);
        text->SetMargins(QMargins(4, 4, 4, 0));
        text->SetAlignment(alignment);
        text->SetTransparent(false);
        text->SetFillColor(QColor(199, 220, 252));
        text->SetCornerRadius(6);
        chart.AddTool(text);
        const QImage image = test::Render(chart);

        double meanX = 0.0;
        const int inside = DarkPixels(image, block, &meanX);
        EXPECT_GT(inside, 20);
        EXPECT_EQ(DarkPixels(image, image.rect()), inside) << "text outside its block";
        if (alignment == Qt::AlignLeft) {
            EXPECT_LT(meanX, block.left() + 40);
        } else {
            EXPECT_NEAR(meanX, block.center().x(), 10);
        }
        EXPECT_EQ(image.pixel(block.left() + 2, block.bottom() - 6), QColor(199, 220, 252).rgb());
        EXPECT_EQ(image.pixel(block.topLeft()), QColor(Qt::white).rgb()) << "rounded corner";
        EXPECT_EQ(image.pixel(block.left() - 2, block.center().y()), QColor(Qt::white).rgb());
    }
}

TEST(TextBlock, LongTextRunsPastItsBlock) {
    const QRect block(10, 10, 40, 18);
    Chart chart;
    chart.resize(260, 40);
    chart.LeftAxis()->SetVisible(false);
    chart.BottomAxis()->SetVisible(false);
    auto* text = new TextBlock;
    text->SetRect(block);
    text->SetText("Tmin = 2019.02.01 10:20:30 30");
    text->SetFontPixelHeight(13);
    chart.AddTool(text);
    const QImage image = test::Render(chart);
    EXPECT_GT(DarkPixels(image, QRect(block.right() + 1, 0, 260 - block.right() - 1, 40)), 20);
}

}  // namespace
}  // namespace faultscope
