#include "support/fault_scenario.h"

#include <array>
#include <cmath>
#include <numbers>

#include "core/analysis/phasor_math.h"
#include "record_writer.h"

namespace faultscope::test {
namespace {

const Phasor kA(-0.5, std::numbers::sqrt3 / 2.0);
const Phasor kA2 = kA * kA;

// The phase the fault's sequence networks are referred to: the faulted phase of a
// phase-to-ground fault, the healthy one of a fault between two phases.
std::size_t ReferencePhase(FaultType type) {
    switch (type) {
        case FaultType::BN:
        case FaultType::CA:
        case FaultType::CAN:
            return 1;
        case FaultType::CN:
        case FaultType::AB:
        case FaultType::ABN:
            return 2;
        default:
            return 0;
    }
}

struct Sequence {
    Phasor zero, positive, negative;
};

// Phase quantities from sequence quantities referred to phase `reference`.
std::array<Phasor, 3> Phases(const Sequence& s, std::size_t reference) {
    std::array<Phasor, 3> phases;
    phases[reference] = s.zero + s.positive + s.negative;
    phases[(reference + 1) % 3] = s.zero + kA2 * s.positive + kA * s.negative;
    phases[(reference + 2) % 3] = s.zero + kA * s.positive + kA2 * s.negative;
    return phases;
}

// The fault's sequence currents for an EMF `e` of the reference phase.
Sequence FaultCurrents(FaultType type, Phasor e, Phasor z1, Phasor z0) {
    switch (type) {
        case FaultType::AN:
        case FaultType::BN:
        case FaultType::CN: {
            const Phasor i = e / (z1 + z1 + z0);
            return {i, i, i};
        }
        case FaultType::AB:
        case FaultType::BC:
        case FaultType::CA: {
            const Phasor i = e / (z1 + z1);
            return {0.0, i, -i};
        }
        case FaultType::ABN:
        case FaultType::BCN:
        case FaultType::CAN: {
            const Phasor i = e / (z1 + z1 * z0 / (z1 + z0));
            return {-i * z1 / (z1 + z0), i, -i * z0 / (z1 + z0)};
        }
        case FaultType::ABC:
            return {0.0, e / z1, 0.0};
    }
    return {};
}

std::array<Phasor, 3> Rotated(Phasor a) {
    return {a, kA2 * a, kA * a};
}

}  // namespace

LinePhasors PreFaultPhasors(const FaultScenario& s) {
    LinePhasors p;
    p.currents = Rotated(s.load);
    p.voltages = Rotated(s.sourceVolts - s.sourceZ1 * s.load);
    return p;
}

LinePhasors FaultPhasors(const FaultScenario& s) {
    const std::size_t reference = ReferencePhase(s.type);
    const Phasor e = Rotated(s.sourceVolts)[reference];
    const Phasor z1 = s.sourceZ1 + s.distanceKm * s.line.perKm.z1;
    const Phasor z0 = s.sourceZ0 + s.distanceKm * s.line.perKm.z0;
    const Sequence i = FaultCurrents(s.type, e, z1, z0);
    const Sequence u{-s.sourceZ0 * i.zero, e - s.sourceZ1 * i.positive, -s.sourceZ1 * i.negative};
    return {Phases(u, reference), Phases(i, reference)};
}

double InceptionMs(const FaultScenario& s) {
    return (s.preFaultCycles + s.inceptionDeg / 360.0) * 1000.0 / s.frequency;
}

FaultSamples SampleFault(const FaultScenario& s) {
    const double cycles = s.preFaultCycles + s.faultCycles;
    const auto count = static_cast<std::size_t>(std::lround(cycles * s.rate / s.frequency));
    const LinePhasors before = PreFaultPhasors(s);
    const LinePhasors during = FaultPhasors(s);
    const double inception = InceptionMs(s);
    FaultSamples samples;
    std::array<std::vector<double>, 6> values;
    for (std::size_t n = 0; n < count; ++n) {
        // Whole microseconds, as a recorder writes them.
        const double t = std::nearbyint(static_cast<double>(n) * 1e6 / s.rate) / 1000.0;
        samples.xMs.push_back(t);
        const LinePhasors& p = t < inception ? before : during;
        const double turn = 2.0 * std::numbers::pi * s.frequency * t / 1000.0;
        for (std::size_t k = 0; k < 6; ++k) {
            const Phasor x = k < 3 ? p.voltages[k] : p.currents[k - 3];
            values[k].push_back(std::numbers::sqrt2 * std::abs(x) * std::sin(turn + std::arg(x)));
        }
    }
    for (std::size_t k = 0; k < 6; ++k) {
        samples.channels[k] = AnalogColumns::FromValues(values[k]);
    }
    return samples;
}

bool WriteFaultRecord(const QString& base, const FaultScenario& s) {
    // 0.2 V and 0.02 A per count, written in the scenario's units.
    constexpr std::array<double, 2> kCounts = {0.2, 0.02};
    tools::RecordSpec spec;
    spec.station = "ПС Модель";
    spec.device = "Линия " + std::string(FaultTypeName(s.type));
    for (const bool voltage : {true, false}) {
        const std::string& unit = voltage ? s.voltageUnit : s.currentUnit;
        const double perCount = kCounts[voltage ? 0 : 1] / UnitFactor(unit).value();
        for (const char* phase : {"A", "B", "C"}) {
            spec.analog.push_back({std::string(voltage ? "U" : "I") + phase + " ВЛ-110", phase,
                                   "ВЛ-110", unit, perCount, 0.0, -999999, 999999});
        }
    }
    spec.lineFrequency = s.frequency;
    spec.rate = s.rate;
    const FaultSamples samples = SampleFault(s);
    spec.samples = static_cast<std::uint32_t>(samples.xMs.size());
    spec.firstTime = "01/06/2026,10:00:00.000000";
    spec.triggerTime = spec.firstTime;
    return tools::WriteRecord(
        base, spec, [&](std::uint32_t n, std::vector<int>& raw, std::vector<int>&) {
            for (std::size_t k = 0; k < 6; ++k) {
                raw[k] =
                    static_cast<int>(std::lround(samples.channels[k].Value(n) / kCounts[k / 3]));
            }
        });
}

}  // namespace faultscope::test
