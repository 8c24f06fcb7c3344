#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace faultscope {

// How a window shows an error message to the user. The program shows a modal box titled
// "Ошибка" with the error icon; tests put a recorder in its place.
using ErrorReporter =
    std::function<void(QWidget* parent, const QString& caption, const QString& text)>;

void ShowError(QWidget* parent, const QString& text, const QString& caption = "Ошибка");

// The same for a notice, shown with the information icon.
void ShowInformation(QWidget* parent, const QString& text, const QString& caption);

// Replaces the reporter; returns the previous one. An empty reporter restores the box.
ErrorReporter SetErrorReporter(ErrorReporter reporter);

}  // namespace faultscope
