// The three windows of a line fault on a record of the line model with a bolted AN fault 20 km
// along a 50 km line: the sequence strips, the R-X plane and the fault's type and distance.
#include <gtest/gtest.h>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QWheelEvent>
#include <cmath>

#include "core/analysis/fault_inception.h"
#include "core/analysis/sequence_components.h"
#include "core/settings/ini_store.h"
#include "gui/chart/chart.h"
#include "gui/dialogs/fault_location_dialog.h"
#include "gui/dialogs/impedance_window.h"
#include "gui/dialogs/sequence_components_dialog.h"
#include "gui/dialogs/zone_dialog.h"
#include "gui/views/analog_strip.h"
#include "gui/views/analog_strip_list.h"
#include "gui/views/phasor_diagram.h"
#include "gui/views/phasor_source.h"
#include "gui/widgets/phase_triple_box.h"
#include "support/fault_scenario.h"
#include "support/main_window_fixture.h"
#include "support/modal_dialog.h"

namespace faultscope {
namespace {

// Channels of the written record: UA, UB, UC, IA, IB, IC.
constexpr std::size_t kIa = 3;

class FaultWindowsTest : public test::MainWindowFixture {
  protected:
    FaultWindowsTest() { EXPECT_TRUE(test::WriteFaultRecord(Base(), scenario_)); }

    QString Base() const { return QDir(dir_.path()).filePath("line_an"); }
    QString RecordToOpen() const override { return Base() + ".cfg"; }

    // The first sample at or after `ms`.
    std::size_t SampleAt(double ms) const {
        const std::vector<double>& x = doc_->Record().data.xMs;
        return static_cast<std::size_t>(std::ranges::lower_bound(x, ms) - x.begin());
    }
    double InFaultMs() const { return test::InceptionMs(scenario_) + 45.0; }
    void ClickCursor(double ms) {
        Chart* cht = doc_->AnalogStrips()->ChtList()[0]->Cht();
        QTest::mouseClick(cht, Qt::LeftButton, {}, QPoint(std::lround(cht->XToPixel(ms)), 30));
        QApplication::processEvents();
    }
    AnalogStrip* Strip(const QString& name) const {
        for (AnalogStrip* strip : doc_->AnalogStrips()->ChtList()) {
            if (QString::fromStdString(strip->Info().ch_id) == name) {
                return strip;
            }
        }
        return nullptr;
    }
    // Picks the current triple in the sequence dialog with the keyboard and presses OK.
    void MakeCurrentSequenceStrips() {
        test::OnModal<SequenceComponentsDialog>([](SequenceComponentsDialog* d) {
            QComboBox* offered = d->Phases()->Offered();
            offered->setFocus();
            QTest::keyClick(offered, Qt::Key_Down);
            QTest::mouseClick(d->BtnOk(), Qt::LeftButton);
        });
        Trigger("actSequence");
    }
    static void Type(QDoubleSpinBox* field, double value) {
        field->selectAll();
        QTest::keyClicks(field, QLocale().toString(value));
        QTest::keyClick(field, Qt::Key_Enter);
    }
    FaultLocationDialog* OpenLocation() {
        Trigger("actFaultLocation");
        return window_->FaultLocationView();
    }
    void TypeLine(FaultLocationDialog* d) {
        Type(d->Field("seR1"), 0.12);
        Type(d->Field("seX1"), 0.40);
        Type(d->Field("seR0"), 0.30);
        Type(d->Field("seX0"), 1.20);
        Type(d->Field("seLength"), 50.0);
    }

