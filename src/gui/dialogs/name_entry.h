#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace faultscope {

// The face of a small dialog that asks for one name: a caption with its field on one line and
// the two buttons right below. Names the field "edt" and the buttons "btnOk" and "btnCancel",
// makes "btnOk" the default and lets "btnCancel" reject; what "btnOk" does is the dialog's own.
void LayOutNameEntry(QDialog& dialog, const QString& caption, QLineEdit* edt, QPushButton* btnOk,
                     QPushButton* btnCancel);

// The window flags of such a dialog: a fixed size, a title and a close button.
inline constexpr Qt::WindowFlags kNameEntryFlags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint |
                                                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                   Qt::WindowCloseButtonHint;

}  // namespace faultscope
