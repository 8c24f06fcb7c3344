#include "gui/views/analog_strip.h"

#include "core/analysis/harmonic_fill.h"
#include "core/analysis/harmonics.h"
#include "gui/chart/axis.h"
#include "gui/chart/axis_scroll_bar.h"
#include "gui/chart/chart_test_support.h"
#include "gui/chart/line_series.h"
#include "gui/chart/text_block.h"
#include "gui/chart/vertical_line.h"
#include "gui/views/readout_text.h"
#include "gui/views/strip_test_support.h"

#include <gtest/gtest.h>

#include <QHelpEvent>
#include <QLocale>
#include <QTest>
#include <QToolTip>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <stdexcept>
#include <vector>

namespace faultscope {
namespace {

class AnalogStripTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QLocale::setDefault(QLocale::c());
        time.SetRange(0.0, 20.0);
        strip.resize(1234, 200);
        strip.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&strip));
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    Axis time;
    AnalogStrip strip;
};

TEST_F(AnalogStripTest, ValueLabelsHavePlainDigitsAsTheReadoutsDo) {
    strip.Init(&time, test::MakeAnalogChannel(1, "Ua", "V"), 50.0);
    const Axis& values = *strip.Cht()->LeftAxis();
    EXPECT_EQ(values.FormatValue(1500.0), "1500");
    EXPECT_EQ(values.FormatValue(-123456.789), "-123456.79");
    EXPECT_EQ(values.FormatValue(0.5), "0.5");
}

TEST_F(AnalogStripTest, AWindowOverAGapReadsNoHarmonicsAndNoAngle) {
    // One cycle is 20 samples; sample 100 lies outside the channel's range.
    std::vector<double> x;
    std::vector<double> y;
    std::vector<std::uint8_t> gaps;
    for (int i = 0; i < 200; ++i) {
        x.push_back(i);
        y.push_back(i == 100 ? 99999.0 : 100.0 * std::sin(2 * std::numbers::pi * i / 20));
        gaps.push_back(i == 100 ? 1 : 0);
    }
    const AnalogColumns columns = test::Samples(y, gaps);
    strip.Init(&time, test::MakeAnalogChannel(1, "Ua", "V"), 50.0);
    strip.SetColumns(x, columns);
    strip.SetCursor(110);
    EXPECT_TRUE(strip.ReadoutText().endsWith(
        QStringLiteral("∠ = —\n\r|Y|1 = —\n\r|Y|2 = —\n\r|Y|3 = —\n\r|Y|5 = —\n\r")))
        << strip.ReadoutText().toStdString();
    strip.SetCursor(120);
    EXPECT_TRUE(strip.ReadoutText().contains(QStringLiteral("|Y|1 = 70.71\n\r")))
        << strip.ReadoutText().toStdString();
}

TEST_F(AnalogStripTest, ReadoutShowsTheValuesAtTheCursor) {
    const std::vector<double> x = {-1.0, 0.0, 1.0};
    AnalogColumns columns = test::Samples({7.0, 100.0, 40000.0}, {0, 0, 1});
    // The curves' columns are never read for the numbers: three samples hold no full cycle, so
    // the harmonics read 0 and the angle is undefined.
    columns.harmonics.angle = {65535.0F, 30.5F, 12.0F};
    columns.harmonics.rms1 = {0.0F, 70.71F, 1.0F};
    strip.Init(&time, test::MakeAnalogChannel(1, "Ia", "A"), 50.0);
    strip.SetColumns(x, columns);

    strip.SetCursor(1);
    EXPECT_EQ(strip.ReadoutText(),
              QStringLiteral("Y = 100.00\n\r∠ = —\n\r|Y|1 = 0.00\n\r|Y|2 = 0.00\n\r"
                             "|Y|3 = 0.00\n\r|Y|5 = 0.00\n\r"));
    EXPECT_EQ(strip.Annotation()->Text(), strip.ReadoutText());
    EXPECT_EQ(strip.Cursor()->Value(), 0.0);
    EXPECT_EQ(strip.CursorPoint(), 1);

    // A gap sample says so instead of showing its raw code as a value.
    strip.SetCursor(2);
    EXPECT_TRUE(strip.ReadoutText().startsWith(QStringLiteral("Y = вне диапазона\n\r∠ = —\n\r")));
    EXPECT_EQ(strip.Cursor()->Value(), 1.0);

    // An index outside the samples leaves cursor and readout where they are.
    const QString before = strip.ReadoutText();
    strip.SetCursor(3);
    strip.SetCursor(-1);
    EXPECT_EQ(strip.ReadoutText(), before);
    EXPECT_EQ(strip.CursorPoint(), 2);
}