    test::FaultScenario scenario_;
};

TEST_F(FaultWindowsTest, SequenceStripsReadTheComponentsAndComeBackWithTheRecord) {
    MakeCurrentSequenceStrips();
    EXPECT_TRUE(messages_.texts.empty());
    const std::size_t i = SampleAt(InFaultMs());
    const auto expectComponents = [&] {
        const RecordData& data = doc_->Record().data;
        const std::array<const AnalogColumns*, 3> phases = {
            &data.analog[kIa], &data.analog[kIa + 1], &data.analog[kIa + 2]};
        const auto expected = SequenceComponentsAt(data.xMs, phases, 50.0, i);
        ASSERT_TRUE(expected);
        const struct {
            const char* name;
            Phasor component;
        } strips[] = {
            {"I1", expected->positive}, {"I2", expected->negative}, {"3I0", 3.0 * expected->zero}};
        for (const auto& s : strips) {
            const AnalogStrip* strip = Strip(s.name);
            ASSERT_NE(strip, nullptr) << s.name;
            EXPECT_EQ(strip->Info().uu, "kA");
            const double value = strip->Columns()->Value(i);
            EXPECT_NEAR(value, std::abs(s.component), 1e-6 * std::abs(s.component)) << s.name;
            EXPECT_NEAR(strip->Columns()->formulaAngle[i], PhasorAngle(s.component), 1e-6);
        }
    };
    expectComponents();
    // The readout and the vector diagram show the component's RMS at its angle.
    ClickCursor(InFaultMs());
    const AnalogStrip* i1 = Strip("I1");
    const auto cursor = static_cast<std::size_t>(i1->CursorPoint());
    EXPECT_NEAR(static_cast<double>(cursor), static_cast<double>(i), 1.0);
    EXPECT_TRUE(i1->ReadoutText().contains(
        "∠ = " + QLocale().toString(RoundedAngle(i1->Columns()->formulaAngle[cursor], 2), 'f', 2)))
        << i1->ReadoutText().toStdString();
    const auto reading = PhasorAtCursor(*i1);
    ASSERT_TRUE(reading);
    EXPECT_DOUBLE_EQ(reading->rms1, i1->Columns()->Value(cursor));
    EXPECT_FALSE(reading->overGap);

    NewMain();
    OpenLoaded(RecordToOpen());
    expectComponents();
}

TEST_F(FaultWindowsTest, TheLocationDialogFindsTheFaultAndKeepsTheLineInTheTemplate) {
    FaultLocationDialog* d = OpenLocation();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->findChild<QLabel*>("lblRule")->text(), FaultLocationDialog::kRule);
    EXPECT_EQ(d->ReasonText()->text(), "Задайте X1 и длину линии");
    EXPECT_EQ(PhaseTripleText(doc_->ConfigFile(), d->Currents()->Triple()), "IA/IB/IC ВЛ-110");
    TypeLine(d);
    EXPECT_EQ(d->TypeText()->text(), "AN");
    ASSERT_TRUE(d->Report().location);
    EXPECT_NEAR(d->Report().location->distanceKm, 20.0, 0.01 * 50.0);
    EXPECT_NEAR(d->Report().location->percent, 40.0, 1.0);
    EXPECT_TRUE(d->DistanceText()->text().endsWith(" % длины линии)"));
    EXPECT_FALSE(d->ReasonText()->isVisible());

    // Before the fault no phase is faulted; "По умолчанию" goes back to the fault.
    ClickCursor(10.0);
    QTest::mouseClick(d->BtnCursor(), Qt::LeftButton);
    EXPECT_EQ(d->TypeText()->text(), "");
    EXPECT_EQ(d->ReasonText()->text(),
              "Повреждение не найдено: в момент расчёта ни одна фаза не повреждена");
    QTest::mouseClick(d->BtnDefault(), Qt::LeftButton);
    EXPECT_EQ(d->TypeText()->text(), "AN");

