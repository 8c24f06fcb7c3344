#include "gui/document/oscil_document.h"

#include <QApplication>
#include <QFileInfo>

#include <QBoxLayout>
#include <QCheckBox>
#include <QLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "core/record/channel_data.h"
#include "core/record/load_error.h"
#include "core/settings/ini_store.h"
#include "core/viewtemplate/tamplate.h"
#include "gui/chart/chart.h"
#include "gui/chart/vertical_line.h"
#include "gui/dialogs/chl_view_window.h"
#include "gui/dialogs/custom_series_dialog.h"
#include "gui/dialogs/message_boxes.h"
#include "gui/views/analog_strip.h"
#include "gui/views/analog_strip_list.h"
#include "gui/views/discrete_strip.h"
#include "gui/views/discrete_strip_list.h"
#include "gui/views/strip_view_lists.h"
#include "gui/views/time_lable.h"
#include "gui/views/time_lable_list.h"
#include "gui/views/time_line.h"

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

TComTrade::TComTrade(QObject* owner) : QObject(owner) {}

TComTrade::~TComTrade() {
    // The diagrams are windows of the record window; they go with the record.
    const std::vector<TfrmRoundOscil*> diagrams = std::exchange(roundOscilList_, {});
    for (TfrmRoundOscil* diagram : diagrams) {
        diagram->disconnect(this);
        delete diagram;
    }
    // The visibility window refers to the strips and the engine: it goes first.
    if (frmChlView_ != nullptr) {
        frmChlView_->disconnect(this);
        delete frmChlView_.data();
    }
    // The engine goes before the views it refers to.
    fTamplate_.reset();
}

void TComTrade::LoadComTradeFile(const QString& filePath, LoadOptions options) {
    options.traceFolder = traceFolder_;
    options.cancelled = [this, asked = std::move(options.cancelled)] {
        return cancelled_ || (asked && asked());
    };
    record_ = LoadRecord(filePath, options);
}

void TComTrade::CreateCharts(QWidget* parentTimeLine, QWidget* parentAFrame, QWidget* parentDFrame,
                             int aFrameHeght, int dFrameHeght) {
    const LoadedRecord& r = record_;
    timeLine_ = new TTimeLine(parentTimeLine);
    Place(parentTimeLine, timeLine_);
    timeLine_->CreateTimeLine(r.timeBase);
    timeLine_->SetSamples(r.data.xMs, r.data.timeAscending);
    connect(timeLine_, &TTimeLine::xZoom, this, &TComTrade::TimeLineXZoom);
    connect(timeLine_, &TTimeLine::chartClicked, this, &TComTrade::ChtClick);

    aFrame_ = new TAFrameList(parentAFrame);
    Place(parentAFrame, aFrame_);
    aFrame_->AddCharts(r.cfg.AnalogChenel, timeLine_->BotomAxis(), r.cfg.freq, aFrameHeght);
    aFrame_->SetColumns(r.data.xMs, r.data.analog);
    connect(aFrame_, &TAFrameList::chtClick, this, [this](Chart*, QPointF pos) { ChtClick(pos); });

    dFrame_ = new TDFrameList(parentDFrame);
    Place(parentDFrame, dFrame_);
    dFrame_->AddCharts(r.cfg.DigitalChanal, timeLine_->BotomAxis(), dFrameHeght);
    dFrame_->SetColumns(r.data.discrete);
    connect(dFrame_, &TDFrameList::chtClick, this, [this](Chart*, QPointF pos) { ChtClick(pos); });

    aFrame_->AfterAllDataLoad();
    timeLine_->AfterAllDataLoad();
    if (r.cursor >= 0) {
        PlaceCursor(r.cursor, r.data.xMs[static_cast<std::size_t>(r.cursor)]);
    }
    CreateTamplate();
    loaded_ = true;
}

void TComTrade::Say(MessageIcon icon, const QString& caption, const QString& text) const {
    if (say_) {
        say_(icon, caption, text);
    } else {
        ShowMessageBox(aFrame_, icon, caption, text);
    }
}

