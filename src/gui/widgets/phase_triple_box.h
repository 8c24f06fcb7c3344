#pragma once

#include <QStringList>
#include <QWidget>
#include <array>
#include <optional>
#include <vector>

#include "core/analysis/phase_triple.h"
#include "core/analysis/phasor_math.h"
#include "core/record/record_config.h"

class QComboBox;

namespace faultscope {

// The channels of phases A, B and C of one quantity: a list of the triples the record offers
// (FindPhaseTriples, e.g. "IA/IB/IC ВЛ-110") that fills three lists, one per phase, over the
// record's analog channels, each of which can then be changed alone. Limited to one kind of
// quantity when one is given (the voltages or the currents of a line).
class PhaseTripleBox : public QWidget {
    Q_OBJECT

  public:
    // `cfg` must outlive the box. The first triple offered is chosen; without one, the first
    // three channels of the kind.
    PhaseTripleBox(const RecordConfig& cfg, std::optional<QuantityKind> kind, QWidget* parent);

    [[nodiscard]] PhaseTriple Triple() const;
    // Chooses the channels of `triple` (analog channel positions).
    void SetTriple(const PhaseTriple& triple);
    // The three channels' identifiers, A first.
    [[nodiscard]] QStringList ChannelIds() const;
    // Chooses the channels of these identifiers; false, changing nothing, unless all three are
    // channels of the box.
    bool SetChannelIds(const QStringList& ids);
    // The record has channels of the box's kind to choose from.
    [[nodiscard]] bool HasChannels() const;

    [[nodiscard]] QComboBox* Offered() const noexcept { return offered_; }
    [[nodiscard]] QComboBox* Phase(std::size_t p) const noexcept { return phases_.at(p); }

  signals:
    // The user or a setter changed a channel.
    void changed();

  private:
    void ChooseOffered(int index);

    const RecordConfig& cfg_;
    std::vector<PhaseTriple> triples_;
    QComboBox* offered_ = nullptr;
    std::array<QComboBox*, 3> phases_{};
    bool setting_ = false;
};

// "IA/IB/IC ВЛ-110": the triple's channel names, then the circuit of phase A.
[[nodiscard]] QString PhaseTripleText(const RecordConfig& cfg, const PhaseTriple& triple);

}  // namespace faultscope
