#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "core/viewtemplate/message_sink.h"

namespace faultscope {

// The windows' message sink: every message is a modal box over `parent`, or over the active
// window when there is no parent, with the icon given and the caption (the program's title when
// empty).
class MessageBoxes final : public MessageSink {
  public:
    explicit MessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}

    void Show(MessageIcon icon, const QString& caption, const QString& text) override;
    bool AskYesNo(MessageIcon icon, const QString& caption, const QString& text) override;

  private:
    [[nodiscard]] QWidget* Parent() const;

    QPointer<QWidget> parent_;
};

// The boxes over the active window, for windows that were handed no sink of their own.
MessageSink& DefaultMessageBoxes();

// `messages`, or the boxes over the active window when it is null.
inline MessageSink& MessagesOr(MessageSink* messages) {
    return messages != nullptr ? *messages : DefaultMessageBoxes();
}

}  // namespace faultscope