TEST(Readout, NumbersFollowThePictureAndAnglesStayBelow360) {
    const QLocale c = QLocale::c();
    const struct {
        ReadoutValues values;
        const char16_t* y;
        const char16_t* angle;
    } cases[] = {
        {{.value = -1.00000000000016e-05, .angle = 12.0, .rms1 = 1.0}, u"0.00", u"12.00"},
        {{.value = 2.5, .angle = 359.996, .rms1 = 1.0}, u"2.50", u"0.00"},
        {{.value = 2.5, .angle = 359.994, .rms1 = 1.0}, u"2.50", u"359.99"},
        {{.value = -7.125, .angle = 0.0, .rms1 = 1.0}, u"-7.13", u"0.00"},
        {{.value = 1.0, .angle = 65535.0, .rms1 = 1.0}, u"1.00", u"—"},
        {{.value = 1.0, .angle = 45.0, .rms1 = 0.0}, u"1.00", u"—"},
        {{.value = 1.0, .angle = 160.97, .rms1 = 0.004}, u"1.00", u"—"},
        {{.value = 1.0, .angle = 160.97, .rms1 = 0.005}, u"1.00", u"160.97"},
        {{.value = 999999.0, .gap = true, .angle = 45.0, .rms1 = 3.0}, u"вне диапазона", u"45.00"},
        {{.value = 1.0}, u"1.00", u""},
    };
    for (const auto& item : cases) {
        const QStringList lines = ReadoutText(item.values, c).split(QStringLiteral("\n\r"));
        ASSERT_EQ(lines.size(), 7);
        EXPECT_EQ(lines[0], QStringLiteral("Y = ") + QString::fromUtf16(item.y));
        EXPECT_EQ(lines[1], QStringLiteral("∠ = ") + QString::fromUtf16(item.angle));
    }
}

TEST_F(AnalogStripTest, AHugeValueNeverRunsOntoTheValueLabels) {
    const std::vector<double> x = {0.0};
    strip.Init(&time, test::MakeAnalogChannel(1, "Ia"), 50.0);
    const AnalogColumns columns = test::Samples({-123456789012345.0});
    strip.SetColumns(x, columns);
    strip.Cht()->LeftAxis()->SetRange(-1.0, 1.0);
    strip.SetCursor(0);
    const QImage image = test::Render(*strip.Cht());
    const auto ink = [](QRgb p) { return qGray(p) < 128; };
    // The readout's box ends at 150 px; the value labels stand right of 160.
    for (int column = 152; column < 160; ++column) {
        EXPECT_FALSE(test::RowsWhere(image, column, ink).has_value()) << "column " << column;
    }
}

TEST_F(AnalogStripTest, ReadoutUsesTheRegionalDecimalSeparator) {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const std::vector<double> x = {0.0};
    AnalogColumns columns = test::Samples({100.25});
    strip.Init(&time, test::MakeAnalogChannel(1, "Ia"), 50.0);
    strip.SetColumns(x, columns);
    strip.SetCursor(0);
    EXPECT_TRUE(
        strip.ReadoutText().startsWith(QStringLiteral("Y = 100,25\n\r∠ = —\n\r|Y|1 = 0,00\n\r")));
}

TEST_F(AnalogStripTest, CaptionAndLineColourComeFromTheChannel) {
    const struct {
        const char* ph;
        QColor color;
    } cases[] = {
        {"A", QColor(255, 255, 0)},  {"b", QColor(0, 128, 0)}, {"Bc", QColor(0, 128, 0)},
        {"Ca", QColor(255, 255, 0)}, {"c", QColor(255, 0, 0)}, {"N", QColor(0, 0, 128)},
        {"", QColor(0, 0, 128)},
    };
    for (const auto& item : cases) {
        AnalogStrip one;
        one.Init(&time, test::MakeAnalogChannel(4, "Uab", item.ph), 50.0);
        EXPECT_EQ(one.Series()->Color(), item.color) << item.ph;
    }
    strip.Init(&time, test::MakeAnalogChannel(4, "Ia"), 50.0);
    EXPECT_EQ(strip.AnnotationCaption()->Text(), QStringLiteral("Ia, A"));
    EXPECT_EQ(strip.Cht()->BottomAxis(), &time);
}

