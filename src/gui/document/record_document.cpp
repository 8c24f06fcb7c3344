#include "gui/document/record_document.h"

#include <QApplication>
#include <QFileInfo>

#include <QBoxLayout>
#include <QCheckBox>
#include <QLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "core/record/channel_data.h"
#include "core/record/harmonic_orders.h"
#include "core/record/load_error.h"
#include "core/settings/ini_store.h"
#include "core/viewtemplate/view_template.h"
#include "gui/chart/chart.h"
#include "gui/chart/vertical_line.h"
#include "gui/views/analog_strip.h"
#include "gui/views/analog_strip_list.h"
#include "gui/views/discrete_strip.h"
#include "gui/views/discrete_strip_list.h"
#include "gui/views/strip_view_lists.h"
#include "gui/views/strip_zoom_gestures.h"
#include "gui/views/time_label.h"
#include "gui/views/time_label_list.h"
#include "gui/views/time_line.h"
#include "gui/widgets/message_boxes.h"

namespace faultscope {
namespace {

// Puts `view` alone into `parent`, filling it.
void Place(QWidget* parent, QWidget* view) {
    QLayout* layout = parent->layout();
    if (layout == nullptr) {
        layout = new QVBoxLayout(parent);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
    }
    layout->addWidget(view);
}

}  // namespace

RecordDocument::RecordDocument(QObject* owner) : QObject(owner) {}

RecordDocument::~RecordDocument() {
    // The diagrams are windows of the record window; they go with the record.
    const std::vector<PhasorDiagram*> diagrams = std::exchange(phasorDiagrams_, {});
    for (PhasorDiagram* diagram : diagrams) {
        diagram->disconnect(this);
        delete diagram;
    }
}

void RecordDocument::LoadRecordFile(const QString& filePath, LoadOptions options) {
    session_.Load(filePath, std::move(options));
}

void RecordDocument::SetFillFeedback(RecordSession::AnalysisFeedback feedback) {
    if (!feedback.started) {
        // Without a window to show progress the user still sees that the program works.
        feedback.started = [](std::size_t) { QApplication::setOverrideCursor(Qt::WaitCursor); };
        feedback.finished = [finished = std::move(feedback.finished)] {
            QApplication::restoreOverrideCursor();
            if (finished) {
                finished();
            }
        };
    }
    session_.SetAnalysisFeedback(std::move(feedback));
}

void RecordDocument::CreateCharts(QWidget* parentTimeLine, QWidget* analogPanel,
                                  QWidget* discretePanel, int analogStripHeight,
                                  int discreteStripHeight) {
    const LoadedRecord& r = session_.Record();
    timeLine_ = new TimeLine(parentTimeLine);
    Place(parentTimeLine, timeLine_);
    timeLine_->CreateTimeLine(r.timeBase);
    timeLine_->SetSamples(r.data.xMs, r.data.timeAscending);
    connect(timeLine_, &TimeLine::xZoom, this, &RecordDocument::TimeLineXZoom);
    connect(timeLine_, &TimeLine::chartClicked, this, &RecordDocument::ChtClick);

    analogStrips_ = new AnalogStripList(analogPanel);
    Place(analogPanel, analogStrips_);
    analogStrips_->AddCharts(r.cfg.analog, timeLine_->BottomAxis(), r.cfg.freq, analogStripHeight);
    analogStrips_->SetColumns(r.data.xMs, r.data.analog);
    connect(analogStrips_, &AnalogStripList::chtClick, this,
            [this](Chart*, QPointF pos) { ChtClick(pos); });

    discreteStrips_ = new DiscreteStripList(discretePanel);
    Place(discretePanel, discreteStrips_);
    discreteStrips_->AddCharts(r.cfg.digital, timeLine_->BottomAxis(), discreteStripHeight);
    discreteStrips_->SetColumns(r.data.discrete);
    connect(discreteStrips_, &DiscreteStripList::chtClick, this,
            [this](Chart*, QPointF pos) { ChtClick(pos); });

    for (StripListArea* list : {static_cast<StripListArea*>(analogStrips_),
                                static_cast<StripListArea*>(discreteStrips_)}) {
        FollowZoomGestures(*list->Gestures());
    }
    connect(timeLine_, &TimeLine::historyChanged, this, &RecordDocument::timeHistoryChanged);
    analogStrips_->AfterAllDataLoad();
    timeLine_->AfterAllDataLoad();
    if (const std::ptrdiff_t cursor = session_.CursorSample(); cursor >= 0) {
        PlaceCursor(cursor, r.data.xMs[static_cast<std::size_t>(cursor)]);
    }
    CreateTemplate();
    loaded_ = true;
}

void RecordDocument::FollowZoomGestures(const StripZoomGestures& gestures) {
    connect(&gestures, &StripZoomGestures::timeRangeChosen, timeLine_.data(), &TimeLine::ShowRange);
    connect(&gestures, &StripZoomGestures::timeWheel, timeLine_.data(), &TimeLine::ZoomAbout);
}

MessageSink& RecordDocument::Messages() const {
    return MessagesOr(say_);
}

void RecordDocument::CreateTemplate() {
    // A formula channel gets its strip once it is computed; one that fails gets none.
    session_.FormulaHost().SetHooks({}, [this](const AnalogChannel& info, AnalogColumns& columns) {
        ShowFormulaChannel(*AddNewCht(info), columns);
    });
    aViews_ = std::make_unique<AnalogStripViews>(analogStrips_);
    dViews_ = std::make_unique<DiscreteStripViews>(discreteStrips_);
    session_.OpenTemplate(Messages());
    ViewTemplate* viewTemplate = session_.Template();
    viewTemplate->SetAnalogViews(aViews_.get());
    viewTemplate->SetDiscreteViews(dViews_.get());
    viewTemplate->CheckWritable();
    {
        // The strips of the saved channels are stacked once, when the last one is made.
        struct HeldLayout {
            AnalogStripList* strips;
            ~HeldLayout() { strips->HoldLayout(false); }
        } held{analogStrips_};
        analogStrips_->HoldLayout(true);
        session_.MakeSavedFormulaChannels(makingProgress_);
    }
    viewTemplate->LoadAnalogChannelView();
    viewTemplate->LoadDiscreteChannelView();
    SayTraceWarnings();
}

void RecordDocument::SayTraceWarnings() {
    for (const std::string& warning : session_.TakeTraceWarnings()) {
        Messages().Show(MessageIcon::Warning, QStringLiteral("Внимание"),
                        QString::fromStdString(warning));
    }
}

AnalogStrip* RecordDocument::AddNewCht(const AnalogChannel& analog) {
    const auto& shown = analogStrips_->DisplayList();
    // A record without analog strips has no height to copy; the stored default fits.
    const int height = shown.empty() ? 100 : shown.front()->height();
    analogStrips_->AddCharts({&analog, 1}, timeLine_->BottomAxis(), Record().cfg.freq, height);
    return analogStrips_->ChtList().back();
}

void RecordDocument::ShowFormulaChannel(AnalogStrip& strip, const AnalogColumns& columns) {
    const std::span<const double> x(Record().data.xMs);
    strip.SetColumns(x.first(std::min(x.size(), columns.size())), columns);
    const AnalogStrip& first = *analogStrips_->ChtList().front();
    // A channel is analysed when its curves are first shown; shown curves need it at once.
    const bool curvesShown = std::ranges::any_of(
        kHarmonicOrders, [&first](int harmonic) { return first.HarmonicVisible(harmonic); });
    if (curvesShown) {
        EnsureHarmonics();
    }
    for (const int harmonic : kHarmonicOrders) {
        strip.SetHarmonicVisible(harmonic, first.HarmonicVisible(harmonic));
    }
    strip.SetCursor(first.CursorPoint());
    analogStrips_->ApplyZoom(strip);
}

void RecordDocument::FormulaDialogClosed(bool accepted) {
    if (accepted && analogStrips_ != nullptr) {
        analogStrips_->AfterAllDataLoad();
    }
    SayTraceWarnings();
}

void RecordDocument::ChtClick(QPointF pos) {
    if (!loaded_) {
        return;
    }
    MoveCursorTo(timeLine_->Cht()->PixelToX(pos.x()));
}

void RecordDocument::MoveCursorTo(double time) {
    if (!loaded_) {
        return;
    }
    double x = 0.0;
    const std::ptrdiff_t p = timeLine_->NearestSampleInView(time, x);
    if (p < 0) {
        return;
    }
    PlaceCursor(p, x);
}

void RecordDocument::MoveCursorToSample(std::ptrdiff_t point) {
    if (!loaded_ || Record().data.xMs.empty()) {
        return;
    }
    const std::ptrdiff_t p = session_.SetCursorSample(point);
    const double x = Record().data.xMs[static_cast<std::size_t>(p)];
    timeLine_->ShowTime(x);
    PlaceCursor(p, x);
}

void RecordDocument::PlaceCursor(std::ptrdiff_t point, double x) {
    session_.SetCursorSample(point);
    timeLine_->SetCursor(x);
    analogStrips_->SetCursor(point);
    discreteStrips_->SetCursorTime(x);
    // A diagram may be closed from a redraw; walk a copy.
    const std::vector<PhasorDiagram*> diagrams = phasorDiagrams_;
    for (PhasorDiagram* diagram : diagrams) {
        if (diagram->FollowsCursor()) {
            diagram->CursorChangePos();
        }
    }
    if (timeLabels_ != nullptr) {
        for (TimeLabel* label : timeLabels_->List()) {
            label->Cursor()->SetValue(x);
        }
    }
    emit cursorMoved(point);
}

PhasorDiagram* RecordDocument::AddPhasorDiagram(QWidget* parent, bool useCurrentValue) {
    if (!loaded_) {
        return nullptr;
    }
    auto* diagram = new PhasorDiagram(parent);
    diagram->SetUseCurrentValue(useCurrentValue);
    if (!diagram->SetCharts(analogStrips_)) {
        delete diagram;
        return nullptr;
    }
    diagram->show();
    connect(diagram, &PhasorDiagram::closed, this, &RecordDocument::PhasorDiagramClosed);
    connect(diagram, &PhasorDiagram::zonesRequested, this, &RecordDocument::zonesRequested);
    connect(diagram, &PhasorDiagram::emptied, this, &RecordDocument::phasorDiagramEmptied);
    phasorDiagrams_.push_back(diagram);
    diagram->activateWindow();
    return diagram;
}

void RecordDocument::PhasorDiagramClosed(PhasorDiagram* diagram) {
    const auto it = std::ranges::find(phasorDiagrams_, diagram);
    if (it == phasorDiagrams_.end()) {
        qWarning("Ошибка списка круговых осцилограмм");
        return;
    }
    phasorDiagrams_.erase(it);
}

void RecordDocument::ShowChangedOnly() {
    if (!loaded_) {
        return;
    }
    const double start = Record().data.xMs.empty() ? 0.0 : Record().data.xMs.front();
    const auto& strips = discreteStrips_->ChtList();
    std::vector<bool> visible(strips.size(), false);
    for (std::size_t i = 0; i < strips.size(); ++i) {
        visible[i] = strips[i] != nullptr && strips[i]->Columns() != nullptr &&
                     ChangesState(*strips[i]->Columns(), start);
    }
    dViews_->SetVisibility(visible);
    if (ViewTemplate* viewTemplate = session_.Template(); viewTemplate != nullptr) {
        viewTemplate->SaveDiscreteChannelView();
    }
}

void RecordDocument::CreateTimeLabels(QWidget* timeLabelParent,
                                      std::shared_ptr<LabelColorPool> labelColors) {
    if (!loaded_ || timeLabels_ != nullptr) {
        return;
    }
    timeLabels_ = new TimeLabelList(timeLabelParent);
    timeLabels_->Init(timeLine_->BottomAxis(), analogStrips_, discreteStrips_, timeLine_,
                      std::move(labelColors));
    connect(timeLabels_, &TimeLabelList::editRequested, this,
            &RecordDocument::timeLabelEditRequested);
    connect(timeLabels_, &TimeLabelList::valuesRequested, this,
            &RecordDocument::timeLabelValuesRequested);
    auto* layout = qobject_cast<QBoxLayout*>(timeLabelParent->layout());
    if (layout == nullptr) {
        Place(timeLabelParent, timeLabels_);
    } else {
        layout->insertWidget(0, timeLabels_, 1);
    }
}

void RecordDocument::AddTimeLabel() {
    if (timeLabels_ != nullptr) {
        timeLabels_->AddNewTimeLabel();
    }
}

void RecordDocument::TimeLineXZoom() {
    // Every strip draws against the time line's axis; the axis change repaints them, and the
    // lists are updated once more here so nothing waits for the next event.
    if (analogStrips_ != nullptr) {
        analogStrips_->update();
    }
    if (discreteStrips_ != nullptr) {
        discreteStrips_->update();
    }
    if (timeLabels_ != nullptr) {
        for (TimeLabel* label : timeLabels_->List()) {
            label->OnZoom();
        }
    }
}

bool RecordDocument::EnsureHarmonics() {
    if (analogStrips_ == nullptr || session_.Analysing()) {
        return false;
    }
    const auto result = session_.AnalyseMissing(HarmonicPart::Drawing);
    if (result != RecordSession::AnalysisResult::Analysed) {
        return result == RecordSession::AnalysisResult::NothingMissing;
    }
    for (AnalogStrip* strip : analogStrips_->ChtList()) {
        if (const AnalogColumns* columns = strip->Columns(); columns != nullptr) {
            const std::ptrdiff_t cursor = strip->CursorPoint();
            // A formula channel whose formula failed part way has fewer samples.
            const std::span<const double> x(Record().data.xMs);
            strip->SetColumns(x.first(std::min(x.size(), columns->size())), *columns);
            strip->SetCursor(cursor);
        }
    }
    return true;
}

bool RecordDocument::EnsureFundamentals() {
    return analogStrips_ != nullptr && !session_.Analysing() &&
           session_.AnalyseMissing(HarmonicPart::Fundamental) !=
               RecordSession::AnalysisResult::Cancelled;
}

void RecordDocument::ChtVisible(int harmonic, bool visible) {
    if (analogStrips_ == nullptr) {
        return;
    }
    // A curve whose analysis was cancelled stays hidden.
    if (visible && !EnsureHarmonics()) {
        return;
    }
    for (AnalogStrip* strip : analogStrips_->DisplayList()) {
        strip->SetHarmonicVisible(harmonic, visible);
    }
}

bool RecordDocument::ChtIsVisible(int harmonic) const {
    if (analogStrips_ == nullptr || analogStrips_->DisplayList().empty()) {
        return false;
    }
    return analogStrips_->DisplayList().front()->HarmonicVisible(harmonic);
}

void RecordDocument::XZoomIn() {
    if (timeLine_ != nullptr) {
        timeLine_->ZoomIn();
    }
}

void RecordDocument::XZoomOut() {
    if (timeLine_ != nullptr) {
        timeLine_->ZoomOut();
    }
}

void RecordDocument::XZoomReset() {
    if (timeLine_ != nullptr) {
        timeLine_->ZoomReset();
    }
}

void RecordDocument::XZoomBack() {
    if (timeLine_ != nullptr) {
        timeLine_->Back();
    }
}

bool RecordDocument::CanXZoomBack() const {
    return timeLine_ != nullptr && timeLine_->CanGoBack();
}

void RecordDocument::YZoomIn() {
    if (analogStrips_ != nullptr) {
        analogStrips_->YZoomIn();
    }
}

void RecordDocument::YZoomOut() {
    if (analogStrips_ != nullptr) {
        analogStrips_->YZoomOut();
    }
}

void RecordDocument::YZoomReset() {
    if (analogStrips_ != nullptr) {
        analogStrips_->YZoomReset();
    }
}

int RecordDocument::AnalogStripHeight() const {
    return analogStrips_ != nullptr && !analogStrips_->DisplayList().empty()
               ? analogStrips_->DisplayList().front()->height()
               : 0;
}

int RecordDocument::DiscreteStripHeight() const {
    return discreteStrips_ != nullptr && !discreteStrips_->DisplayList().empty()
               ? discreteStrips_->DisplayList().front()->height()
               : 0;
}

}  // namespace faultscope
