#include "gui/dialogs/message_boxes.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPointer>

namespace faultscope {
namespace {

MessageBoxRecorder& Recorder() {
    static MessageBoxRecorder recorder;
    return recorder;
}

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void ShowMessageBox(QWidget* parent, MessageIcon icon, const QString& caption,
                    const QString& text) {
    if (Recorder()) {
        Recorder()(parent, icon, caption, text);
        return;
    }
    const QString title = caption.isEmpty() ? QCoreApplication::applicationName() : caption;
    QMessageBox box(BoxIcon(icon), title, text, QMessageBox::Ok, parent);
    box.exec();
}

bool AskYesNo(QWidget* parent, MessageIcon icon, const QString& caption, const QString& text) {
    const QString title = caption.isEmpty() ? QCoreApplication::applicationName() : caption;
    QMessageBox box(BoxIcon(icon), title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

MessageSink BoxMessages(QWidget* parent) {
    return [owner = QPointer<QWidget>(parent)](MessageIcon icon, const QString& caption,
                                               const QString& text) {
        ShowMessageBox(owner, icon, caption, text);
    };
}

MessageBoxRecorder SetMessageBoxRecorder(MessageBoxRecorder recorder) {
    return std::exchange(Recorder(), std::move(recorder));
}

}  // namespace faultscope
