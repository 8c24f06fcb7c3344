#pragma once

#include <QPointer>
#include <QProgressDialog>
#include <QRect>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "core/record/record_config.h"
#include "core/record/record_data.h"
#include "core/record/text_encoding.h"
#include "core/session/record_cut.h"
#include "core/session/record_loader.h"
#include "core/settings/form_state_store.h"
#include "gui/dialogs/channel_visibility_window.h"
#include "gui/dialogs/event_list_window.h"
#include "gui/dialogs/fault_location_dialog.h"
#include "gui/dialogs/impedance_window.h"
#include "gui/dialogs/label_values_window.h"

class QProgressBar;

class QPushButton;

namespace faultscope {

class ChannelSearchBar;
class IniStore;
class StripFinder;
class LabelColorPool;
class MessageSink;
class TimeLabel;
class RecordDocument;
class SaveFragmentDialog;

// The caption of a record window: the device and station names joined by "_", without padding
// or stray "_" at either end, then " — " and the name of the file the user chose, so that two
// records of one device can be told apart.
QString RecordWindowTitle(const RecordConfig& cfg, const QString& fileName);

// One line for the status bar about the samples that lie outside their channel's range, naming
// the channels and their counts ("Вне диапазона: IA 20 из 200, IB 200 из 200"); empty when there
// are none. At most three channels are named, the rest counted.
QString GapSummaryText(const RecordConfig& cfg, const RecordData& data);

// The child window of one record: a progress bar while it loads, then the analog strips, the
// discrete strips and the time line, with a grip that shares the height between the two strip
// panels. The share and the strip heights are remembered for all record windows.
// Formerly TfrmOscil.
class RecordWindow : public QWidget {
    Q_OBJECT

  public:
    static constexpr char kSection[] = "AllOscillForm";

    // `settings` may be null: nothing is then remembered.
    // Messages go to `messages` (boxes over the active window when null), which must outlive the
    // window; time labels take their colours from `labelColors` (the default ones when null).
    explicit RecordWindow(IniStore* settings, MessageSink* messages = nullptr,
                          std::shared_ptr<LabelColorPool> labelColors = nullptr,
                          QWidget* parent = nullptr);
    ~RecordWindow() override;

    // Opens and shows a record. Never raises: a failure is shown in a box titled "Ошибка" and
    // the window closes.
    void LoadRecordFile(const QString& fileName, TextEncoding encoding);

    // Where trace files go (see RecordDocument::SetTraceFolder).
    void SetTraceFolder(const QString& folder);

    // Puts the window's frame where record windows were last placed (call once it is in the
    // multi-document area).
    void RestorePlacement();

    // Shows the label panel and adds a time label, then fits the panel to the labels.
    void AddTimeLabel();
    // Opens a vector diagram of RMS values (true) or instantaneous values (false); tells the
    // user when no analog channel is shown.
    void AddPhasorDiagram(bool useCurrentValue);
    // Hides this record's vector diagrams and zone dialogs while another record is active or
    // this one is minimised, and shows again those it hid.
    void ShowToolWindows(bool show);

    void AnalogPanelView(bool visible);
    void SetDiscretePanelVisible(bool visible);
    [[nodiscard]] bool AnalogPanelVisible() const;
    [[nodiscard]] bool DiscretePanelVisible() const;

