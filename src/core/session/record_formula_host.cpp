#include "core/session/record_formula_host.h"

#include <algorithm>
#include <string>
#include "core/analysis/harmonic_trace.h"
#include "core/analysis/parallel_harmonics.h"

namespace faultscope {

FormulaChannelColumns& FormulaChannelStore::Append(const AnalogChannel& info) {
    return channels_.emplace_back(FormulaChannelColumns{info, {}});
}

RecordFormulaHost::RecordFormulaHost(LoadedRecord& record, FormulaChannelStore& store,
                                     QString traceFolder)
    : record_(record), store_(store), traceFolder_(std::move(traceFolder)) {}

void RecordFormulaHost::SetHooks(ChannelHook onAdded, ChannelHook onFilled) {
    onAdded_ = std::move(onAdded);
    onFilled_ = std::move(onFilled);
}

std::size_t RecordFormulaHost::ChannelCount() const {
    return record_.cfg.analog.size() + store_.size();
}

std::size_t RecordFormulaHost::SampleCount() const {
    return record_.data.SampleCount();
}

FormulaSlot RecordFormulaHost::FindChartByName(std::string_view name) const {
    const auto& recorded = record_.cfg.analog;
    for (std::size_t i = 0; i < recorded.size() && i < record_.data.analog.size(); ++i) {
        if (recorded[i].ch_id == name) {
            // A formula reads the fundamental in double (Dn, ANGLEn), analysed when first asked.
            FillHarmonicsOf(record_, std::span(&i, 1), {.part = HarmonicPart::Fundamental});
            return {&record_.data.analog[i], &recorded[i]};
        }
    }
    for (std::size_t i = 0; i < store_.size(); ++i) {
        if (store_[i].info.ch_id == name) {
            FillFormulaChannelHarmonics(record_, store_[i], HarmonicPart::Fundamental);
            return {&store_[i].columns, &store_[i].info};
        }
    }
    return {};
}

AnalogColumns* RecordFormulaHost::AddNewCht(const AnalogChannel& info) {
    FormulaChannelColumns& channel = store_.Append(info);
    if (onAdded_) {
        onAdded_(channel.info, channel.columns);
    }
    return &channel.columns;
}

const AnalogChannel* RecordFormulaHost::InfoOf(const AnalogColumns& columns) const {
    for (std::size_t i = store_.size(); i-- > 0;) {
        if (&store_[i].columns == &columns) {
            return &store_[i].info;
        }
    }
    return nullptr;
}

void RecordFormulaHost::AfterAllDataLoad(AnalogColumns& columns) {
    const AnalogChannel* info = InfoOf(columns);
    const std::string_view id = info != nullptr ? std::string_view(info->ch_id) : "";
    if (!traceFolder_.isEmpty() && IsTracedChannel(id)) {
        // A traced name writes its trace once, when the channel is made.
        FillChannelHarmonics(record_.data.xMs, columns.Values(), record_.cfg.freq, id, traceFolder_,
                             columns.harmonics, nullptr, &warnings_, &columns.fundamental,
                             GapSamples(columns.Samples()));
        return;
    }
    // The analysis itself waits until someone asks for it, as a recorded channel's does; a record
    // it would refuse refuses the channel now.
    CheckHarmonicAnalysis(std::span<const double>(record_.data.xMs).first(columns.size()),
                          record_.cfg.freq, id);
}

void FillFormulaChannelHarmonics(const LoadedRecord& record, FormulaChannelColumns& channel,
                                 HarmonicPart part, const HarmonicRequest& request) {
    if (HasHarmonicPart(channel.columns, part)) {
        return;
    }
    const std::span<const double> x =
        std::span<const double>(record.data.xMs)
            .first(std::min(record.data.xMs.size(), channel.columns.size()));
    CheckHarmonicMemory(x.size(), 1, request);
    const std::string ids[] = {channel.info.ch_id};
    const std::size_t first[] = {0};
    FillChannelsHarmonics(x, std::span(&channel.columns, 1), record.cfg.freq, ids, first,
                          {request.threads, request.poll, {}, part});
    // The angle curve of a channel with an angle formula draws that formula's angles.
    AnalogColumns& columns = channel.columns;
    if (part == HarmonicPart::Drawing && columns.formulaAngle.size() == columns.harmonics.size()) {
        std::ranges::transform(columns.formulaAngle, columns.harmonics.angle.begin(), DrawingValue);
    }
}

void RecordFormulaHost::ChannelFailed(AnalogColumns& columns) {
    if (store_.size() > 0 && &store_[store_.size() - 1].columns == &columns) {
        store_.RemoveLast();
    }
}

void RecordFormulaHost::ChannelFilled(AnalogColumns& columns) {
    if (const AnalogChannel* info = InfoOf(columns); info != nullptr && onFilled_) {
        onFilled_(*info, columns);
    }
}

}  // namespace faultscope
