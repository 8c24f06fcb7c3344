#include "gui/dialogs/series_color_row.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <memory>
#include <vector>

#include "gui/chart/axis.h"
#include "gui/chart/chart_test_support.h"
#include "gui/chart/line_series.h"
#include "gui/dialogs/series_color_rows.h"
#include "gui/views/analog_strip.h"
#include "gui/views/strip_test_support.h"
#include "gui/widgets/color_button.h"
#include "support/modal_dialog.h"

namespace faultscope {
namespace {

// Saves a picture of `widget` as NAME.png in the folder named by FAULTSCOPE_SHOT_DIR, when set.
void Shoot(QWidget* widget, const char* name) {
    const QString folder = qEnvironmentVariable("FAULTSCOPE_SHOT_DIR");
    if (!folder.isEmpty()) {
        widget->grab().save(QDir(folder).filePath(QString(name) + ".png"));
    }
}

int CountPixels(const QImage& image, QColor color) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixelColor(x, y) == color ? 1 : 0;
        }
    }
    return count;
}

class SeriesColorItemTest : public ::testing::Test {
  protected:
    void SetUp() override {
        time_.SetRange(0.0, 40.0);
        for (std::size_t i = 0; i < x_.size(); ++i) {
            x_[i] = static_cast<double>(i) * 0.1;
            values_[i] = 100.0 * std::sin(static_cast<double>(i) * 0.05);
        }
        columns_ = test::Samples(values_);
    }

    // A shown strip of channel `an` with phase `ph`, drawing a sine.
    std::unique_ptr<AnalogStrip> MakeStrip(std::uint32_t an, const std::string& id,
                                           const std::string& ph) {
        auto strip = std::make_unique<AnalogStrip>();
        strip->Init(&time_, test::MakeAnalogChannel(an, id, ph), 50.0);
        strip->SetColumns(x_, columns_);
        strip->Cht()->LeftAxis()->SetRange(-120.0, 120.0);
        strip->resize(800, 150);
        strip->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(strip.get()));
        return strip;
    }

    // Opens the row's colour menu and clicks the swatch of `color`.
    static void PickFromPalette(SeriesColorRow& row, const QColor& color) {
        const auto& colors = ColorButton::StandardColors();
        const auto at = std::find(colors.begin(), colors.end(), color) - colors.begin();
        ASSERT_LT(static_cast<std::size_t>(at), colors.size());
        test::OnPopup<QMenu>([&row, at](QMenu* menu) {
            Shoot(menu, "series_color_menu");
            QTest::mouseClick(row.btnColor()->Swatches()[static_cast<std::size_t>(at)],
                              Qt::LeftButton);
        });
        QTest::mouseClick(row.btnColor(), Qt::LeftButton);
    }

    // Opens the row's colour menu, chooses "Другой…" and answers the colour dialog.
    static void PickOther(SeriesColorRow& row, const QColor& color, bool accept) {
        test::OnPopup<QMenu>([&row](QMenu* menu) {
            QAction* other = row.btnColor()->actOther();
            EXPECT_EQ(other->text(), "Другой…");
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(other).center());
        });
        test::OnModal<QColorDialog>([color, accept](QColorDialog* dialog) {
            dialog->setCurrentColor(color);
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            QTest::mouseClick(
                buttons->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel),
                Qt::LeftButton);
        });
        QTest::mouseClick(row.btnColor(), Qt::LeftButton);
    }

    Axis time_;
    std::vector<double> x_ = std::vector<double>(400);
    std::vector<double> values_ = std::vector<double>(400);
    AnalogColumns columns_;
};

