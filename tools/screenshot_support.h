#pragma once

#include <QString>

namespace faultscope {
class MainWindow;
class RecordWindow;
}  // namespace faultscope

namespace faultscope::tools {

// Opens `record` in `main` and maximises its window; null when it did not load.
RecordWindow* OpenMaximized(MainWindow& main, const QString& record);

// Saves the whole screen into `file`.
bool GrabScreen(const QString& file);

// Runs the event loop until the screen, once settled for `delayMs`, is saved into `file`;
// returns the exit status (0 saved, 1 not).
int SaveScreenWhenSettled(const QString& file, int delayMs = 500);

}  // namespace faultscope::tools
