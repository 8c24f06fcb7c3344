#include "screenshot_support.h"

#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include "gui/app/main_window.h"
#include "gui/app/record_window.h"
#include "gui/document/record_document.h"

namespace faultscope::tools {

RecordWindow* OpenMaximized(MainWindow& main, const QString& record) {
    main.OpenRecord(record);
    RecordWindow* window = main.ActiveRecordWindow();
    if (window == nullptr || !window->Document()->Loaded()) {
        return nullptr;
    }
    window->parentWidget()->showMaximized();
    return window;
}

bool GrabScreen(const QString& file) {
    return QGuiApplication::primaryScreen()->grabWindow(0).save(file);
}

int SaveScreenWhenSettled(const QString& file, int delayMs) {
    QTimer::singleShot(delayMs, [file] { QApplication::exit(GrabScreen(file) ? 0 : 1); });
    return QApplication::exec();
}

}  // namespace faultscope::tools
