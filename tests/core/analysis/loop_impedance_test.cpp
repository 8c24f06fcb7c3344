#include "core/analysis/loop_impedance.h"

#include <gtest/gtest.h>

#include <string>

#include "support/fault_scenario.h"
#include "support/record_columns.h"

namespace faultscope {
namespace {

using test::FaultScenario;

// Whether a bolted fault of `type` holds the fault end of `loop` at zero volts: the loop's
// phases are all faulted, and a phase-to-ground loop needs ground (or all three phases).
bool LoopIsFaulted(FaultType type, FaultLoop loop) {
    const std::string_view fault = FaultTypeName(type);
    const std::string_view name = FaultLoopName(loop);
    const bool ground = fault.ends_with('N') || fault == "ABC";
    return fault.find(name[0]) != std::string_view::npos &&
           (name[1] == 'N' ? ground : fault.find(name[1]) != std::string_view::npos);
}

TEST(LoopImpedance, EveryFaultedLoopMeasuresTheLineUpToTheFault) {
    for (std::size_t t = 0; t < kFaultTypeNames.size(); ++t) {
        for (const double d : {4.0, 21.5, 47.0}) {
            FaultScenario s{.type = static_cast<FaultType>(t), .distanceKm = d};
            const LinePhasors phasors = test::FaultPhasors(s);
            const Phasor k0 = ResidualCompensation(s.line.perKm);
            int faulted = 0;
            for (std::size_t l = 0; l < kFaultLoopNames.size(); ++l) {
                const auto loop = static_cast<FaultLoop>(l);
                if (!LoopIsFaulted(s.type, loop)) {
                    continue;
                }
                ++faulted;
                const Phasor z = LoopImpedance(LoopOf(loop, phasors, k0)).value();
                EXPECT_LT(std::abs(z - d * s.line.perKm.z1), 1e-9 * std::abs(z))
                    << kFaultTypeNames[t] << ' ' << kFaultLoopNames[l] << ' ' << d;
            }
            EXPECT_GE(faulted, 1) << kFaultTypeNames[t];
        }
    }
}

TEST(LoopImpedance, ParsesLoopNamesAndLeavesAnUncompensatedLoopForNoLine) {
    for (const std::string_view name : kFaultLoopNames) {
        EXPECT_EQ(FaultLoopName(ParseFaultLoop(name).value()), name);
    }
    for (const char* wrong : {"an", "NA", "ABC", ""}) {
        EXPECT_FALSE(ParseFaultLoop(wrong)) << wrong;
    }
    EXPECT_EQ(ResidualCompensation({{}, {0.3, 1.2}}), Phasor());
    EXPECT_FALSE(LoopImpedance({{100.0, 0.0}, {}}));
}

// The samples whose window lies wholly in the pre-fault part or wholly in the fault.
bool PreFault(const test::FaultSamples& f, const FaultScenario& s, std::size_t i) {
    return f.xMs[i] < test::InceptionMs(s) && i >= 40;
}
bool InFault(const test::FaultSamples& f, const FaultScenario& s, std::size_t i) {
    return f.xMs[i] >= test::InceptionMs(s) + 20.0;
}

TEST(ImpedanceSeries, GivesTheFaultLoopsImpedanceAndNothingForADeadLoop) {
    const FaultScenario s{.type = FaultType::AN, .distanceKm = 20.0};
    const test::FaultSamples f = test::SampleFault(s);
    const Phasor k0 = ResidualCompensation(s.line.perKm);
    const auto an = ImpedanceSeries(f.xMs, f.Line(), 50.0, FaultLoop::AN, k0, 0, f.xMs.size());
    const auto bc = ImpedanceSeries(f.xMs, f.Line(), 50.0, FaultLoop::BC, k0, 0, f.xMs.size());
    ASSERT_EQ(an.size(), f.xMs.size());
    for (std::size_t i = 0; i < f.xMs.size(); ++i) {
        SCOPED_TRACE(i);
        if (InFault(f, s, i)) {
            EXPECT_LT(std::abs(an[i].value() - 20.0 * s.line.perKm.z1), 1e-6);
            EXPECT_FALSE(bc[i]);  // B and C carry nothing during a fault of phase A
        }
        if (PreFault(f, s, i)) {
            EXPECT_TRUE(bc[i]);  // the load's impedance
        }
    }
    // A part of the record gives the points the whole record gives there.
    EXPECT_EQ(ImpedanceSeries(f.xMs, f.Line(), 50.0, FaultLoop::AN, k0, 150, 60),
              decltype(an)(an.begin() + 150, an.begin() + 210));
}

TEST(ImpedanceSeries, LeavesOutPointsUnderTheCurrentFloor) {
    // The pre-fault loop current is about 2.5 % of the fault's with 100 A of load, 7.5 % with
    // 300 A.
    for (const double load : {100.0, 300.0}) {
        const FaultScenario s{.type = FaultType::AN, .load = std::polar(load, -0.45)};
        const test::FaultSamples f = test::SampleFault(s);
        const auto an = ImpedanceSeries(f.xMs, f.Line(), 50.0, FaultLoop::AN,
                                        ResidualCompensation(s.line.perKm), 0, f.xMs.size());
        for (std::size_t i = 0; i < f.xMs.size(); ++i) {
            if (PreFault(f, s, i)) {
                EXPECT_EQ(an[i].has_value(), load > 200.0) << load << ' ' << i;
            }
        }
    }
}

TEST(ImpedanceSeries, IsUndefinedOverAGapOfAChannelTheLoopReads) {
    const FaultScenario s{.type = FaultType::AN};
    test::FaultSamples f = test::SampleFault(s);
    constexpr std::size_t kGap = 250;
    test::SetSample(f.channels[4], kGap, 0.0, true);  // IB
    const Phasor k0 = ResidualCompensation(s.line.perKm);
    const std::size_t n = f.xMs.size();
    const auto compensated = ImpedanceSeries(f.xMs, f.Line(), 50.0, FaultLoop::AN, k0, 0, n);
    const auto plain = ImpedanceSeries(f.xMs, f.Line(), 50.0, FaultLoop::AN, {}, 0, n);
    // Windows of 40 samples end at kGap … kGap + 39: k0·3I0 reads IB, Ua/Ia does not.
    for (std::size_t i = kGap - 1; i <= kGap + 40; ++i) {
        const bool over = i >= kGap && i < kGap + 40;
        EXPECT_EQ(compensated[i].has_value(), !over) << i;
        EXPECT_TRUE(plain[i]) << i;
    }
}

}  // namespace
}  // namespace faultscope
