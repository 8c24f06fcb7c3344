#include "core/session/record_session.h"

#include <QFileInfo>
#include <algorithm>
#include <utility>

#include "core/record/load_error.h"
#include "core/viewtemplate/view_template.h"

namespace faultscope {
namespace {

void DropPart(AnalogColumns& columns, HarmonicPart part) {
    if (part == HarmonicPart::Drawing) {
        columns.harmonics = {};
    } else {
        columns.fundamental = {};
    }
}

// What an analysis that stopped part way had filled: every channel or none.
void DropHarmonics(RecordData& data, std::span<const std::size_t> recorded,
                   std::span<FormulaChannelColumns* const> formulas, HarmonicPart part) {
    for (const std::size_t c : recorded) {
        DropPart(data.analog[c], part);
    }
    for (FormulaChannelColumns* channel : formulas) {
        DropPart(channel->columns, part);
    }
}

}  // namespace

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

void RecordSession::MakeSavedFormulaChannels(const ViewTemplate::MakingProgress& progress) {
    if (template_ == nullptr) {
        return;
    }
    // Saved formulas find their sources through the host, which analyses what they read.
    template_->CreateSavedChart([this, &progress](std::size_t done, std::size_t total) {
        if (progress) {
            progress(done, total);
        }
        if (cancelled_) {
            throw LoadCancelled();
        }
    });
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
    // Formula channels only when every channel is asked for: `channels` names recorded ones.
    std::vector<FormulaChannelColumns*> formulas;
    for (std::size_t i = 0; channels.empty() && i < formulaChannels_.size(); ++i) {
        if (formulaChannels_[i].columns.size() > 0 &&
            !HasHarmonicPart(formulaChannels_[i].columns, part)) {
            formulas.push_back(&formulaChannels_[i]);
        }
    }
    if (missing.empty() && formulas.empty()) {
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
        feedback_.started(missing.size() + formulas.size());
    }
    std::size_t before = 0;  // channels done before the running fill
    HarmonicRequest request{.part = part};
    request.poll = [this, &before](std::size_t done) {
        if (feedback_.progress) {
            feedback_.progress(before + done);
        }
        if (cancelled_) {
            throw LoadCancelled();
        }
    };
    try {
        // Every fill is checked against memory before it starts, so a refusal keeps nothing.
        CheckHarmonicMemory(record_.data.SampleCount(), missing.size() + formulas.size(), request);
        // A cancel stops and joins the workers and keeps none of the results.
        FillHarmonicsOf(record_, missing, request);
        before = missing.size();
        for (FormulaChannelColumns* channel : formulas) {
            FillFormulaChannelHarmonics(record_, *channel, part, request);
            ++before;
        }
    } catch (const LoadCancelled&) {
        DropHarmonics(record_.data, missing, formulas, part);
        end();
        return AnalysisResult::Cancelled;
    } catch (...) {
        DropHarmonics(record_.data, missing, formulas, part);
        end();
        throw;
    }
    end();
    return AnalysisResult::Analysed;
}

}  // namespace faultscope
