#include "core/session/record_session.h"

#include <QFileInfo>
#include <algorithm>
#include <utility>

#include "core/record/load_error.h"
#include "core/viewtemplate/view_template.h"

namespace faultscope {

RecordSession::RecordSession(QString traceFolder)
    : traceFolder_(std::move(traceFolder)), formulaHost_(record_, formulaChannels_, traceFolder_) {}

RecordSession::~RecordSession() = default;

void RecordSession::SetTraceFolder(const QString& folder) {
    traceFolder_ = folder;
    formulaHost_.SetTraceFolder(folder);
}

void RecordSession::Load(const QString& filePath, LoadOptions options) {
    options.traceFolder = traceFolder_;
    options.cancelled = [this, asked = std::move(options.cancelled)] {
        return cancelled_ || (asked && asked());
    };
    record_ = LoadRecord(filePath, options);
    cursorSample_ = record_.cursor;
}

void RecordSession::OpenTemplate(MessageSink& say) {
    template_ = std::make_unique<ViewTemplate>(record_.files.fileName,
                                               QFileInfo(record_.files.cfgPath).suffix());
    template_->SetAddNewCht(&formulaHost_);
    template_->SetMessages(&say);
}

void RecordSession::MakeSavedFormulaChannels() {
    if (template_ != nullptr) {
        // Saved formulas find their sources through the host, which analyses what they read.
        template_->CreateSavedChart();
    }
}

std::ptrdiff_t RecordSession::SetCursorSample(std::ptrdiff_t sample) noexcept {
    const auto count = static_cast<std::ptrdiff_t>(record_.data.xMs.size());
    cursorSample_ = count == 0 ? -1 : std::clamp<std::ptrdiff_t>(sample, 0, count - 1);
    return cursorSample_;
}

RecordSession::AnalysisResult RecordSession::AnalyseMissing(HarmonicPart part,
                                                            std::span<const std::size_t> channels) {
    if (analysing_) {
        return AnalysisResult::Cancelled;
    }
    const std::size_t count = record_.data.analog.size();
    std::vector<std::size_t> missing;
    const auto check = [&](std::size_t c) {
        const AnalogColumns& ch = record_.data.analog[c];
        if (ch.size() > 0 && !HasHarmonicPart(ch, part) &&
            std::ranges::find(missing, c) == missing.end()) {
            missing.push_back(c);
        }
    };
    if (channels.empty()) {
        for (std::size_t c = 0; c < count; ++c) {
            check(c);
        }
    }
    for (const std::size_t c : channels) {
        if (c < count) {
            check(c);
        }
    }
    if (missing.empty()) {
        return AnalysisResult::NothingMissing;
    }
    cancelled_ = false;
    analysing_ = true;
    const auto end = [this] {
        analysing_ = false;
        if (feedback_.finished) {
            feedback_.finished();
        }
    };
    if (feedback_.started) {
        feedback_.started(missing.size());
    }
    HarmonicRequest request{.part = part};
    request.poll = [this](std::size_t done) {
        if (feedback_.progress) {
            feedback_.progress(done);
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
        return AnalysisResult::Cancelled;
    } catch (...) {
        end();
        throw;
    }
    end();
    return AnalysisResult::Analysed;
}

}  // namespace faultscope
