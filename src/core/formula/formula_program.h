#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/formula/formula_compiler.h"
#include "core/formula/formula_error.h"
#include "core/formula/variant.h"

namespace faultscope {

class FormulaProgram;

// The arguments of one value request, evaluated from left to right.
// Formerly TInterpreterArgs.
struct FormulaArguments {
    int Count = 0;
    std::span<const Variant> Values;
};

// Asked for every name the evaluator cannot resolve itself. `identifier` is the name as written;
// a callback that answers fills `value` and sets `done`. It may throw to end the run.
using ValueGetter = std::function<void(const FormulaProgram* sender, std::string_view identifier,
                                       Variant& value, const FormulaArguments& args, bool& done)>;

// The formula evaluator. Setting the source translates it once; each run then executes that
// code with nothing parsed or allocated again.
// Formerly TInterpreterProgram.
class FormulaProgram {
  public:
    FormulaProgram();

    // Resets the evaluator. A source that does not translate makes every run fail with the
    // translation's error.
    void SetSource(std::string source);
    // The translation's failure of the current source, if any.
    [[nodiscard]] const std::optional<FormulaError>& SourceError() const noexcept {
        return sourceError_;
    }

    void SetTag(std::int64_t tag) noexcept { tag_ = tag; }
    [[nodiscard]] std::int64_t Tag() const noexcept { return tag_; }

    void SetOnGetValue(ValueGetter handler) { onGetValue_ = std::move(handler); }

    // Evaluates the script; throws FormulaError (or whatever the callback throws) on failure,
    // leaving VResult not valid.
    void Run();
    [[nodiscard]] const Variant& VResult() const noexcept { return vResult_; }

  private:
    void Execute();
    void Execute(std::size_t& i);
    void Call(const Instruction& instruction, Variant* args);

    std::string source_;
    CompiledScript script_;
    std::optional<FormulaError> sourceError_;
    std::int64_t tag_ = 0;
    ValueGetter onGetValue_;
    std::vector<Variant> stack_;
    Variant result_;
    Variant vResult_;
    Variant callValue_;
};

// The script an evaluator is given for one formula: its value is the formula's value. The
// formula starts right after kFormulaScriptHead.
inline constexpr std::string_view kFormulaScriptHead = "begin\rresult := ";
std::string FormulaScript(std::string_view formula);

}  // namespace faultscope
