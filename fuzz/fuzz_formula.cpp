// Feeds arbitrary text to the formula evaluator, both as a formula inside the script shape and
// as a whole script, with the formula library answering over small source columns. Evaluation
// errors are expected; anything else (a crash, another exception, a sanitizer report) is a fault.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/formula/formula_library.h"

namespace {

using namespace faultscope;

AnalogColumns MakeColumns(double scale) {
    const double values[] = {scale * -1.5, scale * -0.5, scale * 0.5, scale * 1.5};
    AnalogColumns columns = AnalogColumns::FromValues(values);
    for (int i = 0; i < 4; ++i) {
        columns.fundamental.rms.push_back(scale * i);
        columns.fundamental.angle.push_back(i == 3 ? kUndefinedAngle : 90.0 * i);
    }
    return columns;
}

void RunAll(FormulaProgram& program, std::string source) {
    program.SetSource(std::move(source));
    for (std::int64_t k = -1; k <= 4; ++k) {
        program.SetTag(k);
        try {
            program.Run();
            (void)ToDouble(program.VResult());
        } catch (const FormulaError&) {
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const AnalogColumns a = MakeColumns(1.0);
    static const AnalogColumns b = MakeColumns(-0.1);
    static const AnalogColumns c = MakeColumns(1e300);
    static const std::vector<FormulaSlot> slots{{&a, nullptr}, {&b, nullptr}, {&c, nullptr}, {}};
    FormulaProgram program;
    program.SetOnGetValue([](const FormulaProgram* sender, std::string_view id, Variant& value,
                             const FormulaArguments& args,
                             bool& done) { CalcValue(slots, sender, id, value, args, done); });
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    RunAll(program, FormulaScript(text));
    RunAll(program, std::string(text));
    return 0;
}
