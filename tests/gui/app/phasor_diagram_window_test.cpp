// Vector diagrams of the demo record opened from the main window, following clicks on the
// strips, copied as pictures, with a zone and a user polygon from their dialog.
#include <gtest/gtest.h>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>
#include <QToolButton>
#include <cmath>
#include <map>

#include "core/analysis/phasor_math.h"
#include "core/analysis/zone_characteristic.h"
#include "core/analysis/zone_points_file.h"
#include "gui/chart/arrow_series.h"
#include "gui/chart/axis.h"
#include "gui/chart/chart.h"
#include "gui/chart/point_series.h"
#include "gui/chart/vertical_line.h"
#include "gui/dialogs/zone_dialog.h"
#include "gui/views/analog_strip.h"
#include "gui/views/analog_strip_list.h"
#include "gui/views/phasor_diagram.h"
#include "gui/views/phasor_source.h"
#include "support/main_window_fixture.h"

namespace faultscope {
namespace {

class DiagramTest : public test::MainWindowFixture {
  protected:
    QString RecordToOpen() const override { return test::DemoRecord(); }
    PhasorDiagram* Open(const char* action = "actRoundOscil") {
        const std::size_t before = doc_->PhasorDiagrams().size();
        Trigger(action);
        EXPECT_EQ(doc_->PhasorDiagrams().size(), before + 1);
        return doc_->PhasorDiagrams().back();
    }
    void ClickStrip(double ms) {
        Chart* cht = doc_->AnalogStrips()->ChtList()[0]->Cht();
        QTest::mouseClick(cht, Qt::LeftButton, {}, QPoint(std::lround(cht->XToPixel(ms)), 30));
    }
    // Each arrow is the RMS of the fundamental at the cursor in the direction of its angle,
    // scaled so that the largest of its kind (the demo's currents in A, voltages in kV) is as
    // long as the largest of all.
    void ExpectArrowsAtCursor(const PhasorDiagram& d, bool rms = true) {
        const auto& strips = doc_->AnalogStrips()->ChtList();
        const auto& arrows = d.SArrow()->Arrows();
        ASSERT_EQ(arrows.size(), strips.size());
        std::map<QuantityKind, double> kindMax;
        double largest = 0.0;
        for (const AnalogStrip* strip : strips) {
            const PhasorReading r = *PhasorAtCursor(*strip);
            const double m = std::abs(rms ? r.rms1 : r.value);
            double& kind = kindMax[KindOfUnit(strip->Info().uu)];
            kind = std::max(kind, m);
            largest = std::max(largest, m);
        }
        EXPECT_EQ(kindMax.size(), 2u);
        for (std::size_t i = 0; i < strips.size(); ++i) {
            const PhasorReading r = *PhasorAtCursor(*strips[i]);
            const double m =
                (rms ? r.rms1 : r.value) * largest / kindMax[KindOfUnit(strips[i]->Info().uu)];
            const double phi = r.angle * M_PI / 180.0;
            EXPECT_NEAR(arrows[i].to.x(), m * std::cos(phi), 1e-9 * (1 + std::abs(m)));
            EXPECT_NEAR(arrows[i].to.y(), m * std::sin(phi), 1e-9 * (1 + std::abs(m)));
        }
    }
};

TEST_F(DiagramTest, ADiagramFollowsTheCursorWhileItsBoxIsTicked) {
    PhasorDiagram* d = Open();
    // The caption names the record the diagram belongs to.
    EXPECT_EQ(d->windowTitle(), "Круговая диаграмма — " + window_->windowTitle());
    EXPECT_EQ(d->Items().size(), doc_->AnalogStrips()->ChtList().size());
    ExpectArrowsAtCursor(*d);
    ClickStrip(30.0);
    ASSERT_NEAR(doc_->AnalogStrips()->ChtList()[0]->Cursor()->Value(), 30.0, 0.5);
    ExpectArrowsAtCursor(*d);
    EXPECT_EQ(d->PnlT()->text(), "T=30.0");
    // The scale is the longest arrow.
    double longest = 0.0;
    for (const auto& arrow : d->SArrow()->Arrows()) {
        longest = std::max(longest, std::hypot(arrow.to.x(), arrow.to.y()));
    }
    EXPECT_NEAR(d->Cht()->LeftAxis()->Maximum(), 1.1 * longest, 1e-9 * longest);

    // Cleared, it stays at its sample; a new angle mode redraws it at the strips' cursor.
    d->Chk()->click();
    const auto before = d->SArrow()->Arrows();
    ClickStrip(120.0);
    EXPECT_EQ(d->SArrow()->Arrows().front().to, before.front().to);
    EXPECT_EQ(d->PnlT()->text(), "T=30.0");
    d->Rb180()->click();
    ExpectArrowsAtCursor(*d);
    EXPECT_EQ(d->PnlT()->text(), "T=120.0");
}

TEST_F(DiagramTest, InstantaneousDiagramsAndClosingOneOfSeveral) {
    PhasorDiagram* rms = Open();
    PhasorDiagram* values = Open("actRoundOscilCurentValue");
    ClickStrip(10.0);
    ExpectArrowsAtCursor(*values, false);
    ExpectArrowsAtCursor(*rms, true);
    values->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(doc_->PhasorDiagrams().size(), 1u);
    EXPECT_EQ(doc_->PhasorDiagrams().front(), rms);
    ClickStrip(20.0);  // the closed one is no longer asked
    ExpectArrowsAtCursor(*rms, true);
}

TEST_F(DiagramTest, CtrlAltROnlyResetsTheValueZoom) {
    Trigger("actYZoomIn");
    const double zoomed = doc_->AnalogStrips()->Zoom().max;
    QTest::keyClick(main_.get(), Qt::Key_R, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_GT(doc_->AnalogStrips()->Zoom().max, zoomed);
    EXPECT_TRUE(doc_->PhasorDiagrams().empty());
    EXPECT_TRUE(main_->Action("actRoundOscil")->shortcut().isEmpty());
    EXPECT_EQ(main_->PhasorPanelMenu()->actions().front(),
              main_->Action("actRoundOscilCurentValue"));
}

TEST_F(DiagramTest, NoShownChannelIsToldAndOpensNothing) {
    for (AnalogStrip* strip : doc_->AnalogStrips()->ChtList()) {
        strip->hide();
    }
    Trigger("actRoundOscil");
    EXPECT_TRUE(doc_->PhasorDiagrams().empty());
    ASSERT_EQ(messages_.texts.size(), 1u);
    EXPECT_EQ(messages_.texts.front(), "Не выбрано не одного канала");
}

TEST_F(DiagramTest, RebuiltWithNoShownChannelItIsToldAndCloses) {
    PhasorDiagram* d = Open();
    for (AnalogStrip* strip : doc_->AnalogStrips()->ChtList()) {
        strip->hide();
    }
    d->ImgUpdate()->click();
    QApplication::processEvents();
    EXPECT_TRUE(doc_->PhasorDiagrams().empty());
    ASSERT_EQ(messages_.texts.size(), 1u);
    EXPECT_EQ(messages_.texts.front(), "Не выбрано не одного канала");
}

TEST_F(DiagramTest, TheLegendNamesUnitsAndShowsWholeValues) {
    PhasorDiagram* d = Open();
    d->resize(437, 300);
    QApplication::processEvents();
    ASSERT_EQ(d->Items().size(), 8u);
    EXPECT_EQ(d->Items()[0]->findChild<QLabel*>("lblName")->text(),
              "IA ВЛ-110, А");  // the record's units are Cyrillic
    EXPECT_EQ(d->Items()[3]->findChild<QLabel*>("lblName")->text(), "UA СШ-110, кВ");
    for (const PhasorLegendRow* item : d->Items()) {
        const QLabel* value = item->LblValue();
        EXPECT_GE(value->width(),
                  value->fontMetrics().horizontalAdvance(QStringLiteral("5357.5∠0°")))
            << value->text().toStdString();
        EXPECT_GE(value->width(), value->fontMetrics().horizontalAdvance(value->text()))
            << value->text().toStdString();
    }
}

TEST_F(DiagramTest, ToolWindowsOpenOverTheirRecordAndHideWhileAnotherIsActive) {
    PhasorDiagram* first = Open();
    PhasorDiagram* second = Open();
    const QRect screen = window_->screen()->availableGeometry();
    const QRect record(window_->mapToGlobal(QPoint(0, 0)), window_->size());
    for (const PhasorDiagram* d : {first, second}) {
        EXPECT_TRUE(screen.contains(d->geometry()));
        EXPECT_TRUE(record.intersects(d->geometry()));
    }
    EXPECT_NE(first->pos(), second->pos());  // cascaded, not on one spot
    first->ImgAdd()->click();
    ASSERT_NE(ZoneDialogOf(first), nullptr);
    EXPECT_TRUE(screen.contains(ZoneDialogOf(first)->geometry()));

    // Focus in a tool window leaves the area without an active window: nothing hides.
    emit main_->MdiArea()->subWindowActivated(nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(ZoneDialogOf(first)->isVisible());

    // Another record comes forward: this one's tool windows go and come back with it.
    QMdiSubWindow* mineFrame = main_->MdiArea()->activeSubWindow();
    OpenLoaded(test::DemoRecord());
    QApplication::processEvents();
    EXPECT_FALSE(first->isVisible());
    EXPECT_FALSE(second->isVisible());
    EXPECT_FALSE(ZoneDialogOf(first)->isVisible());
    main_->MdiArea()->setActiveSubWindow(mineFrame);
    QApplication::processEvents();
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(ZoneDialogOf(first)->isVisible());
    // Minimised, the record takes them along.
    mineFrame->showMinimized();
    QApplication::processEvents();
    EXPECT_FALSE(first->isVisible());
}

TEST_F(DiagramTest, CtrlCPutsThePictureOnTheClipboard) {
    PhasorDiagram* d = Open();
    QApplication::clipboard()->clear();
    d->activateWindow();
    QTest::keyClick(d, Qt::Key_C, Qt::ControlModifier);
    const QImage image = QApplication::clipboard()->image();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), d->grab().size());
}

class ZoneTest : public DiagramTest {
  protected:
    void SetUp() override {
        DiagramTest::SetUp();
        diagram_ = Open();
        diagram_->ImgAdd()->click();
        dialog_ = ZoneDialogOf(diagram_);
        ASSERT_NE(dialog_, nullptr);
        dialog_->SetFileChooser([this](QWidget*, bool) { return chosen_; });
    }
    static void Type(QDoubleSpinBox* field, double value) {
        field->selectAll();
        QTest::keyClicks(field, QLocale().toString(value));
        QTest::keyClick(field, Qt::Key_Enter);
    }
    void AddRow(double x, double y) {
        dialog_->Navigator("btnInsert")->click();
        dialog_->Tbl()->item(0, 1)->setText(QString::number(x));
        dialog_->Tbl()->item(0, 2)->setText(QString::number(y));
        dialog_->Navigator("btnPost")->click();
    }
    std::vector<ZonePoint> Drawn() const {
        std::vector<ZonePoint> points;
        for (const QPointF& p : diagram_->SLine()->Points()) {
            points.push_back({p.x(), p.y()});
        }
        return points;
    }