    const IniStore lyt(Base() + ".lyt");
    EXPECT_EQ(lyt.ReadString("FaultLocation", "X0"), "1.2");
    EXPECT_EQ(lyt.ReadString("FaultLocation", "Currents"), "IA ВЛ-110,IB ВЛ-110,IC ВЛ-110");
    NewMain();
    OpenLoaded(RecordToOpen());
    d = OpenLocation();
    EXPECT_EQ(d->Field("seLength")->value(), 50.0);
    EXPECT_EQ(d->TypeText()->text(), "AN");
}

TEST_F(FaultWindowsTest, ARecordWithoutAFaultSaysSo) {
    scenario_.faultCycles = 0;
    scenario_.preFaultCycles = 6;
    ASSERT_TRUE(test::WriteFaultRecord(QDir(dir_.path()).filePath("healthy"), scenario_));
    OpenLoaded(QDir(dir_.path()).filePath("healthy.cfg"));
    FaultLocationDialog* d = OpenLocation();
    TypeLine(d);
    EXPECT_EQ(d->TypeText()->text(), "");
    EXPECT_EQ(d->ReasonText()->text(),
              "Повреждение не найдено: ни один фазный ток не превысил вдвое доаварийное значение");
}

TEST_F(FaultWindowsTest, TheRxPlaneFollowsTheCursorAndShowsTheFaultEnteringAZone) {
    TypeLine(OpenLocation());
    Trigger("actImpedance");
    ImpedanceWindow* w = window_->ImpedanceView();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->windowTitle().startsWith("Годограф сопротивления — "));
    w->Loop()->setFocus();
    while (w->Loop()->currentText() != "AN") {
        QTest::keyClick(w->Loop(), Qt::Key_Down);
    }
    // With k0 from the line data the ground loop measures d·Z1 during the fault.
    const Phasor z1 = 20.0 * scenario_.line.perKm.z1;
    ClickCursor(InFaultMs());
    const auto i = static_cast<std::size_t>(doc_->CursorSample());
    ASSERT_TRUE(w->Plane()->CursorPoint());
    EXPECT_EQ(w->Plane()->CursorPoint(), w->Series()[i]);
    EXPECT_NEAR(std::abs(*w->Plane()->CursorPoint() - z1), 0.0, 0.01 * std::abs(z1));
    EXPECT_TRUE(w->CursorText()->text().contains("R = "));
    const double before = InFaultMs() - 60.0;
    ClickCursor(before);
    ASSERT_TRUE(w->Plane()->CursorPoint());
    EXPECT_EQ(w->Plane()->CursorPoint(),
              w->Series()[static_cast<std::size_t>(doc_->CursorSample())]);
    EXPECT_GT(std::abs(*w->Plane()->CursorPoint()), 100.0);  // the load

    // A 12 Ω circle taken from a diagram's zone dialog holds the fault and not the load.
    Trigger("actRoundOscil");
    doc_->PhasorDiagrams().back()->ImgAdd()->click();
    ZoneDialog* zones = ZoneDialogOf(doc_->PhasorDiagrams().back());
    zones->CbbType()->setCurrentIndex(0);
    Type(zones->Field("seZWork"), 12.0);
    QTest::mouseClick(w->BtnZones(), Qt::LeftButton);
    ASSERT_EQ(w->Plane()->Zones().size(), 2u);
    std::vector<ZonePoint> dots;
    for (const TrajectoryPoint& p : w->Plane()->Trajectory().dots) {
        dots.push_back({p.z.real(), p.z.imag()});
    }
    const std::vector<std::size_t> inside = PointsInsideZone(w->Plane()->Zones()[0].ring, dots);
    ASSERT_FALSE(inside.empty());
    const double inception = test::InceptionMs(scenario_);
    const auto& x = doc_->Record().data.xMs;
    // Inside once a whole cycle of the fault is in the window, outside before the fault.
    for (std::size_t k = 0; k < dots.size(); ++k) {
        const double t = x[w->Plane()->Trajectory().dots[k].sample];
        const bool zoned = std::ranges::find(inside, k) != inside.end();
        if (t >= inception + 20.0 || t < inception) {
            EXPECT_EQ(zoned, t >= inception) << t;
        }
    }
    EXPECT_TRUE(w->ZoneText()->text().startsWith("Вход в зону: t = "));
}

