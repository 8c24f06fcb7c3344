#pragma once

#include <stdexcept>

namespace faultscope {

// A settings file that could not be read or written; the message (UTF-8) is the one the user sees.
class SettingsError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace faultscope
