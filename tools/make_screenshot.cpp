// Writes the README's picture of the measuring tools: the demo record with two time labels and
// a vector diagram with a zone, as the screen shows them. Run under a virtual X server:
//   xvfb-run -a -s "-screen 0 1920x1000x24" build/release/tools/make_screenshot examples/demo.cfg
//   docs/screenshot_tools.png
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <cstdio>

#include "gui/app/main_window.h"
#include "gui/app/record_window.h"
#include "gui/chart/vertical_line.h"
#include "gui/dialogs/zone_dialog.h"
#include "gui/document/record_document.h"
#include "gui/views/phasor_diagram.h"
#include "gui/views/time_label.h"
#include "gui/views/time_label_list.h"
#include "screenshot_support.h"

namespace {

using namespace faultscope;

void PlaceLabel(TimeLabel& label, double left, double right) {
    label.LineLeft()->SetValue(left);
    label.LineRight()->SetValue(right);
    label.CheckLineLeft();
    label.CheckLineRight();
    label.LineLeftDragEnd();
    label.LineRightDragEnd();
}

void SetField(ZoneDialog& dialog, const char* name, double value) {
    dialog.Field(name)->setValue(value);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Faultscope");
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_screenshot RECORD.cfg OUT.png\n");
        return 2;
    }
    MainWindow main(nullptr);
    main.setGeometry(0, 0, 1260, 1000);
    main.show();
    RecordWindow* window = tools::OpenMaximized(main, QString::fromLocal8Bit(argv[1]));
    if (window == nullptr) {
        return 1;
    }
    RecordDocument* doc = window->Document();
    doc->MoveCursorTo(62.0);
    window->AddTimeLabel();
    window->AddTimeLabel();
    PlaceLabel(*doc->TimeLabels()->List()[0], 0.0, 60.0);
    PlaceLabel(*doc->TimeLabels()->List()[1], 40.0, 120.0);
    window->AddPhasorDiagram(true);
    PhasorDiagram* diagram = doc->PhasorDiagrams().back();
    diagram->ImgInfo()->click();
    // Currents only, against phase A.
    for (const int voltage : {3, 4, 5, 7}) {
        diagram->Items()[voltage]->BtnView()->click();
    }
    diagram->Items()[0]->Chk()->click();
    diagram->setGeometry(1265, 0, 650, 470);
    diagram->ImgAdd()->click();
    ZoneDialog* zone = ZoneDialogOf(diagram);
    zone->CbbType()->setCurrentIndex(2);
    const double scale = diagram->GetMaxValue();
    SetField(*zone, "seFpr", 65.0);
    SetField(*zone, "seXy", 0.8 * scale);
    SetField(*zone, "seRpr", 0.6 * scale);
    zone->setGeometry(1265, 500, 420, 480);
    const QString out = QString::fromLocal8Bit(argv[2]);
    return tools::SaveScreenWhenSettled(out);
}
