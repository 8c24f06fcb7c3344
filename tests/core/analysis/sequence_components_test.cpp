#include "core/analysis/sequence_components.h"

#include <gtest/gtest.h>

#include <complex>
#include <vector>

#include "core/analysis/harmonic_signals.h"

namespace faultscope {
namespace {

using test::SampleTimes;
using test::Waveform;

Phasor Polar(double rms, double degrees) {
    return std::polar(rms, degrees * std::numbers::pi / 180.0);
}

TEST(SymmetricalComponents, SplitsBalancedSetsIntoTheirOwnSequence) {
    struct Case {
        const char* name;
        std::array<Phasor, 3> phases;
        SequenceComponents expected;
    };
    const Phasor ia = Polar(100.0, 20.0);
    const Case cases[] = {
        // B lags A by 120 degrees in the positive sequence, leads it in the negative one.
        {"positive", {ia, Polar(100.0, -100.0), Polar(100.0, 140.0)}, {ia, {}, {}}},
        {"negative", {ia, Polar(100.0, 140.0), Polar(100.0, -100.0)}, {{}, ia, {}}},
        {"zero", {ia, ia, ia}, {{}, {}, ia}},
        // A single-phase current splits into three equal thirds.
        {"phase A alone", {ia, {}, {}}, {ia / 3.0, ia / 3.0, ia / 3.0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SequenceComponents s = SymmetricalComponents(c.phases);
        EXPECT_LT(std::abs(s.positive - c.expected.positive), 1e-9);
        EXPECT_LT(std::abs(s.negative - c.expected.negative), 1e-9);
        EXPECT_LT(std::abs(s.zero - c.expected.zero), 1e-9);
    }
}

TEST(SymmetricalComponents, AreUndefinedWhenAPhaseIs) {
    const std::array<std::optional<Phasor>, 3> phases = {Phasor(1.0), std::nullopt, Phasor(2.0)};
    EXPECT_FALSE(SymmetricalComponents(std::span<const std::optional<Phasor>, 3>(phases)));
}

TEST(SequenceComponentsAt, ReadsTheChannelsOfARecord) {
    // An unbalanced set: positive 100 at 10°, negative 30 at 200°, zero 12 at 70°.
    const std::vector<double> x = SampleTimes(200, 1000.0);
    const double amplitude = std::sqrt(2.0);
    std::vector<AnalogColumns> phases;
    for (const double shift : {0.0, -120.0, 120.0}) {
        phases.push_back(AnalogColumns::FromValues(Waveform(x, 50.0, 0.0,
                                                            {{1, 100 * amplitude, 10 + shift},
                                                             {1, 30 * amplitude, 200 - shift},
                                                             {1, 12 * amplitude, 70}})));
    }
    const std::size_t sample = 100;  // its window ends at a whole period from time 0
    const SequenceComponents s =
        SequenceComponentsAt(x, {&phases[0], &phases[1], &phases[2]}, 50.0, sample).value();
    EXPECT_NEAR(std::abs(s.positive), 100.0, 1e-9);
    EXPECT_NEAR(PhasorAngle(s.positive), 10.0, 1e-9);
    EXPECT_NEAR(std::abs(s.negative), 30.0, 1e-9);
    EXPECT_NEAR(PhasorAngle(s.negative), 200.0, 1e-9);
    EXPECT_NEAR(std::abs(s.zero), 12.0, 1e-9);
    EXPECT_NEAR(PhasorAngle(s.zero), 70.0, 1e-9);
}

}  // namespace
}  // namespace faultscope