TEST_F(AnalogStripTest, ALongCaptionIsCutInItsBoxAndWholeInTheToolTip) {
    const std::string name = "IA of the outgoing line to the northern substation";
    strip.Init(&time, test::MakeAnalogChannel(1, name), 50.0);
    const QImage image = test::Render(*strip.Cht());
    const auto ink = [](QRgb p) { return qGray(p) < 100; };
    // The box is 130 px wide from x = 5; the readout below it starts at y = 35.
    for (int column = 136; column < 160; ++column) {
        const auto rows = test::RowsWhere(image, column, ink);
        EXPECT_FALSE(rows.has_value() && rows->top < 30) << "column " << column;
    }
    QHelpEvent help(QEvent::ToolTip, QPoint(60, 15), strip.Cht()->mapToGlobal(QPoint(60, 15)));
    QApplication::sendEvent(strip.Cht(), &help);
    EXPECT_EQ(QToolTip::text(), QString::fromStdString(name) + QStringLiteral(", A"));
    QToolTip::hideText();
}

// The readout takes its harmonics at the cursor from the defining one-cycle sums in double: it
// is exactly the one the reference computation gives at that sample, before the channel's curves
// are analysed and after (their float columns are for drawing only).
TEST_F(AnalogStripTest, ReadoutIsTheReferenceAtTheCursorWhetherAnalysedOrNot) {
    const std::vector<double> x = test::Times(120);  // 1 kHz: 20 samples a cycle at 50 Hz
    AnalogColumns columns;
    columns.SetRawScale({0.5, 1.0, -30000.0, 30000.0});
    for (const double t : x) {
        columns.AppendRaw(std::nearbyint(200.0 * std::sin(0.1 * M_PI * t + 0.3) +
                                         30.0 * std::sin(0.3 * M_PI * t)));
    }
    strip.Init(&time, test::MakeAnalogChannel(1, "Ia", "A"), 50.0);
    const std::vector<double> values = columns.Values();
    for (const bool analysed : {false, true}) {
        if (analysed) {
            FillHarmonics(x, values, 50.0, columns.harmonics);
        }
        strip.SetColumns(x, columns);
        EXPECT_EQ(strip.SCurrent1()->size(), analysed ? x.size() : 0U);
        for (const std::ptrdiff_t point : {0, 7, 19, 20, 64, 119}) {
            strip.SetCursor(point);
            const auto i = static_cast<std::size_t>(point);
            double angle = 0.0;
            const HarmonicValues rms = CalcCurrentValues(x, values, 50.0, i, angle);
            const QString expected = ReadoutText({.value = values[i],
                                                  .gap = false,
                                                  .angle = angle,
                                                  .rms1 = rms.Current1,
                                                  .rms2 = rms.Current2,
                                                  .rms3 = rms.Current3,
                                                  .rms5 = rms.Current5});
            EXPECT_EQ(strip.ReadoutText(), expected) << point << (analysed ? " analysed" : "");
            EXPECT_NEAR(rms.Current1, 100.0 / std::sqrt(2.0), 0.2) << point;
        }
    }
}

TEST_F(AnalogStripTest, AGapBreaksTheLine) {
    const std::vector<double> x = test::Times(21);
    std::vector<double> values(21, 50.0);
    std::vector<std::uint8_t> gaps(21, 0);
    values[10] = 40000.0;
    gaps[10] = 1;
    AnalogColumns columns = test::Samples(values, gaps);
    strip.Init(&time, test::MakeAnalogChannel(1, "Ia", "A"), 50.0);
    strip.SetColumns(x, columns);
    strip.Cht()->LeftAxis()->SetRange(-100.0, 100.0);
    strip.Cursor()->SetValue(-50.0);

    const QImage image = test::Render(*strip.Cht());
    const auto line = test::IsColor(QColor(255, 255, 0));
    const auto column = [&](double t) { return static_cast<int>(strip.Cht()->XToPixel(t)); };
    EXPECT_TRUE(test::RowsWhere(image, column(5.0), line).has_value());
    EXPECT_TRUE(test::RowsWhere(image, column(8.5), line).has_value());
    for (int c = column(9.0) + 2; c <= column(11.0) - 2; ++c) {
        EXPECT_FALSE(test::RowsWhere(image, c, line).has_value()) << "column " << c;
    }
    EXPECT_TRUE(test::RowsWhere(image, column(15.0), line).has_value());
}

