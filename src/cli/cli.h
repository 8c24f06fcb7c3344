#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace faultscope::cli {

// Runs faultscope-cli with `args` (without the program name), writing UTF-8 text to `out` and
// `err`. Returns the exit status: 0 done, 1 the record could not be loaded, 2 wrong arguments.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace faultscope::cli
