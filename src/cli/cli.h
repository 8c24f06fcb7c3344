#pragma once

#include <QString>
#include <ostream>
#include <string>
#include <vector>

namespace faultscope::cli {

// Runs faultscope-cli with `args` (without the program name), writing UTF-8 text to `out` and
// `err`. Returns the exit status: 0 done, 1 the record could not be loaded, 2 wrong arguments.
// Trace files of traced channels go to the program's own folder for written files.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The same with trace files written to `traceFolder` (none when it is empty).
int Run(const std::vector<std::string>& args, const QString& traceFolder, std::ostream& out,
        std::ostream& err);

}  // namespace faultscope::cli
