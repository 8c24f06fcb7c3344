// The vector diagram over strips whose phasors are known: three phase currents of RMS 100 that
// the analysis reads at 90, 330 and 210 degrees at the cursor, one cycle after the first sample.
#include "gui/views/phasor_diagram.h"

#include "core/analysis/phasor_math.h"
#include "gui/chart/arrow_series.h"
#include "gui/chart/axis.h"
#include "gui/chart/chart.h"
#include "gui/chart/chart_test_support.h"
#include "gui/chart/line_series.h"
#include "gui/chart/shape_series.h"
#include "gui/views/analog_strip.h"
#include "gui/views/analog_strip_list.h"
#include "gui/views/strip_test_support.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

namespace faultscope {
namespace {

struct Phases : ::testing::Test {
    // 1 kHz sampling at 50 Hz: 20 samples a cycle, a phasor turning 18 degrees a sample.
    static constexpr std::size_t kSamples = 40;
    static constexpr std::ptrdiff_t kCursor = 19;
    static constexpr double kStep = 18.0;

    Axis time;
    std::vector<double> x = test::Times(kSamples);
    std::vector<AnalogColumns> columns;
    AnalogStripList* list = new AnalogStripList;
    test::ListWindow shown{list, QSize(800, 400)};

    // A sine of RMS 100 that the one-cycle sums of the window ending at sample e read at
    // `angle` + (e + 1) * kStep degrees.
    static AnalogColumns Phase(double angle) {
        std::vector<double> y;
        for (std::size_t i = 0; i < kSamples; ++i) {
            const double degrees = static_cast<double>(i + 1) * kStep + angle;
            y.push_back(100.0 * std::numbers::sqrt2 * std::sin(degrees * std::numbers::pi / 180));
        }
        return test::Samples(y);
    }

    void SetUp() override {
        time.SetRange(0.0, 1.0);
        for (const double angle : {90.0, 330.0, 210.0}) {
            columns.push_back(Phase(angle));
        }
        const std::vector<AnalogChannel> channels = {test::MakeAnalogChannel(1, "Ia", "A"),
                                                     test::MakeAnalogChannel(2, "Ib", "B"),
                                                     test::MakeAnalogChannel(3, "Ic", "C")};
        list->AddCharts(channels, &time, 50.0, 100);
        list->SetColumns(x, columns);
        list->SetCursor(kCursor);
        ASSERT_TRUE(shown.Show());
    }

