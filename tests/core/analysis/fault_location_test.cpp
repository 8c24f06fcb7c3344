#include "core/analysis/fault_location.h"

#include <gtest/gtest.h>

#include <string>

#include "support/fault_scenario.h"

namespace faultscope {
namespace {

using test::FaultScenario;

Phasor Polar(double rms, double degrees) {
    return std::polar(rms, degrees * std::numbers::pi / 180.0);
}

std::array<double, 3> Rms(const std::array<Phasor, 3>& currents) {
    return {std::abs(currents[0]), std::abs(currents[1]), std::abs(currents[2])};
}

TEST(LocateFault, FindsTheTypeAndDistanceOfEveryFaultOnTheLineModel) {
    for (std::size_t t = 0; t < kFaultTypeNames.size(); ++t) {
        for (const double d : {3.0, 17.5, 31.0, 46.0}) {
            const FaultScenario s{.type = static_cast<FaultType>(t), .distanceKm = d};
            SCOPED_TRACE(std::string(kFaultTypeNames[t]) + " at " + std::to_string(d));
            const LinePhasors phasors = test::FaultPhasors(s);
            const auto type =
                ClassifyFault(Rms(test::PreFaultPhasors(s).currents), phasors.currents);
            ASSERT_EQ(type, s.type);
            const FaultLocation found = LocateFault(*type, phasors, s.line).value();
            EXPECT_NEAR(found.distanceKm, d, 1e-9 * d);
            EXPECT_NEAR(found.percent, 100.0 * d / s.line.lengthKm, 1e-9 * d);
            EXPECT_LT(std::abs(found.impedance - d * s.line.perKm.z1), 1e-9 * d);
        }
    }
}

TEST(ClassifyFault, FollowsTheRiseTheShareOfTheLargestAndTheResidual) {
    struct Case {
        const char* name;
        std::array<double, 3> preFault;
        std::array<Phasor, 3> currents;
        std::optional<FaultType> type;
    };
    const std::array<double, 3> load = {100.0, 100.0, 100.0};
    const Case cases[] = {
        {"load only", load, {Polar(100, 0), Polar(100, -120), Polar(100, 120)}, std::nullopt},
        {"a rise short of twice",
         load,
         {Polar(199, 0), Polar(100, -120), Polar(100, 120)},
         std::nullopt},
        {"B has risen but carries under half of A",
         load,
         {Polar(1000, 0), Polar(400, -120), Polar(100, 120)},
         FaultType::AN},
        {"B and C, |3I0| 5 % of the largest",
         load,
         {Phasor(), Polar(1000, -90), Polar(950, 90)},
         FaultType::BC},
        {"B and C, |3I0| 15 % of the largest",
         load,
         {Phasor(), Polar(1000, -90), Polar(850, 90)},
         FaultType::BCN},
        {"C and A to ground",
         load,
         {Polar(900, 30), Polar(90, -120), Polar(1000, 100)},
         FaultType::CAN},
        {"three phases, whatever the residual",
         load,
         {Polar(1000, 0), Polar(1000, -100), Polar(800, 120)},
         FaultType::ABC},
        {"no pre-fault current: any current is a rise",
         {0.0, 0.0, 0.0},
         {Polar(10, 0), Polar(10, -120), Polar(10, 120)},
         FaultType::ABC},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClassifyFault(c.preFault, c.currents), c.type) << c.name;
    }
}

}  // namespace
}  // namespace faultscope
