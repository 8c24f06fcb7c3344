#pragma once

#include <stdexcept>
#include <string>

namespace faultscope {

// An error that carries the message the user is shown (UTF-8).
class LoadError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Raised when the user closes a record window while its record is still loading.
class LoadCancelled : public std::runtime_error {
  public:
    LoadCancelled() : std::runtime_error("load cancelled") {}
};

}  // namespace faultscope