TEST_F(FaultWindowsTest, TheRxPlaneZoomsAboutThePointerOnEqualScalesAndPans) {
    Trigger("actImpedance");
    ImpedancePlane* plane = window_->ImpedanceView()->Plane();
    QApplication::processEvents();
    const QPointF at(plane->width() * 0.3, plane->height() * 0.6);
    const Phasor under = plane->FromPixel(at);
    const double scale = plane->OhmsPerPixel();
    QWheelEvent wheel(at, plane->mapToGlobal(at), {}, QPoint(0, 240), Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(plane, &wheel);
    EXPECT_NEAR(plane->OhmsPerPixel(), scale / 1.5625, 1e-12 * scale);
    EXPECT_NEAR(std::abs(plane->FromPixel(at) - under), 0.0, 1e-9 * std::abs(under) + 1e-12);
    // Equal scales: a step of a pixel is as many ohms across as up.
    const Phasor o = plane->FromPixel({10, 10});
    EXPECT_NEAR(plane->FromPixel({11, 10}).real() - o.real(),
                o.imag() - plane->FromPixel({10, 11}).imag(), 1e-9 * plane->OhmsPerPixel());
    // A drag carries the impedance under the pointer along with it.
    const Phasor grabbed = plane->FromPixel({100, 100});
    QTest::mousePress(plane, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(plane, QPoint(130, 80));
    QTest::mouseRelease(plane, Qt::LeftButton, {}, QPoint(130, 80));
    EXPECT_NEAR(std::abs(plane->FromPixel({130, 80}) - grabbed), 0.0,
                1e-9 * (std::abs(grabbed) + 1.0));
    EXPECT_TRUE(plane->ViewMoved());
}

// A record whose IA has one sample outside its range in the fault: no component and no impedance
// is drawn from a window that holds it.
class GapFaultWindowsTest : public FaultWindowsTest {
  protected:
    GapFaultWindowsTest() {
        QFile dat(Base() + ".dat");
        EXPECT_TRUE(dat.open(QIODevice::ReadOnly));
        QList<QByteArray> lines = dat.readAll().split('\n');
        dat.close();
        QList<QByteArray> fields = lines[static_cast<qsizetype>(kGapSample)].split(',');
        fields[2 + static_cast<qsizetype>(kIa)] = "9999999";
        lines[static_cast<qsizetype>(kGapSample)] = fields.join(',');
        EXPECT_TRUE(dat.open(QIODevice::WriteOnly | QIODevice::Truncate));
        dat.write(lines.join('\n'));
    }

    static constexpr std::size_t kGapSample = 250;
};

TEST_F(GapFaultWindowsTest, NothingIsDrawnFromAWindowOverAGap) {
    MakeCurrentSequenceStrips();
    TypeLine(OpenLocation());
    Trigger("actImpedance");
    ImpedanceWindow* w = window_->ImpedanceView();
    const std::size_t perCycle = 40;
    for (const char* name : {"I1", "I2", "3I0"}) {
        const AnalogColumns* c = Strip(name)->Columns();
        for (const std::size_t i : {kGapSample, kGapSample + perCycle - 1}) {
            EXPECT_TRUE(c->Gap(i)) << name << ' ' << i;
            EXPECT_EQ(c->formulaAngle[i], kUndefinedAngle) << name << ' ' << i;
        }
        EXPECT_FALSE(c->Gap(kGapSample - 1)) << name;
        EXPECT_FALSE(c->Gap(kGapSample + perCycle)) << name;
    }
    for (std::size_t i = kGapSample; i < kGapSample + perCycle; ++i) {
        EXPECT_FALSE(w->Series()[i]) << i;
    }
    for (const TrajectoryPoint& p : w->Plane()->Trajectory().path) {
        EXPECT_TRUE(p.sample < kGapSample || p.sample >= kGapSample + perCycle) << p.sample;
    }
    ClickCursor(doc_->Record().data.xMs[kGapSample + 5]);
    EXPECT_FALSE(w->Plane()->CursorPoint());
    EXPECT_TRUE(Strip("I1")->ReadoutText().contains("∠ = —"));
    EXPECT_TRUE(w->CursorText()->text().endsWith("сопротивление не определено"));
}

}  // namespace
}  // namespace faultscope
