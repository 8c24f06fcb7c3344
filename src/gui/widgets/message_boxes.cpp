#include "gui/widgets/message_boxes.h"

#include <QApplication>
#include <QMessageBox>

namespace faultscope {
namespace {

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

QString Title(const QString& caption) {
    return caption.isEmpty() ? QCoreApplication::applicationName() : caption;
}

}  // namespace

QWidget* MessageBoxes::Parent() const {
    return parent_ != nullptr ? parent_.data() : QApplication::activeWindow();
}

void MessageBoxes::Show(MessageIcon icon, const QString& caption, const QString& text) {
    QMessageBox box(BoxIcon(icon), Title(caption), text, QMessageBox::Ok, Parent());
    box.exec();
}

bool MessageBoxes::AskYesNo(MessageIcon icon, const QString& caption, const QString& text) {
    QMessageBox box(BoxIcon(icon), Title(caption), text, QMessageBox::Yes | QMessageBox::No,
                    Parent());
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

MessageSink& DefaultMessageBoxes() {
    static MessageBoxes boxes;
    return boxes;
}

}  // namespace faultscope