TEST_F(SeriesColorItemTest, ARowShowsTheChannelAndItsCurveColour) {
    const auto strip = MakeStrip(7, "Ia (ВЛ-110)", "A");
    SeriesColorRow row;
    row.resize(300, 40);
    row.AssignFrame(strip.get());
    row.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&row));

    EXPECT_EQ(row.objectName(), "frmSeriesColorItem7");
    EXPECT_EQ(row.lblCaption()->text(), "Ia (ВЛ-110)");
    EXPECT_EQ(row.btnColor()->Color(), QColor(255, 255, 0));
    EXPECT_EQ(row.height(), 24);
    EXPECT_EQ(row.pnl()->geometry(), QRect(0, 1, 300, 22));
    EXPECT_EQ(row.lblCaption()->x(), 5);
    EXPECT_EQ(row.btnColor()->geometry().right(), 300 - 5 - 1);
    const QRect label = row.lblCaption()->geometry();
    EXPECT_EQ(label.center().y(), row.pnl()->rect().center().y());
}

TEST_F(SeriesColorItemTest, APickedColourRecoloursTheStripAtOnce) {
    const auto strip = MakeStrip(1, "Ia", "A");
    const QColor yellow(255, 255, 0);
    const QColor blue(0, 0, 255);
    const QColor own(10, 200, 30);
    ASSERT_GT(CountPixels(strip->grab().toImage(), yellow), 50);
    ASSERT_EQ(CountPixels(strip->grab().toImage(), blue), 0);

    SeriesColorRows rows;
    rows.resize(300, 200);
    rows.show();
    SeriesColorRow* row = rows.AddColorItem(strip.get());
    PickFromPalette(*row, blue);
    EXPECT_EQ(row->btnColor()->Color(), blue);
    EXPECT_EQ(strip->Series()->Color(), blue);
    QImage shown = strip->grab().toImage();
    EXPECT_GT(CountPixels(shown, blue), 50);
    EXPECT_EQ(CountPixels(shown, yellow), 0);

    PickOther(*row, own, false);
    EXPECT_EQ(strip->Series()->Color(), blue) << "a cancelled dialog changes nothing";
    PickOther(*row, own, true);
    EXPECT_EQ(row->btnColor()->Color(), own);
    shown = strip->grab().toImage();
    EXPECT_GT(CountPixels(shown, own), 50);
    EXPECT_EQ(CountPixels(shown, blue), 0);

    // A refill of the page shows the curve's new colour.
    rows.Clear();
    EXPECT_EQ(rows.AddColorItem(strip.get())->btnColor()->Color(), own);
}

TEST_F(SeriesColorItemTest, RowsStackFromTheTopAndEverySecondIsLightGrey) {
    std::vector<std::unique_ptr<AnalogStrip>> strips;
    SeriesColorRows rows;
    rows.resize(300, 200);
    for (std::uint32_t an = 1; an <= 4; ++an) {
        strips.push_back(MakeStrip(an, test::Numbered('I', an), ""));
        rows.AddColorItem(strips.back().get());
    }
    rows.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&rows));
    Shoot(&rows, "series_color_rows");
    const QImage image = rows.grab().toImage();
    const QColor page = rows.palette().color(QPalette::Window);
    ASSERT_NE(page, QColor(234, 234, 234));
    ASSERT_EQ(rows.Items().size(), 4U);
    for (int i = 0; i < 4; ++i) {
        const SeriesColorRow* row = rows.Items()[static_cast<std::size_t>(i)];
        EXPECT_EQ(row->y(), 24 * i);
        EXPECT_EQ(row->lblCaption()->text(), QString("I%1").arg(i + 1));
        EXPECT_EQ(row->objectName(), QString("frmSeriesColorItem%1").arg(i + 1));
        const QColor expected = i % 2 == 1 ? QColor(234, 234, 234) : page;
        EXPECT_EQ(image.pixelColor(2, 24 * i + 5), expected) << "row " << i;
    }
    rows.Clear();
    EXPECT_TRUE(rows.Items().empty());
    EXPECT_TRUE(rows.findChildren<SeriesColorRow*>().isEmpty());
}

}  // namespace
}  // namespace faultscope
