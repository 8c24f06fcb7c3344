#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "core/session/record_session.h"
#include "core/viewtemplate/message_sink.h"
#include "gui/views/analog_strip_list.h"
#include "gui/views/discrete_strip_list.h"
#include "gui/views/phasor_diagram.h"
#include "gui/views/time_label_list.h"
#include "gui/views/time_line.h"

class QWidget;

namespace faultscope {

class AnalogStripViews;
class DiscreteStripViews;
class IniStore;
class LabelColorPool;
class StripZoomGestures;
class ViewTemplate;

// The oscillogram document: one open record with the views built from it. It loads the record,
// owns the time line and the two strip lists (through their parent panels), and routes clicks
// and time zooms between them.
// Formerly TComTrade.
class RecordDocument : public QObject {
    Q_OBJECT

  public:
    explicit RecordDocument(QObject* owner = nullptr);
    ~RecordDocument() override;

    // Loads the record of `filePath` through LoadRecord with the caller's hooks (caption,
    // progress, cancel), every analog channel analysed on worker threads. Raises LoadError, or
    // LoadCancelled once Cancel() was called or options.cancelled said so.
    void LoadRecordFile(const QString& filePath, LoadOptions options);
    // Builds the views over the loaded record in the three panels, every analog strip
    // `analogStripHeight` and every discrete strip `discreteStripHeight` pixels high.
    void CreateCharts(QWidget* parentTimeLine, QWidget* analogPanel, QWidget* discretePanel,
                      int analogStripHeight, int discreteStripHeight);
    // Where the trace files of traced channels go; none are written while it is empty.
    void SetTraceFolder(const QString& folder) { session_.SetTraceFolder(folder); }
    // Stops a running load, or an analysis on demand, at its next pause.
    void Cancel() noexcept { session_.Cancel(); }

    // How the window follows the making of the template's formula channels when the record
    // opens (see RecordSession::MakeSavedFormulaChannels).
    void SetMakingProgress(ViewTemplate::MakingProgress progress) {
        makingProgress_ = std::move(progress);
    }
    // How the window follows an analysis on demand (EnsureHarmonics, EnsureFundamentals); without
    // a `started` hook the mouse pointer shows that the program works.
    void SetFillFeedback(RecordSession::AnalysisFeedback feedback);
    // An analysis on demand is running: commands that need the views must wait.
    [[nodiscard]] bool Filling() const noexcept { return session_.Analysing(); }

    // Shows or hides the RMS series of harmonic `harmonic` (one of kHarmonicOrders) on every
    // analog strip, hidden ones included; showing one analyses the channels first.
    void ChtVisible(int harmonic, bool visible);
    // The harmonic columns of the record's analog channels are empty after loading: the
    // readouts and vector diagrams compute their numbers at the cursor. The curves need the
    // columns themselves: this analyses every channel not analysed yet, on worker threads, and
    // binds the curves to the results. False when the user cancelled it (or one is running
    // already): nothing is kept, and the next call tries again. Raises LoadError when the
    // analysis refuses the record or its results would not fit into memory ("Недостаточно
    // памяти"); nothing is kept then either.
    bool EnsureHarmonics();
    // The same for the fundamental in double that formulas read (Dn, ANGLEn).
    bool EnsureFundamentals();
    // Whether the curve of `harmonic` is shown (as on the first strip in display order).
    [[nodiscard]] bool ChtIsVisible(int harmonic) const;

    // The open record without its views.
    [[nodiscard]] RecordSession& Session() noexcept { return session_; }
    [[nodiscard]] const RecordSession& Session() const noexcept { return session_; }
    [[nodiscard]] const QString& FileName() const noexcept { return Record().files.fileName; }
    [[nodiscard]] const RecordConfig& ConfigFile() const noexcept { return Record().cfg; }
    [[nodiscard]] const LoadedRecord& Record() const noexcept { return session_.Record(); }
    // The views; null until CreateCharts has built them.
    [[nodiscard]] AnalogStripList* AnalogStrips() const noexcept { return analogStrips_; }
    [[nodiscard]] DiscreteStripList* DiscreteStrips() const noexcept { return discreteStrips_; }
    [[nodiscard]] TimeLine* TimeLineView() const noexcept { return timeLine_; }
    // True once every view is built and the record serves commands.
    [[nodiscard]] bool Loaded() const noexcept { return loaded_; }

