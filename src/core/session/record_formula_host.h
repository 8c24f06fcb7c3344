#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/session/record_loader.h"
#include "core/viewtemplate/formula_channel_host.h"

namespace faultscope {

// One formula channel made while a record is open.
struct FormulaChannelColumns {
    AnalogChannel info;
    AnalogColumns columns;
};

// The formula channels of one open record, in the order they were made. A channel's columns
// never move once it is appended, so views and later formulas may keep pointing at them.
class FormulaChannelStore {
  public:
    FormulaChannelColumns& Append(const AnalogChannel& info);
    [[nodiscard]] std::size_t size() const noexcept { return channels_.size(); }
    [[nodiscard]] const FormulaChannelColumns& operator[](std::size_t i) const {
        return channels_[i];
    }
    [[nodiscard]] FormulaChannelColumns& operator[](std::size_t i) { return channels_[i]; }
    // Drops the channel made last (one that could not be computed); the others stay where they
    // are.
    void RemoveLast() { channels_.pop_back(); }

  private:
    std::deque<FormulaChannelColumns> channels_;
};

// Fills the harmonic columns of `part` of a formula channel over `record` unless it has them,
// raising as FillHarmonicsOf does.
void FillFormulaChannelHarmonics(const LoadedRecord& record, FormulaChannelColumns& channel,
                                 HarmonicPart part, const HarmonicRequest& request = {});

// Formula channels over a loaded record: the recorded analog channels first, then the formula
// channels of `store` in the order they were made. A channel found as a source gets the analysis
// of its fundamental first when it has none yet. A new channel is analysed when someone asks, as
// a recorded one is, except that a traced name writes its trace file when the channel is made
// (none when `traceFolder` is empty).
class RecordFormulaHost : public FormulaChannelHost {
  public:
    using ChannelHook = std::function<void(const AnalogChannel& info, AnalogColumns& columns)>;

    RecordFormulaHost(LoadedRecord& record, FormulaChannelStore& store, QString traceFolder);

    // Called after a channel was appended (`onAdded`) and when its columns are complete
    // (`onFilled`); a window makes and binds the channel's strip once it is filled. A channel
    // that fails is dropped without either of them seeing it again.
    void SetHooks(ChannelHook onAdded, ChannelHook onFilled);
    void SetTraceFolder(const QString& folder) { traceFolder_ = folder; }

    [[nodiscard]] std::size_t ChannelCount() const override;
    [[nodiscard]] std::size_t SampleCount() const override;
    [[nodiscard]] FormulaSlot FindChartByName(std::string_view name) const override;
    AnalogColumns* AddNewCht(const AnalogChannel& info) override;
    void AfterAllDataLoad(AnalogColumns& columns) override;
    void ChannelFilled(AnalogColumns& columns) override;
    void ChannelFailed(AnalogColumns& columns) override;

    // The warnings of trace files that could not be written since last asked.
    [[nodiscard]] std::vector<std::string> TakeWarnings() { return std::exchange(warnings_, {}); }

  private:
    [[nodiscard]] const AnalogChannel* InfoOf(const AnalogColumns& columns) const;

    LoadedRecord& record_;
    FormulaChannelStore& store_;
    QString traceFolder_;
    ChannelHook onAdded_;
    ChannelHook onFilled_;
    std::vector<std::string> warnings_;
};

}  // namespace faultscope
