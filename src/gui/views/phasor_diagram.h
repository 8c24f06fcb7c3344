#pragma once

#include "gui/views/phasor_legend_row.h"

#include <QPointF>
#include <QPointer>
#include <QWidget>
#include <optional>
#include <vector>

#include "core/analysis/phasor_math.h"
#include "gui/views/phasor_source.h"

class QCheckBox;
class QLabel;
class QRadioButton;
class QScrollArea;
class QSplitter;
class QToolButton;
class QVBoxLayout;

namespace faultscope {

class ArrowSeries;
class Chart;
class PointSeries;
class PolylineSeries;
class ShapeSeries;
class AnalogStrip;
class AnalogStripList;
struct PlotGeometry;

// The vector diagram of a record: one arrow per shown analog channel from the centre of a square
// chart, its direction the angle of the fundamental at the cursor and its length the RMS of the
// fundamental (or the instantaneous value), angles relative to a base channel when one is
// ticked in the legend. It follows the record cursor while its box is ticked. Ctrl+C copies its
// picture. Zone characteristics are drawn into sOZ_DZ, sOZ_DZ_Off and sLine by the zone dialog.
// Formerly TfrmRoundOscil.
class PhasorDiagram : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kMaxRows = 128;

    explicit PhasorDiagram(QWidget* parent = nullptr);
    ~PhasorDiagram() override;

    void SetUseCurrentValue(bool value);
    // Builds the legend from the visible strips of the list and draws; false (the caller then
    // discards the window) when no strip is visible.
    [[nodiscard]] bool SetCharts(AnalogStripList* chtList);
    // Redraws for the strips' current cursor sample.
    void CursorChangePos();
    // Rebuilds the legend from the strips visible now; false when none is.
    bool UpdateChart();
    [[nodiscard]] double GetMaxValue() const;
    void SetMaxMinAxisValue(double max);
    // The zones button: asks for the diagram's zone dialog.
    void imgAddClick();
    // Whether the diagram redraws at every move of the cursor ("Следовать за курсором").
    [[nodiscard]] bool FollowsCursor() const noexcept;

    [[nodiscard]] Chart* Cht() const noexcept { return cht_; }
    [[nodiscard]] ArrowSeries* SArrow() const noexcept { return sArrow_; }
    [[nodiscard]] ShapeSeries* SRound() const noexcept { return sRound_; }
    [[nodiscard]] PointSeries* SOZ_DZ() const noexcept { return sOZ_DZ_; }
    [[nodiscard]] PointSeries* SOZ_DZ_Off() const noexcept { return sOZ_DZ_Off_; }
    [[nodiscard]] PolylineSeries* SLine() const noexcept { return sLine_; }
    [[nodiscard]] QCheckBox* Chk() const noexcept { return chk_; }
    [[nodiscard]] QLabel* PnlT() const noexcept { return pnlT_; }
    [[nodiscard]] QRadioButton* Rb180() const noexcept { return rb180_; }
    [[nodiscard]] QToolButton* ImgInfo() const noexcept { return imgInfo_; }
    [[nodiscard]] QToolButton* ImgUpdate() const noexcept { return imgUpdate_; }
    [[nodiscard]] QToolButton* ImgAdd() const noexcept { return imgAdd_; }
    [[nodiscard]] const std::vector<PhasorLegendRow*>& Items() const noexcept { return items_; }
    [[nodiscard]] int BaseArrow() const noexcept { return baseArrow_; }

  signals:
    // The window is closing; the document forgets it.
    void closed(faultscope::PhasorDiagram* diagram);
    // The zones button was pressed: the diagram's zone dialog should show.
    void zonesRequested(faultscope::PhasorDiagram* diagram);
    // Rebuilt with no shown channel left: the diagram has nothing to show and should close.
    void emptied(faultscope::PhasorDiagram* diagram);

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildChart();
    void BuildSeries();
    void BuildLegend();
    // Finds the legend's width that cuts no row, and gives it to a shown legend.
    void FitLegend();
    void ShowLegendWhole();
    [[nodiscard]] bool Shown(std::size_t k,
                             const std::vector<std::optional<PhasorReading>>& readings) const;
    [[nodiscard]] static double Magnitude(const PhasorLegendRow& item,
                                          const PhasorReading& reading);
    [[nodiscard]] static QuantityKind KindOf(const PhasorLegendRow& item);
    void BuildButtons();
    void ClearLegend();
    void BaseArrowChange(PhasorLegendRow* item, bool checked);
    void SetAngleView(AngleMode view);
    void pnlInfoClick();
    void phasorPanelResized();
    void chtAfterDraw(QPainter& painter, const PlotGeometry& geometry);
    void CopyPicture();
    void ChtMousePress(QPointF pos, Qt::MouseButton button);
    void ChtMouseMove(QPointF pos);
    void ChtMouseRelease(QPointF pos, Qt::MouseButton button);
    // Each item's reading at its strip's cursor, in the order of the items: read once per redraw.
    [[nodiscard]] std::vector<std::optional<PhasorReading>> ReadItems() const;
    [[nodiscard]] double MaxMagnitude(
        const std::vector<std::optional<PhasorReading>>& readings) const;

    QSplitter* spl1_ = nullptr;
    QWidget* phasorPanel_ = nullptr;
    Chart* cht_ = nullptr;
    ArrowSeries* sArrow_ = nullptr;
    ArrowSeries* sChrtArrow_ = nullptr;
    ShapeSeries* sAxis_ = nullptr;
    ShapeSeries* sAxisCross_ = nullptr;
    ShapeSeries* sRound_ = nullptr;
    PointSeries* sOZ_DZ_ = nullptr;
    PointSeries* sOZ_DZ_Off_ = nullptr;
    PolylineSeries* sLine_ = nullptr;
    QWidget* pnlRight_ = nullptr;
    QScrollArea* sb_ = nullptr;
    QVBoxLayout* rows_ = nullptr;
    QRadioButton* rbReal_ = nullptr;
    QRadioButton* rb180_ = nullptr;
    QToolButton* imgInfo_ = nullptr;
    QToolButton* imgUpdate_ = nullptr;
    QToolButton* imgAdd_ = nullptr;
    QCheckBox* chk_ = nullptr;
    QLabel* pnlT_ = nullptr;
    QPointer<AnalogStripList> chtList_;
    std::vector<PhasorLegendRow*> items_;
    int baseArrow_ = -1;
    int legendWidth_ = 0;  // the width FitLegend found for the legend
    bool useCurrentValue_ = true;
    // Mouse zoom (right button) and pan (middle button) until the next redraw.
    Qt::MouseButton dragButton_ = Qt::NoButton;
    QPointF dragStart_;
};

}  // namespace faultscope
