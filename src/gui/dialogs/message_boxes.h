#pragma once

#include <QString>
#include <functional>

#include "core/viewtemplate/template_messages.h"

class QWidget;

namespace faultscope {

// Shows a message in a modal box over `parent`: the icon as given, the caption (the program's
// title when empty).
void ShowMessageBox(QWidget* parent, MessageIcon icon, const QString& caption, const QString& text);

// Asks `text` in a modal box over `parent` with the buttons Yes and No (No is the default and
// what closing the box answers); true for Yes.
bool AskYesNo(QWidget* parent, MessageIcon icon, const QString& caption, const QString& text);

// A sink that shows every message in a box over `parent`.
MessageSink BoxMessages(QWidget* parent);

// Tests put a recorder in the place of the boxes; returns the previous one. An empty recorder
// restores the boxes.
using MessageBoxRecorder = std::function<void(QWidget* parent, MessageIcon icon,
                                              const QString& caption, const QString& text)>;
MessageBoxRecorder SetMessageBoxRecorder(MessageBoxRecorder recorder);

}  // namespace faultscope