void TComTrade::CreateTamplate() {
    formulaHost_ = std::make_unique<RecordFormulaHost>(record_, formulaStore_, traceFolder_);
    formulaHost_->SetHooks(
        [this](const TAnalog& info, AnalogColumns& columns) { AddNewCht(info, columns); },
        [this](const TAnalog&, AnalogColumns& columns) { ShowFormulaChannel(columns); });
    aViews_ = std::make_unique<AnalogStripViews>(aFrame_);
    dViews_ = std::make_unique<DiscreteStripViews>(dFrame_);
    fTamplate_ = std::make_unique<TTamplate>(FileName(), QFileInfo(record_.files.cfgPath).suffix());
    fTamplate_->SetAFrameList(aViews_.get());
    fTamplate_->SetDFrameList(dViews_.get());
    fTamplate_->SetAddNewCht(formulaHost_.get());
    fTamplate_->SetMessages([this](MessageIcon icon, const QString& caption, const QString& text) {
        Say(icon, caption, text);
    });
    fTamplate_->CheckWritable();
    // Saved formulas find their sources through the host, which analyses what they read.
    fTamplate_->CreateSavedChart();
    fTamplate_->LoadAnalogChanelView();
    fTamplate_->LoadDiscretChanelView();
    SayTraceWarnings();
}

void TComTrade::SayTraceWarnings() {
    for (const std::string& warning : formulaHost_->TakeWarnings()) {
        Say(MessageIcon::Warning, QStringLiteral("Внимание"), QString::fromStdString(warning));
    }
}

TAFrame1* TComTrade::AddNewCht(const TAnalog& analog, const AnalogColumns& columns) {
    const auto& shown = aFrame_->DisplayList();
    // A record without analog strips has no height to copy; the stored default fits.
    const int height = shown.empty() ? 100 : shown.front()->height();
    aFrame_->AddCharts({&analog, 1}, timeLine_->BotomAxis(), record_.cfg.freq, height);
    TAFrame1* strip = aFrame_->ChtList().back();
    formulaStrips_.emplace_back(&columns, strip);
    return strip;
}

void TComTrade::ShowFormulaChannel(const AnalogColumns& columns) {
    for (const auto& [bound, strip] : formulaStrips_) {
        if (bound != &columns || strip == nullptr) {
            continue;
        }
        // A channel whose formula failed part way shows the samples it got.
        const std::span<const double> x(record_.data.xMs);
        strip->SetColumns(x.first(std::min(x.size(), columns.size())), columns);
        const auto& strips = aFrame_->ChtList();
        for (int harmonic : {1, 2, 3, 5}) {
            strip->SetHarmonicVisible(harmonic, strips.front()->HarmonicVisible(harmonic));
        }
        strip->SetCursor(strips.front()->CursorPoint());
        aFrame_->SetYMinMaxCht(aFrame_->Zoom().fMin, aFrame_->Zoom().fMax);
    }
}

void TComTrade::AddNewChtFromFunc(IniStore* settings, QWidget* owner) {
    if (!loaded_ || aFrame_ == nullptr) {
        return;
    }
    // A formula may read the sources' fundamental (D1, ANGLE1).
    if (!EnsureFundamentals()) {
        return;
    }
    TfrmCustomSeries dialog(owner, aFrame_, formulaHost_.get(), settings);
    dialog.SetTamplate(fTamplate_.get());
    if (dialog.exec() == QDialog::Accepted) {
        aFrame_->AfterAllDataLoad();
    }
    SayTraceWarnings();
}

void TComTrade::ChtClick(QPointF pos) {
    if (!loaded_) {
        return;
    }
    MoveCursorTo(timeLine_->Cht()->PixelToX(pos.x()));
}

void TComTrade::MoveCursorTo(double time) {
    if (!loaded_) {
        return;
    }
    double x = 0.0;
    const std::ptrdiff_t p = timeLine_->GetNerestPoint(time, x);
    if (p < 0) {
        return;
    }
    PlaceCursor(p, x);
}

void TComTrade::MoveCursorToSample(std::ptrdiff_t point) {
    const std::size_t n = record_.data.xMs.size();
    if (!loaded_ || n == 0) {
        return;
    }
    const auto p = std::clamp<std::ptrdiff_t>(point, 0, static_cast<std::ptrdiff_t>(n) - 1);
    const double x = record_.data.xMs[static_cast<std::size_t>(p)];
    timeLine_->ShowTime(x);
    PlaceCursor(p, x);
}

