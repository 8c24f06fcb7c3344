#pragma once

#include <QString>
#include <cstddef>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/session/record_formula_host.h"
#include "core/session/record_loader.h"
#include "core/viewtemplate/message_sink.h"
#include "core/viewtemplate/view_template.h"

namespace faultscope {

// One open record and everything about it that needs no window: the loaded record, its formula
// channels, its view template, the sample the cursor stands on and the harmonic analysis that
// waits until someone asks for it. The window's document builds its views over a session; the
// command-line tool uses one without a window.
//
// A session is filled in order: Load, then OpenTemplate when the template is wanted. Until Load
// has succeeded the record is empty and every other call finds nothing to do. The formula
// channels' columns never move once made, so views and later formulas may point at them for as
// long as the session lives.
class RecordSession {
  public:
    // Where trace files of traced channels go; none are written when it is empty.
    explicit RecordSession(QString traceFolder = {});
    ~RecordSession();

    RecordSession(const RecordSession&) = delete;
    RecordSession& operator=(const RecordSession&) = delete;

    // Loads the record of `filePath` through LoadRecord with the caller's hooks, traces going to
    // the session's trace folder; the cursor stands on the sample nearest the trigger. Raises
    // LoadError, or LoadCancelled once Cancel() was called or options.cancelled said so.
    void Load(const QString& filePath, LoadOptions options);
    [[nodiscard]] const LoadedRecord& Record() const noexcept { return record_; }
    // The warnings of the load and of later analyses (trace files that could not be written)
    // that are still in the record; they leave it.
    [[nodiscard]] std::vector<std::string> TakeRecordWarnings() {
        return std::exchange(record_.warnings, {});
    }
    [[nodiscard]] const QString& TraceFolder() const noexcept { return traceFolder_; }
    void SetTraceFolder(const QString& folder);

    // Opens the record's view template (the ".lyt" beside it); its messages go to `say`, which
    // must outlive the session. The
    // formula channels it holds are made only by MakeSavedFormulaChannels, so a window can first
    // bind its views and find out whether the file can be written.
    void OpenTemplate(MessageSink& say);
    // The view template; null until OpenTemplate.
    [[nodiscard]] ViewTemplate* Template() const noexcept { return template_.get(); }
    // Makes every formula channel the template holds, in file order; what cannot be made is told
    // through the template's messages and left out. `progress` comes before each channel and may
    // let the event loop run: a Cancel() then raises LoadCancelled before the next channel, and
    // the channels made so far stay.
    void MakeSavedFormulaChannels(const ViewTemplate::MakingProgress& progress = {});

    // The formula channels made so far, in order, and the host that makes new ones over the
    // record (recorded channels first, then these).
    [[nodiscard]] const FormulaChannelStore& FormulaChannels() const noexcept {
        return formulaChannels_;
    }
    [[nodiscard]] RecordFormulaHost& FormulaHost() noexcept { return formulaHost_; }
    // The warnings of trace files that could not be written since last asked.
    [[nodiscard]] std::vector<std::string> TakeTraceWarnings() {
        return formulaHost_.TakeWarnings();
    }

    // The sample the cursor stands on; -1 for a record without samples or before Load.
    [[nodiscard]] std::ptrdiff_t CursorSample() const noexcept { return cursorSample_; }
    // Puts the cursor on `sample`, clamped to the record; returns where it stands.
    std::ptrdiff_t SetCursorSample(std::ptrdiff_t sample) noexcept;

    // How the caller follows an analysis on demand. Every hook is called on the calling thread
    // and may be empty; `progress` comes about every 30 ms while worker threads analyse and may
    // let the event loop run: a Cancel() then stops the workers at their next pause. `finished`
    // comes after a cancel or an error too.
    struct AnalysisFeedback {
        std::function<void(std::size_t channels)> started;
        std::function<void(std::size_t channelsDone)> progress;
        std::function<void()> finished;
    };
    void SetAnalysisFeedback(AnalysisFeedback feedback) { feedback_ = std::move(feedback); }

    enum class AnalysisResult { NothingMissing, Analysed, Cancelled };
    // Analyses `part` of every analog channel, formula channels included, that lacks it (only of
    // those in `channels`, indices of recorded channels, when any are given), on worker threads. A
    // cancel keeps nothing, and the next call tries again; so does a call while one runs
    // (Cancelled). Raises LoadError when the analysis refuses the record or its results would not
    // fit into memory; nothing is kept then either.
    AnalysisResult AnalyseMissing(HarmonicPart part, std::span<const std::size_t> channels = {});
    // An analysis on demand is running.
    [[nodiscard]] bool Analysing() const noexcept { return analysing_; }

    // Stops a running load or analysis at its next pause.
    void Cancel() noexcept { cancelled_ = true; }

  private:
    QString traceFolder_;
    LoadedRecord record_;
    // Declared before the host and the template, which point at them.
    FormulaChannelStore formulaChannels_;
    RecordFormulaHost formulaHost_;
    std::unique_ptr<ViewTemplate> template_;
    std::ptrdiff_t cursorSample_ = -1;
    AnalysisFeedback feedback_;
    bool cancelled_ = false;
    bool analysing_ = false;
};

}  // namespace faultscope
