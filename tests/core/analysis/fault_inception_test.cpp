#include "core/analysis/fault_inception.h"

#include <gtest/gtest.h>

#include "core/analysis/fault_location.h"
#include "support/fault_scenario.h"
#include "support/record_columns.h"

namespace faultscope {
namespace {

using test::FaultScenario;

TEST(FaultInception, ReadsThePreFaultCurrentsAtTheEndOfTheFirstCycle) {
    const FaultScenario s{.type = FaultType::BC, .load = std::polar(250.0, -0.3)};
    const test::FaultSamples f = test::SampleFault(s);
    const PreFaultCurrents pre = ReadPreFaultCurrents(f.xMs, f.Line(), 50.0).value();
    EXPECT_EQ(pre.sample, 40u);  // 40 samples a cycle at 2 kHz
    for (const double rms : pre.rms) {
        EXPECT_NEAR(rms, 250.0, 1e-9);
    }
}

TEST(FaultInception, IsSeenWithinACycleOfTheFaultsStart) {
    for (const double degrees : {0.0, 37.0, 200.0, 330.0}) {
        for (const FaultType type : {FaultType::CN, FaultType::AB, FaultType::ABC}) {
            const FaultScenario s{.type = type, .distanceKm = 45.0, .inceptionDeg = degrees};
            const test::FaultSamples f = test::SampleFault(s);
            const PreFaultCurrents pre = ReadPreFaultCurrents(f.xMs, f.Line(), 50.0).value();
            const std::size_t found = FindFaultInception(f.xMs, f.Line(), 50.0, pre).value();
            EXPECT_GE(f.xMs[found], test::InceptionMs(s)) << degrees;
            EXPECT_LT(f.xMs[found], test::InceptionMs(s) + 20.0) << degrees;
        }
    }
    EXPECT_DOUBLE_EQ(EvaluationTimeMs(70.0, 50.0), 100.0);
}

TEST(FaultInception, IsNotFoundWithoutARiseOrAPreFaultCycle) {
    const FaultScenario quiet{.faultCycles = 0};
    const test::FaultSamples f = test::SampleFault(quiet);
    const PreFaultCurrents pre = ReadPreFaultCurrents(f.xMs, f.Line(), 50.0).value();
    EXPECT_FALSE(FindFaultInception(f.xMs, f.Line(), 50.0, pre));

    test::FaultSamples gap = test::SampleFault(FaultScenario{});
    test::SetSample(gap.channels[5], 12, 0.0, true);  // IC in the first cycle
    EXPECT_FALSE(ReadPreFaultCurrents(gap.xMs, gap.Line(), 50.0));
}

}  // namespace
}  // namespace faultscope