    // The commands of the main window's zoom buttons; nothing happens before the views exist.
    void XZoomIn();
    void XZoomOut();
    void XZoomReset();
    // "Назад": the time range before the user's last change of it.
    void XZoomBack();
    [[nodiscard]] bool CanXZoomBack() const;
    void YZoomIn();
    void YZoomOut();
    void YZoomReset();
    // Heights of the analog and the discrete strips (the first of each in display order), the
    // values a record window remembers; 0 where there is no strip.
    [[nodiscard]] int AnalogStripHeight() const;
    [[nodiscard]] int DiscreteStripHeight() const;

    // Moves every cursor to the sample nearest to `x` milliseconds among those in view.
    void MoveCursorTo(double x);
    // Moves every cursor to sample `point`, clamped to the record, and scrolls the time range
    // so that it shows.
    void MoveCursorToSample(std::ptrdiff_t point);
    // The sample the cursor stands on; -1 before the record is loaded.
    [[nodiscard]] std::ptrdiff_t CursorSample() const noexcept { return session_.CursorSample(); }

    // Where the document's messages go (the template's warnings, formula failures); set before the
    // views are built, and `say` must outlive the document. Boxes over the active window unless
    // set.
    void SetMessages(MessageSink* say) noexcept { say_ = say; }

    // The record's template engine; null until the views are built.
    [[nodiscard]] ViewTemplate* Template() const noexcept { return session_.Template(); }
    // After the formula channel dialog: lays the strips out again when it was accepted, and tells
    // what the new channels' trace files could not write.
    void FormulaDialogClosed(bool accepted);
    // Creates the time label list in `timeLabelParent`, above whatever it holds; call once the
    // views are built.
    void CreateTimeLabels(QWidget* timeLabelParent,
                          std::shared_ptr<LabelColorPool> labelColors = nullptr);
    // Adds a time label (at most six).
    void AddTimeLabel();
    // Null until CreateTimeLabels.
    [[nodiscard]] TimeLabelList* TimeLabels() const noexcept { return timeLabels_; }

    // Opens a vector diagram of the record as a tool window of `parent`; null, opening nothing,
    // when no analog strip is shown.
    PhasorDiagram* AddPhasorDiagram(QWidget* parent, bool useCurrentValue);
    // The open diagrams in opening order.
    [[nodiscard]] const std::vector<PhasorDiagram*>& PhasorDiagrams() const noexcept {
        return phasorDiagrams_;
    }

    // "Только сработавшие": shows exactly the discrete strips whose state changes within the
    // record and saves that view.
    void ShowChangedOnly();

  signals:
    // A time label asks for its edit dialog; a phasor diagram for its zone dialog. The record
    // window opens them.
    void timeLabelEditRequested(faultscope::TimeLabel* label);
    void timeLabelValuesRequested(faultscope::TimeLabel* label);
    void zonesRequested(faultscope::PhasorDiagram* diagram);
    // A diagram was rebuilt with no shown channel left.
    void phasorDiagramEmptied(faultscope::PhasorDiagram* diagram);
    // The history of time ranges that XZoomBack returns to changed.
    void timeHistoryChanged();
    // The cursor was placed on `sample`.
    void cursorMoved(std::ptrdiff_t sample);

  private:
    void ChtClick(QPointF pos);
    void PlaceCursor(std::ptrdiff_t point, double x);
    void PhasorDiagramClosed(PhasorDiagram* diagram);
    void TimeLineXZoom();
    // Rubber bands and wheels over the strips change the time line's range.
    void FollowZoomGestures(const StripZoomGestures& gestures);
    void CreateTemplate();
    AnalogStrip* AddNewCht(const AnalogChannel& analog);
    void ShowFormulaChannel(AnalogStrip& strip, const AnalogColumns& columns);
    void SayTraceWarnings();
    [[nodiscard]] MessageSink& Messages() const;

    RecordSession session_;
    ViewTemplate::MakingProgress makingProgress_;
    QPointer<TimeLine> timeLine_;
    QPointer<AnalogStripList> analogStrips_;
    QPointer<DiscreteStripList> discreteStrips_;
    std::unique_ptr<AnalogStripViews> aViews_;
    std::unique_ptr<DiscreteStripViews> dViews_;
    MessageSink* say_ = nullptr;
    QPointer<TimeLabelList> timeLabels_;
    std::vector<PhasorDiagram*> phasorDiagrams_;
    bool loaded_ = false;
};

}  // namespace faultscope