    // Opens the print dialog for the record and runs it until the user closes it.
    void Print();
    // Lays the record out on A4 pages as printing does and writes them into a PDF file chosen
    // by the user; a failure is shown in a box titled "Ошибка".
    void ExportPdf();
    // Puts the record as the window shows it on the clipboard as a picture.
    void CopyPicture();
    // Replaces the file dialog of ExportPdf (tests); an empty name cancels.
    void SetExportFileChooser(std::function<QString()> chooser) {
        exportFileChooser_ = std::move(chooser);
    }
    // Runs the formula channel dialog for the record.
    void AddFormulaChannel();
    // Shows the record's channel visibility window, a tool window of this one, creating it on
    // first use.
    void ChannelView();
    // "Только сработавшие": the open visibility window follows.
    void ShowChangedOnly();
    // "События": the record's list of state changes, a tool window of this one, created on
    // first use; a double click on an event moves the cursor there.
    void ShowEvents();
    // The open list of events, or null.
    [[nodiscard]] EventListWindow* EventsWindow() const noexcept { return eventsWindow_; }
    // "Симметричные составляющие": asks for a phase triple and makes its I1, I2 and 3I0 (U1, U2,
    // 3U0) strips, kept in the view template as formula channels.
    void AddSequenceComponents();
    // "Годограф сопротивления": the R-X plane of the record, a tool window created on first use.
    void ShowImpedance();
    // "Место повреждения": the line data and the fault found on them, a tool window created on
    // first use; the line data live in the view template.
    void ShowFaultLocation();
    // The open R-X plane and fault location window, or null.
    [[nodiscard]] ImpedanceWindow* ImpedanceView() const noexcept { return impedanceWindow_; }
    [[nodiscard]] FaultLocationDialog* FaultLocationView() const noexcept {
        return locationWindow_;
    }
    // The zone characteristics of the record's open zone dialogs.
    [[nodiscard]] std::vector<ZoneOutline> OpenZones() const;
    // The value table of a time label, one per label, opened by its "Значения".
    void ShowLabelValues(TimeLabel* label);
    // The open value tables.
    [[nodiscard]] std::vector<LabelValuesWindow*> LabelValuesWindows() const;
    // "Сохранить фрагмент…": the shown time range or a label's interval as a new COMTRADE pair
    // (optionally with the formula channels) or as CSV; a failure is shown in a box titled
    // "Ошибка", and nothing is half written.
    void SaveFragment();
    // Replaces the dialogs of SaveFragment (tests): `choose` gets the dialog to set up and
    // returns whether it was accepted; `file` gets the offered name and returns the chosen one
    // (empty cancels).
    void SetFragmentChoosers(std::function<bool(SaveFragmentDialog&)> choose,
                             std::function<QString(const QString& offered)> file) {
        fragmentChoice_ = std::move(choose);
        fragmentFile_ = std::move(file);
    }
    // The open visibility window, or null.
    [[nodiscard]] ChannelVisibilityWindow* VisibilityWindow() const noexcept {
        return visibilityWindow_;
    }

    [[nodiscard]] RecordDocument* Document() const noexcept { return document_; }
    [[nodiscard]] bool Loading() const noexcept { return loading_; }
    // The samples outside their channels' ranges, for the status bar; empty when there are none.
    [[nodiscard]] const QString& GapSummary() const noexcept { return gapSummary_; }

    // The panels, for the main window's commands and for tests.
    [[nodiscard]] QWidget* PnlTimeLabel() const noexcept { return pnlTimeLabel_; }
    [[nodiscard]] QWidget* PnlTResize() const noexcept { return pnlTResize_; }
    [[nodiscard]] QWidget* PnlA() const noexcept { return pnlA_; }
    [[nodiscard]] QWidget* PnlD() const noexcept { return pnlD_; }
    [[nodiscard]] QWidget* PnlResize() const noexcept { return pnlResize_; }
    [[nodiscard]] QWidget* PnlTimeLine() const noexcept { return pnlTimeLine_; }
    [[nodiscard]] QProgressBar* Pb() const noexcept { return pb_; }
    [[nodiscard]] QPushButton* BtnCancel() const noexcept { return btnCancel_; }
    // The channel search of Ctrl+F, hidden until then.
    [[nodiscard]] ChannelSearchBar* SearchBar() const noexcept { return searchBar_; }
    // The progress of a harmonic analysis on demand while it runs, else null.
    [[nodiscard]] QProgressDialog* FillProgress() const noexcept { return fillProgress_; }