TEST_F(AnalogStripTest, ThePlotStartsAtTheCommonColumnAndTheCursorIsRed) {
    const std::vector<double> x = test::Times(21);
    const AnalogColumns columns = test::Samples(std::vector<double>(21, 0.0));
    strip.Init(&time, test::MakeAnalogChannel(1, "Ia"), 50.0);
    strip.SetColumns(x, columns);
    strip.SetCursor(10);
    EXPECT_EQ(strip.Cht()->PlotRect().left(), kStripPlotLeft);
    const QImage image = test::Render(*strip.Cht());
    const int column = static_cast<int>(strip.Cht()->XToPixel(10.0));
    const auto red = test::RowsWhere(image, column, test::IsColor(Qt::red));
    ASSERT_TRUE(red.has_value());
    EXPECT_LE(red->top, 3);
    EXPECT_GE(red->bottom, strip.Cht()->height() - 2);
}

TEST_F(AnalogStripTest, ValueScrollingStopsTenUnitsBeyondTheData) {
    const std::vector<double> x = test::Times(3);
    AnalogColumns columns = test::Samples({0.0, 100.0, 50.0});
    columns.harmonics.rms1 = {0.0, 200.0, 0.0};
    strip.Init(&time, test::MakeAnalogChannel(1, "Ia"), 50.0);
    strip.SetColumns(x, columns);
    Axis* values = strip.Cht()->LeftAxis();
    values->SetRange(0.0, 100.0);

    // The up arrow of the value scroll bar steps by a tenth of the range.
    const QPoint upArrow(kStripPlotLeft - 8, strip.Cht()->PlotRect().top() + 4);
    QTest::mouseClick(strip.Cht(), Qt::LeftButton, {}, upArrow);
    EXPECT_EQ(values->Maximum(), 110.0);
    QTest::mouseClick(strip.Cht(), Qt::LeftButton, {}, upArrow);
    EXPECT_EQ(values->Maximum(), 110.0);

    // A shown harmonic widens the limits.
    strip.SetHarmonicVisible(1, true);
    EXPECT_TRUE(strip.HarmonicVisible(1));
    EXPECT_TRUE(strip.SCurrent1()->IsActive());
    QTest::mouseClick(strip.Cht(), Qt::LeftButton, {}, upArrow);
    EXPECT_EQ(values->Maximum(), 120.0);

    EXPECT_TRUE(strip.AxScrollBar()->ScrollTo(-10.0, 50.0));
    EXPECT_FALSE(strip.AxScrollBar()->ScrollTo(-10.5, 50.0));
    EXPECT_FALSE(strip.AxScrollBar()->ScrollTo(0.0, 210.5));
    strip.SetHarmonicVisible(1, false);
    EXPECT_FALSE(strip.AxScrollBar()->ScrollTo(0.0, 200.0));
    EXPECT_THROW(strip.SetHarmonicVisible(4, true), std::invalid_argument);
    EXPECT_FALSE(strip.SAngle()->IsActive());
}

TEST_F(AnalogStripTest, TheGripSetsTheHeight) {
    strip.Init(&time, test::MakeAnalogChannel(1, "Ia"), 50.0);
    strip.SetHeight(100);
    QApplication::processEvents();
    QWidget* grip = strip.pnlResize();
    ASSERT_EQ(grip->height(), 2);
    EXPECT_EQ(grip->cursor().shape(), Qt::SplitVCursor);
    EXPECT_EQ(grip->mapTo(&strip, QPoint(0, 0)).y(), 98);

    QTest::mousePress(grip, Qt::LeftButton, {}, QPoint(20, 1));
    QTest::mouseMove(grip, QPoint(20, 61));
    EXPECT_EQ(strip.height(), 159);
    QTest::mouseMove(grip, QPoint(20, -1000));
    EXPECT_EQ(strip.height(), AnalogStrip::kMinHeight);
    QTest::mouseRelease(grip, Qt::LeftButton, {}, QPoint(20, -1000));
    QTest::mouseMove(grip, QPoint(20, 300));
    EXPECT_EQ(strip.height(), AnalogStrip::kMinHeight);
}

}  // namespace
}  // namespace faultscope
