#pragma once

#include <stdexcept>
#include <string>

namespace faultscope {

// Any failure of a formula evaluation. The evaluator's own messages are English; they are meant
// for logs, the user only learns that the channel was not created.
class FormulaError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A failure the formula library reports to the user in an error box (Russian text) before the
// evaluation is abandoned.
class FormulaBoxError : public FormulaError {
  public:
    using FormulaError::FormulaError;
};

}  // namespace faultscope