  signals:
    // The record is shown and serves commands.
    void loaded();
    // Something went wrong without stopping the load; the text is for the status bar.
    void loadWarning(const QString& text);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // `rect` moved and cut so that `window`, frame included, lies on this window's screen.
    [[nodiscard]] QRect OnScreen(const QRect& rect, const QWidget& window) const;
    // Places a new tool window of the record over its top right corner, whole on the screen, its
    // caption naming the record.
    void PlaceToolWindow(QWidget& tool);
    // The tool windows that follow the record's activation.
    [[nodiscard]] std::vector<QWidget*> ToolWindows() const;
    // Opens the edit dialog of a time label over it.
    void EditTimeLabel(TimeLabel* label);
    void BuildPanels();
    // Line data changed in the fault location window: kept in the template and used by the R-X
    // plane for k0.
    void LineDataChanged(const FaultLocationSettings& settings);
    void WriteFragment(SampleRange range, const QString& file, bool formulaChannels);
    void WriteFragmentCsv(SampleRange range, const QString& file);
    // Left/Right step the cursor a sample (with Shift ten), Home/End put it on the ends.
    void AddCursorKeys();
    // Ctrl+F opens the channel search at the top; closing it takes its highlight off.
    void AddChannelSearch();
    void OpenChannelSearch();
    void FindChannel(const QString& text);
    void CloseChannelSearch();
    void ConfigRead(const RecordConfig& cfg);
    void LoadProgress(std::int64_t linesRead);
    // The progress and "Отмена" of a harmonic analysis the window asks for after its load.
    void FollowFills();
    // Names the step of the load in the progress bar's text.
    void ShowStep(LoadStep step);
    void ApplyADPnlRatio();
    void StoreADPnlRatio();
    void SetAnalogPanelHeight(int height);
    void StoreValues();
    [[nodiscard]] int OuterHeight() const;
    [[nodiscard]] int LabelPanelHeight() const;
    void Finish(const QString& error);
    bool PnlTResizeEvent(QEvent* event);

    FormStateStore store_;
    RecordDocument* document_;
    QPointer<ChannelVisibilityWindow> visibilityWindow_;
    QWidget* pnlTimeLabel_ = nullptr;
    QWidget* pnlTResize_ = nullptr;
    QWidget* pnlA_ = nullptr;
    QWidget* pnlResize_ = nullptr;
    QWidget* pnlD_ = nullptr;
    QWidget* pnlTimeLine_ = nullptr;
    QWidget* pnlProgress_ = nullptr;
    QProgressBar* pb_ = nullptr;
    QPushButton* btnCancel_ = nullptr;
    ChannelSearchBar* searchBar_ = nullptr;
    std::unique_ptr<StripFinder> finder_;
    IniStore* settings_;
    MessageSink* messages_;
    std::shared_ptr<LabelColorPool> labelColors_;
    double adPnlRatio_ = 0.5;
    // The frame's last geometry while it was neither minimised nor maximised.
    QRect normalFrame_;
    QPointer<EventListWindow> eventsWindow_;
    QPointer<ImpedanceWindow> impedanceWindow_;
    QPointer<FaultLocationDialog> locationWindow_;
    std::vector<QPointer<LabelValuesWindow>> valuesWindows_;
    std::function<bool(SaveFragmentDialog&)> fragmentChoice_;
    std::function<QString(const QString&)> fragmentFile_;
    TextEncoding encoding_ = TextEncoding::Windows;
    // The tool windows ShowToolWindows(false) hid.
    std::vector<QPointer<QWidget>> hiddenTools_;
    std::uint32_t endsamp_ = 0;
    bool startResize_ = false;
    QString chosenFile_;
    QString gapSummary_;
    bool tStartResize_ = false;
    bool loading_ = false;
    bool closeAfterLoad_ = false;
    QPointer<QProgressDialog> fillProgress_;
    std::function<QString()> exportFileChooser_;
};

}  // namespace faultscope
