#pragma once

#include <QObject>
#include <QString>

namespace faultscope {

// The linear function from values to pixel coordinates of one axis on one pixel span, for
// converting many values at once without the axis' bookkeeping on each.
struct AxisMapping {
    double start = 0.0;  // pixel of the minimum's end
    double min = 0.0;
    double scale = 0.0;  // pixels per value unit, negative on a vertical axis

    [[nodiscard]] double operator()(double value) const noexcept {
        return start + (value - min) * scale;
    }
};

// A value range laid along one edge of a plot, with its look. One axis object may serve several
// charts (the time axis of a record): each chart converts with its own pixel span, and every
// change is announced once through changed(), so all of them repaint.
class Axis : public QObject {
    Q_OBJECT

  public:
    explicit Axis(QObject* parent = nullptr);

    [[nodiscard]] double Minimum() const noexcept { return min_; }
    [[nodiscard]] double Maximum() const noexcept { return max_; }
    // Each refuses, changing nothing and returning false, a bound that is not finite or a
    // minimum that would lie above the maximum; callers order their calls to avoid that.
    bool SetMinimum(double value);
    bool SetMaximum(double value);
    bool SetRange(double min, double max);

    // Blank pixels kept inside the plot before the minimum's end and after the maximum's end.
    void SetEndOffsets(int minOffset, int maxOffset);
    [[nodiscard]] int MinOffset() const noexcept { return minOffset_; }
    [[nodiscard]] int MaxOffset() const noexcept { return maxOffset_; }

    // A hidden axis draws neither its line nor its labels nor its grid.
    void SetVisible(bool visible);
    [[nodiscard]] bool IsVisible() const noexcept { return visible_; }
    void SetLabelsVisible(bool visible);
    [[nodiscard]] bool LabelsVisible() const noexcept { return labelsVisible_; }
    void SetGridVisible(bool visible);
    [[nodiscard]] bool GridVisible() const noexcept { return gridVisible_; }
    // Gap in pixels between the plot's edge and the labels' near side.
    void SetLabelInset(int pixels);
    [[nodiscard]] int LabelInset() const noexcept { return labelInset_; }
    // Smallest step between labels in value units; 0 lets the spacing decide alone.
    void SetIncrement(double increment);
    [[nodiscard]] double Increment() const noexcept { return increment_; }

    // Picture pattern of the labels ("#,##0.##"); empty for the general number format.
    void SetLabelFormat(const QString& pattern);
    [[nodiscard]] const QString& LabelFormat() const noexcept { return labelFormat_; }
    [[nodiscard]] QString FormatValue(double value) const;

    // Converts on a span whose pixel `first` stands for the minimum's end and `last` for the
    // maximum's end (last < first for a vertical axis, whose values grow upwards).
    [[nodiscard]] double ValueToPixel(double value, double first, double last) const noexcept;
    [[nodiscard]] double PixelToValue(double pixel, double first, double last) const noexcept;
    [[nodiscard]] AxisMapping Mapping(double first, double last) const noexcept;

    // Takes over the other axis' range and look.
    void Assign(const Axis& other);

  signals:
    void changed();

  private:
    double min_ = 0.0;
    double max_ = 1.0;
    int minOffset_ = 0;
    int maxOffset_ = 0;
    bool visible_ = true;
    bool labelsVisible_ = true;
    bool gridVisible_ = true;
    int labelInset_ = 4;
    double increment_ = 0.0;
    QString labelFormat_;
};

}  // namespace faultscope
