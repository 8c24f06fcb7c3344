// Writes the README's picture of the measuring tools: the demo record with two time labels and
// a vector diagram with a zone, as the screen shows them. Run under a virtual X server:
//   xvfb-run -a -s "-screen 0 1920x1000x24" build/release/tools/make_screenshot \
//       examples/demo.cfg docs/screenshot_tools.png
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
#include "gui/document/oscil_document.h"
#include "gui/views/round_oscil.h"
#include "gui/views/time_lable.h"
#include "gui/views/time_lable_list.h"

namespace {

using namespace faultscope;

void PlaceLable(TTimeLable& lable, double left, double right) {
    lable.LineLeft()->SetValue(left);
    lable.LineRigth()->SetValue(right);
    lable.CheckLineLeft();
    lable.CheckLineRigth();
    lable.LineLeftDragEnd();
    lable.LineRigthDragEnd();
}

void SetField(TfrmOZ_DZ& dialog, const char* name, double value) {
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
    TfrmMain main(nullptr);
    main.setGeometry(0, 0, 1260, 1000);
    main.show();
    main.OpenRecord(QString::fromLocal8Bit(argv[1]));
    TfrmOscil* window = main.ActiveRecordWindow();
    if (window == nullptr || !window->ComTrade()->Loaded()) {
        return 1;
    }
    window->parentWidget()->showMaximized();
    TComTrade* doc = window->ComTrade();
    doc->MoveCursorTo(62.0);
    window->AddTimeLabel();
    window->AddTimeLabel();
    PlaceLable(*doc->TimeLables()->List()[0], 0.0, 60.0);
    PlaceLable(*doc->TimeLables()->List()[1], 40.0, 120.0);
    window->AddRoundOscil(true);
    TfrmRoundOscil* diagram = doc->RoundOscilList().back();
    diagram->ImgInfo()->click();
    // Currents only, against phase A.
    for (const int voltage : {3, 4, 5, 7}) {
        diagram->Items()[voltage]->BtnView()->click();
    }
    diagram->Items()[0]->Chk()->click();
    diagram->setGeometry(1265, 0, 650, 470);
    diagram->ImgAdd()->click();
    TfrmOZ_DZ* zone = diagram->ZoneDialog();
    zone->CbbType()->setCurrentIndex(2);
    const double scale = diagram->GetMaxValue();
    SetField(*zone, "seFpr", 65.0);
    SetField(*zone, "seXy", 0.8 * scale);
    SetField(*zone, "seRpr", 0.6 * scale);
    zone->setGeometry(1265, 500, 420, 480);
    const QString out = QString::fromLocal8Bit(argv[2]);
    QTimer::singleShot(500, [&] {
        const bool saved = QGuiApplication::primaryScreen()->grabWindow(0).save(out);
        QApplication::exit(saved ? 0 : 1);
    });
    return QApplication::exec();
}
