#include "gui/app/message_box.h"

#include <QMessageBox>
#include <utility>

namespace faultscope {
namespace {

ErrorReporter& Reporter() {
    static ErrorReporter reporter;
    return reporter;
}

}  // namespace

void ShowError(QWidget* parent, const QString& text, const QString& caption) {
    if (Reporter()) {
        Reporter()(parent, caption, text);
        return;
    }
    QMessageBox::critical(parent, caption, text);
}

void ShowInformation(QWidget* parent, const QString& text, const QString& caption) {
    if (Reporter()) {
        Reporter()(parent, caption, text);
        return;
    }
    QMessageBox::information(parent, caption, text);
}

ErrorReporter SetErrorReporter(ErrorReporter reporter) {
    return std::exchange(Reporter(), std::move(reporter));
}

}  // namespace faultscope
