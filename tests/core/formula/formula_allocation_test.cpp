// Checks that running a translated formula allocates nothing: this executable counts every
// allocation of the process.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "core/formula/formula_library.h"

namespace {
std::atomic<long> gAllocations{0};
}  // namespace

void* operator new(std::size_t size) {
    ++gAllocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace faultscope {
namespace {

TEST(FormulaAllocationTest, RunsWithoutAllocating) {
    std::vector<double> values;
    for (int i = 0; i < 100; ++i) {
        values.push_back(i - 50.0);
    }
    AnalogColumns source = AnalogColumns::FromValues(values);
    for (int i = 0; i < 100; ++i) {
        source.fundamental.rms.push_back(i);
        source.fundamental.angle.push_back(i);
    }
    const std::vector<FormulaSlot> slots{
        {&source, nullptr}, {&source, nullptr}, {&source, nullptr}};
    FormulaProgram program;
    program.SetOnGetValue([&slots](const FormulaProgram* sender, std::string_view id,
                                   Variant& value, const FormulaArguments& args, bool& done) {
        CalcValue(slots, sender, id, value, args, done);
    });
    const char* formulas[] = {
        "(S1+S2+S3)/3",
        "DIVNOTNULL(S1, S2, 0.1, 0) + LEFT('S1', 3) - RIGHT('D2', 2.5) * ANGLE3",
        "SQRT(ABS(S1)) + ZF(S1, D1, ANGLE1, D2, ANGLE2, D3, ANGLE3, 1, 0.5, 0, 0)",
        "ANGLE_ZF(ANGLE1, D1, ANGLE1, D2, 120, D3, 240, 1, 0) + 7 div 2 + (S1 > 0)",
        "'some longer text than fits a small string' = 'x'",
    };
    for (const char* formula : formulas) {
        program.SetSource(FormulaScript(formula));
        program.SetTag(10);
        program.Run();
        const long before = gAllocations;
        for (std::int64_t k = 10; k < 90; ++k) {
            program.SetTag(k);
            program.Run();
        }
        EXPECT_EQ(gAllocations - before, 0) << formula;
    }
}

}  // namespace
}  // namespace faultscope
