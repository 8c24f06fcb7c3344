#pragma once

#include <QString>
#include <QStringList>
#include <array>

#include "core/analysis/phase_triple.h"
#include "core/analysis/phasor_math.h"
#include "core/record/record_config.h"

namespace faultscope {

class FormulaChannelHost;
class ViewTemplate;

// One strip of a phase triple's symmetrical components, made as a formula channel over the
// phases A, B, C in slots 1 to 3: its value the RMS of the sequence phasor at every sample, its
// angle the phasor's angle (the library's Seq and Angle_Seq).
struct SequenceChannel {
    QString name;
    QString formulaValue;
    QString formulaAngle;
};

// "I1", "I2", "3I0" for currents and any unit not a voltage; "U1", "U2", "3U0" for voltages.
[[nodiscard]] std::array<SequenceChannel, 3> SequenceChannelsOf(QuantityKind kind);

// Makes the three strips of `triple` as formula channels of `host`, saved in `viewTemplate` and
// made again when the record opens as every formula channel is. A name some channel has already
// gets the triple's circuit after it, then a number. The unit and range are those of phase A.
// Returns the names of the channels made; what failed was told through the template's messages.
QStringList MakeSequenceChannels(ViewTemplate& viewTemplate, const FormulaChannelHost& host,
                                 const RecordConfig& cfg, const PhaseTriple& triple);

}  // namespace faultscope
