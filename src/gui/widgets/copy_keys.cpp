#include "gui/widgets/copy_keys.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

namespace faultscope {
namespace {

class CopyKeyFilter : public QObject {
  public:
    CopyKeyFilter(QObject* owner, std::function<void()> copy)
        : QObject(owner), copy_(std::move(copy)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool override = event->type() == QEvent::ShortcutOverride;
        if ((override || event->type() == QEvent::KeyPress) &&
            static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
            if (override) {
                event->accept();  // the key press comes here, not to a shortcut
            } else {
                copy_();
            }
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> copy_;
};

void Watch(QWidget& widget, CopyKeyFilter* filter) {
    widget.installEventFilter(filter);
    for (QWidget* child : widget.findChildren<QWidget*>()) {
        child->installEventFilter(filter);
    }
}

}  // namespace

void OnCopyKeys(QWidget& widget, std::function<void()> copy) {
    Watch(widget, new CopyKeyFilter(&widget, std::move(copy)));
}

}  // namespace faultscope