void TComTrade::PlaceCursor(std::ptrdiff_t point, double x) {
    cursorSample_ = point;
    timeLine_->SetCursor(x);
    aFrame_->SetCursor(point);
    dFrame_->SetCursorTime(x);
    // A diagram may be closed from a redraw; walk a copy.
    const std::vector<TfrmRoundOscil*> diagrams = roundOscilList_;
    for (TfrmRoundOscil* diagram : diagrams) {
        if (diagram->Chk()->isChecked()) {
            diagram->CursorChangePos();
        }
    }
    if (fTimeLables_ != nullptr) {
        for (TTimeLable* lable : fTimeLables_->List()) {
            lable->Cursor()->SetValue(x);
        }
    }
}

TfrmRoundOscil* TComTrade::AddRoundOscil(QWidget* parent, bool useCurentValue) {
    if (!loaded_) {
        return nullptr;
    }
    auto* diagram = new TfrmRoundOscil(parent);
    diagram->SetUseCurentValue(useCurentValue);
    if (!diagram->SetCharts(aFrame_)) {
        delete diagram;
        return nullptr;
    }
    diagram->show();
    connect(diagram, &TfrmRoundOscil::roundOscilClose, this, &TComTrade::RoundOscilClose);
    roundOscilList_.push_back(diagram);
    diagram->activateWindow();
    return diagram;
}

void TComTrade::RoundOscilClose(TfrmRoundOscil* diagram) {
    const auto it = std::ranges::find(roundOscilList_, diagram);
    if (it == roundOscilList_.end()) {
        qWarning("Ошибка списка круговых осцилограмм");
        return;
    }
    roundOscilList_.erase(it);
}

TfrmChlView* TComTrade::ChlView(IniStore* settings, QWidget* owner) {
    if (!loaded_) {
        return nullptr;
    }
    if (frmChlView_ == nullptr) {
        auto* window = new TfrmChlView(settings, owner);
        window->SetRecordStart(record_.data.xMs.empty() ? 0.0 : record_.data.xMs.front());
        window->Init(aFrame_, dFrame_);
        connect(window, &QObject::destroyed, this, &TComTrade::ChlViewDestroy);
        window->SetTamplate(fTamplate_.get());
        frmChlView_ = window;
    }
    frmChlView_->show();
    frmChlView_->raise();
    frmChlView_->activateWindow();
    return frmChlView_;
}

void TComTrade::ShowChangedOnly() {
    if (!loaded_) {
        return;
    }
    if (frmChlView_ != nullptr) {
        frmChlView_->ShowOnlyChanged();
        return;
    }
    const double start = record_.data.xMs.empty() ? 0.0 : record_.data.xMs.front();
    const auto& strips = dFrame_->ChtList();
    std::vector<bool> visible(strips.size(), false);
    for (std::size_t i = 0; i < strips.size(); ++i) {
        visible[i] = strips[i] != nullptr && strips[i]->Columns() != nullptr &&
                     ChangesState(*strips[i]->Columns(), start);
    }
    dViews_->SetVisibility(visible);
    if (fTamplate_ != nullptr) {
        fTamplate_->SaveDiscretChanelView();
    }
}

void TComTrade::ChlViewDestroy() {
    frmChlView_ = nullptr;
}

void TComTrade::CreateTimeLables(QWidget* timeLabelParent) {
    if (!loaded_ || fTimeLables_ != nullptr) {
        return;
    }
    fTimeLables_ = new TTimeLableList(timeLabelParent);
    fTimeLables_->Init(timeLine_->BotomAxis(), aFrame_, dFrame_, timeLine_);
    auto* layout = qobject_cast<QBoxLayout*>(timeLabelParent->layout());
    if (layout == nullptr) {
        Place(timeLabelParent, fTimeLables_);
    } else {
        layout->insertWidget(0, fTimeLables_, 1);
    }
}

void TComTrade::AddTimeLable() {
    if (fTimeLables_ != nullptr) {
        fTimeLables_->AddNewTimeLable();
    }
}

void TComTrade::TimeLineXZoom() {
    // Every strip draws against the time line's axis; the axis change repaints them, and the
    // lists are updated once more here so nothing waits for the next event.
    if (aFrame_ != nullptr) {
        aFrame_->update();
    }
    if (dFrame_ != nullptr) {
        dFrame_->update();
    }
    if (fTimeLables_ != nullptr) {
        for (TTimeLable* lable : fTimeLables_->List()) {
            lable->OnZoom();
        }
    }
}

