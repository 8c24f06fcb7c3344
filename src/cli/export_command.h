#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace faultscope::cli {

// The usage lines of the export command.
extern const char* const kExportUsage;

// Runs `faultscope-cli export` with `args` (the command name first). It needs a QApplication
// (the offscreen platform will do). Returns 0 done, 1 the record could not be loaded or a file
// not written, 2 wrong arguments.
int RunExport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace faultscope::cli
