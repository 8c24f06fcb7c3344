#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>

namespace faultscope {

// Any failure of a formula evaluation. The evaluator's own messages are English; a formula
// channel's computation puts them, with where they happened, into a Russian message for the
// user (FillFormulaChannel).
class FormulaError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
    // `offset`: the byte of the script the failure belongs to.
    FormulaError(const std::string& what, std::size_t offset)
        : std::runtime_error(what), offset_(offset) {}

    [[nodiscard]] std::optional<std::size_t> Offset() const noexcept { return offset_; }

  private:
    std::optional<std::size_t> offset_;
};

// A failure the formula library reports to the user in an error box (Russian text) before the
// evaluation is abandoned.
class FormulaBoxError : public FormulaError {
  public:
    using FormulaError::FormulaError;
};

}  // namespace faultscope
