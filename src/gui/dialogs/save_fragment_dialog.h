#pragma once

#include <QDialog>
#include <QString>
#include <vector>

class QCheckBox;
class QComboBox;
class QRadioButton;

namespace faultscope {

// One interval a fragment can be cut from: the shown time range or a time label's.
struct FragmentInterval {
    QString name;
    double fromMs = 0.0;
    double toMs = 0.0;
};

// "Сохранить фрагмент": chooses the interval, COMTRADE or CSV, and whether the formula channels
// go into a COMTRADE cut as analog channels.
class SaveFragmentDialog : public QDialog {
    Q_OBJECT

  public:
    SaveFragmentDialog(std::vector<FragmentInterval> intervals, bool hasFormulaChannels,
                       QWidget* parent = nullptr);

    [[nodiscard]] const FragmentInterval& Interval() const;
    [[nodiscard]] bool Csv() const;
    [[nodiscard]] bool WithFormulaChannels() const;

    [[nodiscard]] QComboBox* IntervalBox() const noexcept { return interval_; }
    [[nodiscard]] QRadioButton* CsvButton() const noexcept { return csv_; }
    [[nodiscard]] QCheckBox* FormulaBox() const noexcept { return formulas_; }

  private:
    std::vector<FragmentInterval> intervals_;
    QComboBox* interval_;
    QRadioButton* comtrade_;
    QRadioButton* csv_;
    QCheckBox* formulas_;
};

}  // namespace faultscope