TComTrade::FillResult TComTrade::FillMissing(HarmonicPart part) {
    std::vector<std::size_t> missing;
    for (std::size_t c = 0; c < record_.data.analog.size(); ++c) {
        const AnalogColumns& ch = record_.data.analog[c];
        if (ch.size() > 0 && !HasHarmonicPart(ch, part)) {
            missing.push_back(c);
        }
    }
    if (missing.empty()) {
        return FillResult::NothingMissing;
    }
    cancelled_ = false;
    filling_ = true;
    // Without a window to show progress the user still sees that the program works.
    const bool waitCursor = !fillFeedback_.started;
    const auto end = [this, waitCursor] {
        filling_ = false;
        if (waitCursor) {
            QApplication::restoreOverrideCursor();
        }
        if (fillFeedback_.finished) {
            fillFeedback_.finished();
        }
    };
    if (waitCursor) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        fillFeedback_.started(missing.size());
    }
    HarmonicRequest request{.part = part};
    request.poll = [this](std::size_t done) {
        if (fillFeedback_.progress) {
            fillFeedback_.progress(done);
        }
        if (cancelled_) {
            throw LoadCancelled();
        }
    };
    try {
        // A cancel stops and joins the workers and keeps none of the results.
        FillHarmonicsOf(record_, missing, request);
    } catch (const LoadCancelled&) {
        end();
        return FillResult::Cancelled;
    } catch (...) {
        end();
        throw;
    }
    end();
    return FillResult::Filled;
}

bool TComTrade::EnsureHarmonics() {
    if (aFrame_ == nullptr || filling_) {
        return false;
    }
    const FillResult result = FillMissing(HarmonicPart::Drawing);
    if (result != FillResult::Filled) {
        return result == FillResult::NothingMissing;
    }
    for (TAFrame1* strip : aFrame_->ChtList()) {
        if (const AnalogColumns* columns = strip->Columns(); columns != nullptr) {
            const std::ptrdiff_t cursor = strip->CursorPoint();
            // A formula channel whose formula failed part way has fewer samples.
            const std::span<const double> x(record_.data.xMs);
            strip->SetColumns(x.first(std::min(x.size(), columns->size())), *columns);
            strip->SetCursor(cursor);
        }
    }
    return true;
}

bool TComTrade::EnsureFundamentals() {
    return aFrame_ != nullptr && !filling_ &&
           FillMissing(HarmonicPart::Fundamental) != FillResult::Cancelled;
}

void TComTrade::ChtVisible(int harmonic, bool visible) {
    if (aFrame_ == nullptr) {
        return;
    }
    // A curve whose analysis was cancelled stays hidden.
    if (visible && !EnsureHarmonics()) {
        return;
    }
    for (TAFrame1* strip : aFrame_->DisplayList()) {
        strip->SetHarmonicVisible(harmonic, visible);
    }
}

bool TComTrade::ChtIsVisible(int harmonic) const {
    if (aFrame_ == nullptr || aFrame_->DisplayList().empty()) {
        return false;
    }
    return aFrame_->DisplayList().front()->HarmonicVisible(harmonic);
}

void TComTrade::XZoomIn() {
    if (timeLine_ != nullptr) {
        timeLine_->ZoomIn();
    }
}

void TComTrade::XZoomOut() {
    if (timeLine_ != nullptr) {
        timeLine_->ZoomOut();
    }
}

void TComTrade::XZoomReset() {
    if (timeLine_ != nullptr) {
        timeLine_->ZoomReset();
    }
}

void TComTrade::YZoomIn() {
    if (aFrame_ != nullptr) {
        aFrame_->YZoomIn();
    }
}

void TComTrade::YZoomOut() {
    if (aFrame_ != nullptr) {
        aFrame_->YZoomOut();
    }
}

void TComTrade::YZoomReset() {
    if (aFrame_ != nullptr) {
        aFrame_->YZoomReset();
    }
}

int TComTrade::AFrameHeight() const {
    return aFrame_ != nullptr && !aFrame_->DisplayList().empty()
               ? aFrame_->DisplayList().front()->height()
               : 0;
}

int TComTrade::DFrameHeight() const {
    return dFrame_ != nullptr && !dFrame_->DisplayList().empty()
               ? dFrame_->DisplayList().front()->height()
               : 0;
}

}  // namespace faultscope
