#pragma once

#include <QDialog>

#include "core/analysis/phase_triple.h"
#include "core/record/record_config.h"

class QPushButton;

namespace faultscope {

class PhaseTripleBox;

// "Симметричные составляющие": chooses the phase triple whose positive-, negative- and
// zero-sequence strips the record window then makes (I1, I2, 3I0 or U1, U2, 3U0).
class SequenceComponentsDialog : public QDialog {
    Q_OBJECT

  public:
    static constexpr char kTitle[] = "Симметричные составляющие";

    // `cfg` must outlive the dialog.
    SequenceComponentsDialog(const RecordConfig& cfg, QWidget* parent);

    [[nodiscard]] PhaseTriple Triple() const;
    [[nodiscard]] PhaseTripleBox* Phases() const noexcept { return phases_; }
    [[nodiscard]] QPushButton* BtnOk() const noexcept { return btnOk_; }

  private:
    PhaseTripleBox* phases_ = nullptr;
    QPushButton* btnOk_ = nullptr;
};

}  // namespace faultscope
