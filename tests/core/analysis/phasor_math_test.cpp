#include "core/analysis/phasor_math.h"

#include <gtest/gtest.h>

namespace faultscope {
namespace {

TEST(UnitFactor, TurnsPrefixedUnitsIntoVoltsAndAmperes) {
    struct Case {
        const char* unit;
        std::optional<double> factor;
    };
    const Case cases[] = {{"A", 1.0},     {" V ", 1.0},   {"kA", 1000.0}, {"KV", 1000.0},
                          {"кВ", 1000.0}, {"КА", 1000.0}, {"А", 1.0},     {"мА", 0.001},
                          {"mV", 0.001},  {"Hz", {}},     {"", {}},       {"kW", {}}};
    for (const Case& c : cases) {
        EXPECT_EQ(UnitFactor(c.unit), c.factor) << c.unit;
    }
}

}  // namespace
}  // namespace faultscope
