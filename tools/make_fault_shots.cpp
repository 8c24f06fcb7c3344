// Writes the README's pictures of the fault windows over a record of the line model with a bolted
// AN fault 20 km along a 50 km line: the R-X plane of loop AN with a zone the trajectory enters,
// and the fault's type and distance. Run under a virtual X server:
//   xvfb-run -a -s "-screen 0 1920x1000x24" env QT_QPA_PLATFORM=xcb
//   build/release/tools/make_fault_shots docs/screenshot_impedance.png docs/screenshot_location.png
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>
#include <cstdio>

#include "gui/app/main_window.h"
#include "gui/app/record_window.h"
#include "gui/dialogs/fault_location_dialog.h"
#include "gui/dialogs/impedance_window.h"
#include "gui/dialogs/zone_dialog.h"
#include "gui/document/record_document.h"
#include "gui/views/phasor_diagram.h"
#include "screenshot_support.h"
#include "support/fault_scenario.h"

namespace {

using namespace faultscope;

// The line's data typed into the fault location window.
void EnterLine(FaultLocationDialog& d, const test::FaultScenario& s) {
    d.Field("seR1")->setValue(s.line.perKm.z1.real());
    d.Field("seX1")->setValue(s.line.perKm.z1.imag());
    d.Field("seR0")->setValue(s.line.perKm.z0.real());
    d.Field("seX0")->setValue(s.line.perKm.z0.imag());
    d.Field("seLength")->setValue(s.line.lengthKm);
}

// A polygon zone in the zone dialog of a new vector diagram.
void AddZone(RecordWindow& window) {
    window.AddPhasorDiagram(true);
    PhasorDiagram* diagram = window.Document()->PhasorDiagrams().back();
    diagram->imgAddClick();
    ZoneDialog* zones = ZoneDialogOf(diagram);
    zones->CbbType()->setCurrentIndex(2);
    zones->Field("seRpr")->setValue(6.0);
    zones->Field("seFpr")->setValue(65.0);
    zones->Field("seXy")->setValue(14.0);
    diagram->hide();
    zones->hide();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Faultscope");
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_fault_shots IMPEDANCE.png LOCATION.png\n");
        return 2;
    }
    QTemporaryDir dir;
    const test::FaultScenario scenario;
    const QString base = QDir(dir.path()).filePath("line_an");
    if (!test::WriteFaultRecord(base, scenario)) {
        return 1;
    }
    MainWindow main(nullptr);
    main.setGeometry(0, 0, 1100, 1000);
    main.show();
    RecordWindow* window = tools::OpenMaximized(main, base + ".cfg");
    if (window == nullptr) {
        return 1;
    }
    window->Document()->MoveCursorTo(test::InceptionMs(scenario) + 45.0);
    window->ShowFaultLocation();
    FaultLocationDialog* location = window->FaultLocationView();
    EnterLine(*location, scenario);
    location->setGeometry(1110, 30, 560, 520);
    AddZone(*window);
    window->ShowImpedance();
    ImpedanceWindow* impedance = window->ImpedanceView();
    impedance->Loop()->setCurrentIndex(impedance->Loop()->findText("AN"));
    impedance->TakeZones();
    impedance->setGeometry(1110, 30, 780, 930);
    const QString impedanceShot = QString::fromLocal8Bit(argv[1]);
    const QString locationShot = QString::fromLocal8Bit(argv[2]);
    QTimer::singleShot(400, [&] {
        // Closer to the zone, as the user would turn the wheel over it.
        ImpedancePlane* plane = impedance->Plane();
        const QPointF at = plane->ToPixel({2.0, 4.0});
        QWheelEvent wheel(at, plane->mapToGlobal(at), {}, QPoint(0, 4 * 120), Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(plane, &wheel);
        QTimer::singleShot(400, [&] {
            const bool first = tools::GrabScreen(impedanceShot);
            impedance->hide();
            location->show();
            location->raise();
            QTimer::singleShot(400, [&, first] {
                QApplication::exit(first && tools::GrabScreen(locationShot) ? 0 : 1);
            });
        });
    });
    return QApplication::exec();
}
