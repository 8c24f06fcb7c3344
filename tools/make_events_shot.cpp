// Writes the README's picture of the fault measuring windows: the demo record with a time label
// across the fault, its value table, and the list of events beside the record. Run under a
// virtual X server:
//   xvfb-run -a -s "-screen 0 1920x1000x24" build/release/tools/make_events_shot examples/demo.cfg
//   docs/screenshot_events.png
#include <QApplication>
#include <QScreen>
#include <QTableWidget>
#include <QTimer>
#include <cstdio>

#include "gui/app/main_window.h"
#include "gui/app/record_window.h"
#include "gui/chart/vertical_line.h"
#include "gui/dialogs/event_list_window.h"
#include "gui/dialogs/label_values_window.h"
#include "gui/document/record_document.h"
#include "gui/views/time_label.h"
#include "gui/views/time_label_list.h"
#include "screenshot_support.h"

int main(int argc, char** argv) {
    using namespace faultscope;
    QApplication app(argc, argv);
    QApplication::setApplicationName("Faultscope");
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_events_shot RECORD.cfg OUT.png\n");
        return 2;
    }
    MainWindow main(nullptr);
    main.setGeometry(0, 0, 1100, 1000);
    main.show();
    RecordWindow* window = tools::OpenMaximized(main, QString::fromLocal8Bit(argv[1]));
    if (window == nullptr) {
        return 1;
    }
    RecordDocument* doc = window->Document();
    doc->MoveCursorTo(24.0);
    window->AddTimeLabel();
    TimeLabel& label = *doc->TimeLabels()->List()[0];
    label.LineLeft()->SetValue(-10.0);
    label.LineRight()->SetValue(30.0);
    label.ApplyDialogValues();
    window->ShowEvents();
    window->EventsWindow()->setGeometry(1110, 30, 800, 430);
    window->ShowLabelValues(&label);
    LabelValuesWindow* values = window->LabelValuesWindows().front();
    values->setGeometry(1110, 500, 800, 470);
    const QString out = QString::fromLocal8Bit(argv[2]);
    return tools::SaveScreenWhenSettled(out);
}
