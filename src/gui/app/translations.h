#pragma once

class QObject;

namespace faultscope {

// Loads the toolkit's own Russian texts (file dialogs, message box buttons, context menus of
// edit fields) from the system's Qt translations and installs them in the application. False
// when they are not installed; the toolkit then speaks English.
bool InstallToolkitTranslation(QObject* owner);

}  // namespace faultscope