    static void ExpectTip(const ArrowSeries::Arrow& arrow, double m, double angleDeg) {
        const double phi = angleDeg * std::numbers::pi / 180.0;
        EXPECT_NEAR(arrow.to.x(), m * std::cos(phi), 1e-9) << arrow.label.toStdString();
        EXPECT_NEAR(arrow.to.y(), m * std::sin(phi), 1e-9) << arrow.label.toStdString();
    }
    static std::vector<QString> Legend(const PhasorDiagram& d) {
        std::vector<QString> texts;
        for (const PhasorLegendRow* item : d.Items()) {
            texts.push_back(item->LblValue()->text());
        }
        return texts;
    }
};

TEST_F(Phases, TheFirstChannelAsBaseTurnsThePhasorsAndTheLegend) {
    PhasorDiagram d;
    ASSERT_TRUE(d.SetCharts(list));
    ASSERT_EQ(d.Items().size(), 3u);
    const auto& arrows = d.SArrow()->Arrows();
    ASSERT_EQ(arrows.size(), 3u);
    ExpectTip(arrows[0], 100.0, 90.0);
    EXPECT_EQ(arrows[0].label, "Ia");
    EXPECT_EQ(arrows[0].color, list->ChtList()[0]->Series()->Color());
    // The circle is the scale, the axes reach 10 % beyond it.
    EXPECT_EQ(d.SRound()->Second(), QPointF(100.0, 100.0));
    EXPECT_NEAR(d.Cht()->LeftAxis()->Maximum(), 110.0, 1e-9);
    EXPECT_NEAR(d.Cht()->BottomAxis()->Minimum(), -110.0, 1e-9);

    d.Items()[0]->Chk()->click();
    EXPECT_EQ(d.BaseArrow(), 0);
    ExpectTip(arrows[0], 100.0, 0.0);
    ExpectTip(arrows[1], 100.0, 240.0);
    ExpectTip(arrows[2], 100.0, 120.0);
    EXPECT_EQ(Legend(d), (std::vector<QString>{"100∠0°", "100∠240°", "100∠120°"}));
    d.Rb180()->click();
    EXPECT_EQ(Legend(d), (std::vector<QString>{"100∠0°", "100∠-120°", "100∠120°"}));
    // Another base clears the first box; clearing the last one makes angles absolute again.
    d.Items()[1]->Chk()->click();
    EXPECT_FALSE(d.Items()[0]->Chk()->isChecked());
    EXPECT_EQ(d.BaseArrow(), 1);
    ExpectTip(arrows[1], 100.0, 0.0);
    d.Items()[1]->Chk()->click();
    EXPECT_EQ(d.BaseArrow(), -1);
    ExpectTip(arrows[1], 100.0, 330.0);
    EXPECT_EQ(Legend(d), (std::vector<QString>{"100∠90°", "100∠-30°", "100∠-150°"}));
}

TEST_F(Phases, InstantaneousValuesPointOppositeWhenNegativeAndSetTheScale) {
    PhasorDiagram d;
    d.SetUseCurrentValue(false);
    ASSERT_TRUE(d.SetCharts(list));
    const auto& arrows = d.SArrow()->Arrows();
    // 100·√2·sin 330° at the cursor; the largest value, 100·√2 on the first strip, is the scale.
    const double ib = columns[1].Value(kCursor);
    EXPECT_NEAR(ib, -50.0 * std::numbers::sqrt2, 1e-9);
    ExpectTip(arrows[1], ib, 330.0);
    EXPECT_EQ(d.SRound()->Second(),
              QPointF(100.0 * std::numbers::sqrt2, 100.0 * std::numbers::sqrt2));
    EXPECT_EQ(d.Items()[1]->LblValue()->text(), "-70.71∠330°");
    // Five samples on, the phasor has turned 90 degrees on and the value follows.
    list->SetCursor(kCursor + 5);
    d.CursorChangePos();
    ExpectTip(arrows[1], columns[1].Value(kCursor + 5), 60.0);
    EXPECT_EQ(d.PnlT()->text(), "T=24.0");
}

TEST_F(Phases, HiddenArrowsLeaveTheScaleAndHiddenStripsTheLegend) {
    list->ChtList()[2]->hide();
    PhasorDiagram d;
    ASSERT_TRUE(d.SetCharts(list));
    ASSERT_EQ(d.Items().size(), 2u);
    for (PhasorLegendRow* item : d.Items()) {
        item->BtnView()->click();
    }
    EXPECT_TRUE(d.SArrow()->Arrows().empty());
    EXPECT_EQ(d.GetMaxValue(), std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(d.Items()[0]->LblValue()->text(), "100∠90°");  // the row keeps its text
    // Shown again, the strip comes back with the rebuilt legend.
    list->ChtList()[2]->show();
    d.ImgUpdate()->click();
    EXPECT_EQ(d.Items().size(), 3u);
    EXPECT_EQ(d.SArrow()->Arrows().size(), 3u);
    EXPECT_EQ(d.BaseArrow(), -1);
}

TEST_F(Phases, APhasorOverMissingSamplesHasNoArrowAndLeavesTheScale) {
    // Ib's sample 30, inside the cycle the cursor reads (the first full one), is a "no data"
    // marker.
    std::vector<double> y = columns[1].Values();
    y[30] = 99999.0;
    std::vector<std::uint8_t> gaps(y.size(), 0);
    gaps[30] = 1;
    columns[1] = test::Samples(y, gaps);
    list->SetColumns(x, columns);
    list->SetCursor(kCursor);
    PhasorDiagram d;
    ASSERT_TRUE(d.SetCharts(list));
    const auto& arrows = d.SArrow()->Arrows();
    ASSERT_EQ(arrows.size(), 2u);
    EXPECT_EQ(arrows[0].label, "Ia");
    EXPECT_EQ(arrows[1].label, "Ic");
    EXPECT_NEAR(d.GetMaxValue(), 100.0, 1e-9);
    EXPECT_EQ(Legend(d)[1], "нет данных");
}

TEST_F(Phases, NothingVisibleIsRefused) {
    for (AnalogStrip* strip : list->ChtList()) {
        strip->hide();
    }
    PhasorDiagram d;
    EXPECT_FALSE(d.SetCharts(list));
    EXPECT_TRUE(d.Items().empty());
}

TEST(PhasorMath, UnitsNameTheKindOfQuantity) {
    const struct {
        const char* unit;
        QuantityKind kind;
    } cases[] = {
        {"A", QuantityKind::Current},  {" kA ", QuantityKind::Current},
        {"А", QuantityKind::Current},  {"кА", QuantityKind::Current},
        {"V", QuantityKind::Voltage},  {"kV", QuantityKind::Voltage},
        {"кВ", QuantityKind::Voltage}, {"В", QuantityKind::Voltage},
        {"Ом", QuantityKind::Other},   {"", QuantityKind::Other},
        {"Hz", QuantityKind::Other},   {"VA", QuantityKind::Other},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KindOfUnit(c.unit), c.kind) << c.unit;
    }
}

TEST(PhasorMath, LegendAnglesAndLabelSides) {
    const struct {
        double angle, base;
        double real, half;
    } angles[] = {
        {90, 90, 0, 0},      {330, 90, 240, -120}, {210, 90, 120, 120},
        {10, 200, 170, 170}, {180, 0, 180, 180},   {0, 0, 0, 0},
    };
    for (const auto& a : angles) {
        EXPECT_DOUBLE_EQ(LegendAngle(a.angle, a.base, false), a.real);
        EXPECT_DOUBLE_EQ(LegendAngle(a.angle, a.base, true), a.half);
    }
    EXPECT_EQ(ShownLegendAngle(359.996, false), 0.0);
    EXPECT_EQ(ShownLegendAngle(-179.996, true), 180.0);
    EXPECT_EQ(ShownLegendAngle(-0.001, true), 0.0);
    EXPECT_EQ(ShownLegendAngle(123.456, false), 123.46);
    EXPECT_EQ(ArrowLabelSide(1, 0), LabelSide::Right);
    EXPECT_EQ(ArrowLabelSide(1, 1), LabelSide::Right);  // 45 degrees still right
    EXPECT_EQ(ArrowLabelSide(1, 2), LabelSide::Above);
    EXPECT_EQ(ArrowLabelSide(-1, 0.5), LabelSide::Left);
    EXPECT_EQ(ArrowLabelSide(-1, -1), LabelSide::Left);  // 225 degrees still left
    EXPECT_EQ(ArrowLabelSide(0.5, -2), LabelSide::Below);
    EXPECT_EQ(ArrowLabelSide(0, 5), LabelSide::None);
}

}  // namespace
}  // namespace faultscope
