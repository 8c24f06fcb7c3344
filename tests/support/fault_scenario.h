#pragma once

#include <QString>
#include <array>
#include <string>
#include <vector>

#include "core/analysis/fault_location.h"
#include "core/analysis/line_channels.h"
#include "core/analysis/loop_impedance.h"

namespace faultscope::test {

// A 110 kV line fed from one end: a source behind the relay, the line with its impedances per
// km, a balanced load before the fault and then a bolted fault of `type` at `distanceKm` from the
// relay. The fault currents come from the sequence networks (the load drops out), the relay's
// voltages from the source, so every loop of the faulted phases satisfies U = d·Z1·I exactly
// (with the current compensated by k0 for a ground loop).
struct FaultScenario {
    FaultType type = FaultType::AN;
    double distanceKm = 20.0;
    LineModel line{{{0.12, 0.40}, {0.30, 1.20}}, 50.0};
    Phasor sourceZ1{1.5, 12.0};
    Phasor sourceZ0{1.0, 9.0};
    double sourceVolts = 63'500.0;           // phase EMF, RMS
    Phasor load = std::polar(300.0, -0.45);  // phase A's load current, A

    // How the record is written: units of the voltages and currents (their prefix sets the
    // scale), and where the fault begins.
    std::string voltageUnit = "kV";
    std::string currentUnit = "kA";
    double frequency = 50.0;
    double rate = 2000.0;
    int preFaultCycles = 3;
    int faultCycles = 5;
    double inceptionDeg = 37.0;  // phase of the fault's start within its cycle
};

// The relay's phasors (volts, amperes) before and during the fault.
[[nodiscard]] LinePhasors PreFaultPhasors(const FaultScenario& s);
[[nodiscard]] LinePhasors FaultPhasors(const FaultScenario& s);

// The time of the fault's first sample, ms from the record's first sample (the trigger).
[[nodiscard]] double InceptionMs(const FaultScenario& s);

// The scenario's samples in volts and amperes: times (ms from the first sample) and the channels
// UA, UB, UC, IA, IB, IC.
struct FaultSamples {
    std::vector<double> xMs;
    std::array<AnalogColumns, 6> channels;

    // The line over the channels, in volts and amperes.
    [[nodiscard]] LineChannels Line() const {
        return {{&channels[0], &channels[1], &channels[2]},
                {&channels[3], &channels[4], &channels[5]}};
    }
};

[[nodiscard]] FaultSamples SampleFault(const FaultScenario& s);

// Writes base.cfg/base.dat: channels UA, UB, UC, IA, IB, IC of circuit "ВЛ-110" (numbers 1 to 6)
// sampled from the phasors; false when a file cannot be written.
bool WriteFaultRecord(const QString& base, const FaultScenario& s);

}  // namespace faultscope::test
