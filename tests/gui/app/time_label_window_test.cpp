// Time labels on the demo record, driven as a person does: the add command, drags of the lines
// and of the bar, the grip of the label panel, the edit dialog, closing.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QButtonGroup>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QToolButton>
#include <cmath>

#include "gui/chart/axis.h"
#include "gui/chart/chart.h"
#include "gui/chart/text_block.h"
#include "gui/chart/vertical_line.h"
#include "gui/dialogs/time_label_dialog.h"
#include "gui/views/analog_strip.h"
#include "gui/views/analog_strip_list.h"
#include "gui/views/discrete_strip.h"
#include "gui/views/discrete_strip_list.h"
#include "gui/views/label_color_pool.h"
#include "gui/views/time_label.h"
#include "gui/views/time_label_list.h"
#include "gui/views/time_line.h"
#include "support/main_window_fixture.h"
#include "support/modal_dialog.h"

namespace faultscope {
namespace {

constexpr double kStep = 0.5;  // ms between the demo's samples

bool OnSample(double ms) {
    const double n = (ms + 100.0) / kStep;
    return std::abs(n - std::round(n)) < 1e-9;
}

QString Delta(double ms) {
    return QStringLiteral("∆T= ") + QLocale().toString(ms, 'g', 15);
}

class TimeLabelTest : public test::MainWindowFixture {
  protected:
    QString RecordToOpen() const override { return test::DemoRecord(); }
    TimeLabel* Add() {
        Trigger("actAddTimeLabel");
        return doc_->TimeLabels()->List().back();
    }
    QPoint At(TimeLabel* label, double ms, int y = -1) {
        Chart* cht = label->Cht();
        return {static_cast<int>(std::lround(cht->XToPixel(ms))), y < 0 ? cht->height() / 2 : y};
    }
    // Drags a line of `label` from its time to the pixel of `ms`, checking in the middle of the
    // move that the copies on the strips have not moved yet.
    void DragLine(TimeLabel* label, VerticalLine* line, double ms) {
        const double before = line->Value();
        QTest::mousePress(label->Cht(), Qt::LeftButton, {}, At(label, before));
        QTest::mouseMove(label->Cht(), At(label, ms));
        const auto& copies = line == label->LineLeft() ? label->LeftLines() : label->RightLines();
        for (const VerticalLine* copy : copies) {
            EXPECT_EQ(copy->Value(), before);
        }
        QTest::mouseRelease(label->Cht(), Qt::LeftButton, {}, At(label, ms));
    }
    static int CopiesOn(Chart* chart) {
        int n = 0;
        for (const Tool* tool : chart->Tools()) {
            n += tool->objectName().startsWith("LeftLine") ||
                 tool->objectName().startsWith("RigthLine");
        }
        return n;
    }
};

TEST_F(TimeLabelTest, TheCommandAddsUpToSixLabelsSpanningTheVisibleRangeOnEveryChart) {
    for (int i = 0; i < 7; ++i) {
        Trigger("actAddTimeLabel");
    }
    TimeLabelList* list = doc_->TimeLabels();
    ASSERT_EQ(list->List().size(), 6u);
    EXPECT_TRUE(window_->PnlTimeLabel()->isVisible());
    EXPECT_EQ(list->TotalH(), 6 * 18);
    EXPECT_EQ(window_->PnlTimeLabel()->height(), 6 * 18 + 6);
    // Stacked in creation order.
    for (std::size_t i = 1; i < list->List().size(); ++i) {
        EXPECT_GT(list->List()[i]->y(), list->List()[i - 1]->y());
    }
    TimeLabel* first = list->List().front();
    // One pixel column means one time in the label strips and on the time line.
    const Chart* line = doc_->TimeLineView()->Cht();
    for (const double ms : {-100.0, 399.5}) {
        EXPECT_EQ(first->Cht()->mapTo(window_, QPointF(first->Cht()->XToPixel(ms), 0)).x(),
                  line->mapTo(window_, QPointF(line->XToPixel(ms), 0)).x());
    }
    EXPECT_EQ(first->LineLeft()->Value(), -100.0);
    EXPECT_EQ(first->LineRight()->Value(), 399.5);
    EXPECT_EQ(first->LblDelta()->Text(), Delta(499.5));
    // Every analog and discrete strip and the time line carry a copy of both lines per label.
    EXPECT_EQ(CopiesOn(doc_->TimeLineView()->Cht()), 12);
    for (const AnalogStrip* strip : doc_->AnalogStrips()->ChtList()) {
        EXPECT_EQ(CopiesOn(strip->Cht()), 12);
    }
    for (const DiscreteStrip* strip : doc_->DiscreteStrips()->DisplayList()) {
        EXPECT_EQ(CopiesOn(strip->Cht()), 12);
    }
    EXPECT_EQ(first->LeftLines().size(), 1 + doc_->AnalogStrips()->ChtList().size() +
                                             doc_->DiscreteStrips()->DisplayList().size());
}

TEST_F(TimeLabelTest, ALineDragSnapsToSamplesStopsAtTheOtherLineAndTheRecordEnds) {
    TimeLabel* label = Add();
    DragLine(label, label->LineLeft(), 50.2);
    const double left = label->LineLeft()->Value();
    EXPECT_TRUE(OnSample(left)) << left;
    EXPECT_NEAR(left, 50.2, 1.0);
    EXPECT_EQ(label->LblDelta()->Text(), Delta(399.5 - left));
    for (const VerticalLine* copy : label->LeftLines()) {
        EXPECT_EQ(copy->Value(), left);
    }
    DragLine(label, label->LineRight(), 0.0);  // past the left line
    EXPECT_EQ(label->LineRight()->Value(), left);
    EXPECT_EQ(label->LblDelta()->Text(), Delta(0.0));
    DragLine(label, label->LineRight(), 500.0);  // beyond the record's end, inside the plot
    EXPECT_EQ(label->LineRight()->Value(), 399.5);
    DragLine(label, label->LineLeft(), -130.0);  // before the record's start
    EXPECT_EQ(label->LineLeft()->Value(), -100.0);
}

TEST_F(TimeLabelTest, ABarDragMovesBothLinesTogetherAndStopsAtTheRecordEnd) {
    TimeLabel* label = Add();
    DragLine(label, label->LineLeft(), 0.0);
    DragLine(label, label->LineRight(), 100.0);
    label->Cht()->grab();  // the bar is where it was last painted
    const QRect bar = label->MiddleRect();
    ASSERT_GT(bar.width(), 40);
    const QPoint grab(bar.center().x(), bar.center().y());
    const double left = label->LineLeft()->Value();
    const double right = label->LineRight()->Value();
    QTest::mousePress(label->Cht(), Qt::LeftButton, {}, grab);
    for (int dx = 10; dx <= 60; dx += 10) {
        QTest::mouseMove(label->Cht(), grab + QPoint(dx, 0));
    }
    EXPECT_EQ(label->LeftLines().front()->Value(), left);  // copies wait for the release
    QTest::mouseRelease(label->Cht(), Qt::LeftButton, {}, grab + QPoint(60, 0));
    const double moved = label->Cht()->PixelToX(grab.x() + 60) - label->Cht()->PixelToX(grab.x());
    // The first movement puts each line on its bar edge, two pixels inside the line.
    const double edge = label->Cht()->PixelToX(bar.left()) - label->Cht()->PixelToX(bar.left() - 2);
    EXPECT_NEAR(label->LineLeft()->Value() - left, moved + edge, 2 * kStep);
    EXPECT_NEAR(label->LineRight()->Value() - right, moved - edge, 2 * kStep);
    EXPECT_EQ(label->LeftLines().front()->Value(), label->LineLeft()->Value());
    EXPECT_EQ(label->LblDelta()->Text(),
              Delta(label->LineRight()->Value() - label->LineLeft()->Value()));

    // Against the record's end the right line stops while the left one keeps moving.
    label->Cht()->grab();
    const QPoint again = label->MiddleRect().center();
    QTest::mousePress(label->Cht(), Qt::LeftButton, {}, again);
    QTest::mouseMove(label->Cht(), again + QPoint(label->Cht()->width(), 0));
    QTest::mouseRelease(label->Cht(), Qt::LeftButton, {}, again);
    EXPECT_EQ(label->LineRight()->Value(), 399.5);
    EXPECT_EQ(label->LineLeft()->Value(), 399.5);
}

TEST_F(TimeLabelTest, AZoomKeepsTheTimesAndCutsTheBarAtTheVisibleEnd) {
    TimeLabel* label = Add();
    Trigger("actXZoomIn");
    Trigger("actXZoomIn");
    const Axis* axis = doc_->TimeLineView()->BottomAxis();
    ASSERT_GT(axis->Minimum(), -100.0);
    EXPECT_EQ(label->LineLeft()->Value(), -100.0);
    EXPECT_EQ(label->LineRight()->Value(), 399.5);
    label->Cht()->grab();
    Chart* cht = label->Cht();
    EXPECT_EQ(label->MiddleRect().left(), std::lround(cht->XToPixel(axis->Minimum())));
    EXPECT_EQ(label->MiddleRect().right() + 1, std::lround(cht->XToPixel(axis->Maximum())));
    // The label's picture has the bar colour right of the visible start, no line there.
    const QImage image = label->Cht()->grab().toImage();
    const int x = label->MiddleRect().left() + 3;
    EXPECT_EQ(image.pixelColor(x, 8), ToQColor(label->LabelColor()));
}

TEST_F(TimeLabelTest, TheCursorLineFollowsAClickOnAStrip) {
    TimeLabel* label = Add();
    Chart* cht = doc_->AnalogStrips()->ChtList()[0]->Cht();
    QTest::mouseClick(cht, Qt::LeftButton, {}, QPoint(std::lround(cht->XToPixel(123.4)), 20));
    EXPECT_EQ(label->Cursor()->Value(), doc_->TimeLineView()->CursorValue());
    EXPECT_NEAR(label->Cursor()->Value(), 123.4, kStep);
}

TEST_F(TimeLabelTest, ClosingReturnsTheColourShrinksAndFinallyHidesThePanel) {
    const ColorTable table = DefaultColorTable();
    TimeLabel* first = Add();
    TimeLabel* second = Add();
    EXPECT_EQ(first->LabelColor(), table[9]);
    EXPECT_EQ(second->LabelColor(), table[8]);
    QWidget* panel = window_->PnlTimeLabel();
    ASSERT_EQ(panel->height(), 2 * 18 + 6);
    QTest::mouseClick(first->BtnClose2(), Qt::LeftButton);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(doc_->TimeLabels()->List().size(), 1u);
    EXPECT_EQ(panel->height(), 18 + 6);
    EXPECT_EQ(CopiesOn(doc_->TimeLineView()->Cht()), 2);
    TimeLabel* third = Add();
    EXPECT_EQ(third->LabelColor(), table[9]);  // the colour released last comes first

    // The panel shrinks only when it was taller than its labels.
    QTest::mouseClick(doc_->TimeLabels()->List().front()->BtnClose2(), Qt::LeftButton);
    QApplication::processEvents();
    panel->setFixedHeight(10);
    QTest::mouseClick(doc_->TimeLabels()->List().front()->BtnClose2(), Qt::LeftButton);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(doc_->TimeLabels()->List().empty());
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(CopiesOn(doc_->AnalogStrips()->ChtList()[0]->Cht()), 0);
}

TEST_F(TimeLabelTest, ThePanelGripStaysBetweenItsGripAndTheLabels) {
    Add();
    Add();
    QWidget* grip = window_->PnlTResize();
    QWidget* panel = window_->PnlTimeLabel();
    const auto dragTo = [&](int yInPanel) {
        QTest::mousePress(grip, Qt::LeftButton, {}, QPoint(5, 1));
        const QPoint to = grip->mapFrom(panel, QPoint(5, yInPanel));
        QMouseEvent move(QEvent::MouseMove, to, grip->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(grip, &move);
        QTest::mouseRelease(grip, Qt::LeftButton, {}, to);
    };
    dragTo(-40);
    EXPECT_EQ(panel->height(), 6);
    dragTo(400);
    EXPECT_EQ(panel->height(), 2 * 18 + 6);
    dragTo(20);
    EXPECT_EQ(panel->height(), 20);
}

TEST_F(TimeLabelTest, TheDialogCouplesItsFieldsAndAppliesThroughTheLineRules) {
    TimeLabel* label = Add();
    bool ran = false;
    test::OnModal<TimeLabelDialog>([&](TimeLabelDialog* dialog) {
        ran = true;
        EXPECT_EQ(dialog->windowTitle(), "Временная метка");
        EXPECT_DOUBLE_EQ(dialog->EdtMin()->value(), -100.0);
        EXPECT_DOUBLE_EQ(dialog->EdtDelta()->value(), 499.5);
        dialog->RgConst()->button(2)->click();  // "Дельта" held
        EXPECT_TRUE(dialog->EdtDelta()->isReadOnly());
        EXPECT_FALSE(dialog->EdtMin()->isReadOnly());
        dialog->RgConst()->button(0)->click();
        dialog->EdtDelta()->setValue(20.0);  // nothing held: the maximum follows the delta
        EXPECT_DOUBLE_EQ(dialog->EdtMax()->value(), -80.0);
        dialog->RgConst()->button(2)->click();
        dialog->EdtMin()->setValue(10.2);  // the delta held: the maximum moves with the minimum
        EXPECT_DOUBLE_EQ(dialog->EdtMax()->value(), 30.2);
        EXPECT_DOUBLE_EQ(dialog->EdtDelta()->value(), 20.0);
        dialog->BtnApply()->click();
        EXPECT_EQ(label->LineLeft()->Value(), 10.0);  // on the nearest sample
        EXPECT_EQ(label->LineRight()->Value(), 30.0);
        EXPECT_EQ(label->LeftLines().back()->Value(), 10.0);
        EXPECT_EQ(label->LblDelta()->Text(), Delta(20.0));
        // A minimum above the maximum and beyond the record: the rules pull both back.
        dialog->RgConst()->button(0)->click();
        dialog->EdtMax()->setValue(900.0);
        dialog->EdtMin()->setValue(950.0);
        dialog->BtnApply()->click();
        EXPECT_EQ(label->LineLeft()->Value(), 399.5);
        EXPECT_EQ(label->LineRight()->Value(), 399.5);
        dialog->close();
    });
    QTest::mouseDClick(label->Cht(), Qt::LeftButton, {}, At(label, 200.0, 2));
    EXPECT_TRUE(ran);
    // The choice is remembered for the next dialog.
    EXPECT_EQ(ini_->ReadInteger("frmTLableEdit", "rgConst_ItemIndex", -1), 0);
}

TEST_F(TimeLabelTest, ARememberedChoiceOpensWithTheLabelsValuesAndApplyKeepsThem) {
    TimeLabel* label = Add();
    for (const int held : {1, 2, 3}) {
        SCOPED_TRACE(held);
        ini_->WriteInteger("frmTLableEdit", "rgConst_ItemIndex", held);
        bool ran = false;
        test::OnModal<TimeLabelDialog>([&](TimeLabelDialog* dialog) {
            ran = true;
            EXPECT_TRUE(dialog->RgConst()->button(held)->isChecked());
            EXPECT_DOUBLE_EQ(dialog->EdtMin()->value(), -100.0);
            EXPECT_DOUBLE_EQ(dialog->EdtDelta()->value(), 499.5);
            EXPECT_DOUBLE_EQ(dialog->EdtMax()->value(), 399.5);
            dialog->BtnApply()->click();
            EXPECT_EQ(label->LineLeft()->Value(), -100.0);
            EXPECT_EQ(label->LineRight()->Value(), 399.5);
            dialog->close();
        });
        QTest::mouseDClick(label->Cht(), Qt::LeftButton, {}, At(label, 200.0, 2));
        EXPECT_TRUE(ran);
    }
}

}  // namespace
}  // namespace faultscope