    PhasorDiagram* diagram_ = nullptr;
    ZoneDialog* dialog_ = nullptr;
    QString chosen_;
};

TEST_F(ZoneTest, EachTypeDrawsThePointsOfItsFormulaAndTheDiagramFitsThem) {
    EXPECT_EQ(dialog_->windowTitle(), "Добавить — " + window_->windowTitle());
    diagram_->ImgAdd()->click();  // the same dialog again
    EXPECT_EQ(ZoneDialogOf(diagram_), dialog_);
    const double phasors = diagram_->GetMaxValue();
    const double z = 2.0 * phasors;
    dialog_->CbbType()->setCurrentIndex(0);
    EXPECT_TRUE(diagram_->SOZ_DZ()->Points().empty());  // choosing a type alone draws nothing
    Type(dialog_->Field("seZWork"), std::round(z));
    const Zone circle = ComputeZone(ZoneType::Circle, {.zWork = std::round(z)});
    ASSERT_EQ(diagram_->SOZ_DZ()->Points().size(), 3591u);
    for (std::size_t i = 0; i < circle.zone.size(); i += 500) {
        EXPECT_EQ(diagram_->SOZ_DZ()->Points()[i].at, QPointF(circle.zone[i].x, circle.zone[i].y));
        EXPECT_EQ(diagram_->SOZ_DZ_Off()->Points()[i].at,
                  QPointF(circle.zoneOff[i].x, circle.zoneOff[i].y));
    }
    EXPECT_EQ(diagram_->SOZ_DZ()->Points()[0].color, QColor(255, 0, 0));
    EXPECT_EQ(diagram_->SOZ_DZ_Off()->Points()[0].color, QColor(0, 128, 0));
    EXPECT_NEAR(diagram_->Cht()->LeftAxis()->Maximum(), 1.1 * ZoneScale(circle.zone), 1e-9 * z);

    dialog_->CbbType()->setCurrentIndex(2);
    Type(dialog_->Field("seFpr"), 60.0);
    Type(dialog_->Field("seRpr"), 10.0);
    Type(dialog_->Field("seXy"), 10.0);
    const Zone polygon = ComputeZone(ZoneType::Polygon, {.rpr = 10, .fpr = 60, .xy = 10});
    ASSERT_EQ(diagram_->SOZ_DZ()->Points().size(), 3591u);
    EXPECT_EQ(diagram_->SOZ_DZ()->Points()[3000].at,
              QPointF(polygon.zone[3000].x, polygon.zone[3000].y));
    // A small zone leaves the scale to the phasors.
    EXPECT_NEAR(diagram_->Cht()->LeftAxis()->Maximum(), 1.1 * phasors, 1e-9 * phasors);

    dialog_->CbbType()->setCurrentIndex(1);
    Type(dialog_->Field("seK"), 0.0);
    EXPECT_TRUE(diagram_->SOZ_DZ()->Points().empty());
    EXPECT_TRUE(dialog_->LblError()->isVisibleTo(dialog_));
    EXPECT_TRUE(dialog_->LblError()->text().contains("K"));
}

TEST_F(ZoneTest, EnterInAFieldAppliesAndNeverAsksForAFile) {
    int asked = 0;
    dialog_->SetFileChooser([&asked](QWidget*, bool) {
        ++asked;
        return QString();
    });
    dialog_->BtnSavePoints()->click();  // once clicked, a button could become the default
    asked = 0;
    dialog_->CbbType()->setCurrentIndex(0);
    Type(dialog_->Field("seZWork"), 50.0);
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(diagram_->SOZ_DZ()->Points().empty());
}

TEST_F(ZoneTest, PointNumbersStopAtTheLargestIntInsteadOfOverflowing) {
    QFile file(dir_.filePath("last.json"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"FDBS": {"points": [{"N": 2147483645, "X": 1, "Y": 2}]}})");
    file.close();
    chosen_ = file.fileName();
    dialog_->BtnLoad()->click();
    ASSERT_EQ(dialog_->Rows().size(), 1u);
    AddRow(3, 4);
    ASSERT_EQ(dialog_->Rows().size(), 2u);
    EXPECT_EQ(dialog_->Rows().back().id, 2147483646);
    const int rows = dialog_->Tbl()->rowCount();
    dialog_->Navigator("btnInsert")->click();
    EXPECT_EQ(dialog_->Tbl()->rowCount(), rows);
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(ZoneTest, AUserPolygonIsSavedLoadedBackAndABrokenFileRefused) {
    AddRow(1, 1);
    AddRow(2, 2);
    AddRow(3, 3);
    EXPECT_EQ(Drawn(), (std::vector<ZonePoint>{{3, 3}, {2, 2}, {1, 1}, {3, 3}}));
    EXPECT_EQ(dialog_->Tbl()->item(0, 0)->text(), "3");  // the highest number on top
    chosen_ = dir_.filePath("zone.json");
    dialog_->BtnSavePoints()->click();
    const std::vector<ZoneTableRow> saved = dialog_->Rows();

    // A new dialog starts empty; the old one took its polygon away with it.
    dialog_->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(diagram_->SLine()->Points().empty());
    EXPECT_FALSE(diagram_->SOZ_DZ() == nullptr);
    diagram_->ImgAdd()->click();
    dialog_ = ZoneDialogOf(diagram_);
    ASSERT_NE(dialog_, nullptr);
    dialog_->SetFileChooser([this](QWidget*, bool) { return chosen_; });
    EXPECT_TRUE(dialog_->Rows().empty());
    dialog_->BtnLoad()->click();
    EXPECT_EQ(dialog_->Rows(), saved);
    EXPECT_EQ(Drawn(), (std::vector<ZonePoint>{{3, 3}, {2, 2}, {1, 1}, {3, 3}}));
    AddRow(5, 0);  // numbering goes on after the loaded rows
    EXPECT_EQ(dialog_->Rows().back().id, 4);

    QFile broken(dir_.filePath("broken.json"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write(R"({"FDBS": {"points": [{"N": 1, "X": "a", "Y": 2}]}})");
    broken.close();
    const std::vector<ZoneTableRow> before = dialog_->Rows();
    chosen_ = broken.fileName();
    dialog_->BtnLoad()->click();
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(dialog_->Rows(), before);
    // Cancelling the file choice still redraws the polygon.
    diagram_->SLine()->Clear();
    chosen_.clear();
    dialog_->BtnLoad()->click();
    EXPECT_EQ(Drawn().size(), before.size() + 1);
}

}  // namespace
}  // namespace faultscope
