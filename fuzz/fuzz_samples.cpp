// Sample files of any bytes. The first four bytes choose the record's shape (analog and digital
// channel counts, the time base and the number of samples); the rest is the sample file.
#include <QBuffer>
#include <cstddef>
#include <cstdint>

#include "record/load_error.h"
#include "record/sample_reader.h"

namespace {

faultscope::TCfgFile ShapeFrom(const std::uint8_t* h) {
    faultscope::TCfgFile cfg;
    cfg.a = h[0] % 5;
    cfg.D = h[1] % 5;
    cfg.TT = cfg.a + cfg.D;
    for (int i = 0; i < cfg.a; ++i) {
        cfg.AnalogChenel.push_back(
            {.An = static_cast<std::uint32_t>(i), .a = 0.5, .b = -1, .min = -1000, .max = 1000});
    }
    for (int i = 0; i < cfg.D; ++i) {
        cfg.DigitalChanal.push_back({.ch_id = i == 0 && (h[2] & 0x80) ? "[Spare]" : "K"});
    }
    cfg.nrates = 1;
    cfg.samp = (h[2] & 1) != 0 ? 0.0 : 1000.0 * (1 + (h[2] >> 1 & 7));
    cfg.timemult = (h[2] & 0x40) != 0 ? 1e6 : 1.0;
    cfg.endsamp = h[3] == 255 ? 0xFFFFFFFFU : h[3];
    cfg.dt_First = {2020, 1, 1, 0, 0, 0, 0};
    cfg.dt_Trigger = {2020, 1, 1, 0, 0, 0, h[3]};
    return cfg;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) {
        return 0;
    }
    const faultscope::TCfgFile cfg = ShapeFrom(data);
    QByteArray bytes(reinterpret_cast<const char*>(data + 4), static_cast<qsizetype>(size - 4));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    faultscope::TimeBase timeBase;
    timeBase.CreateTimeLine(cfg.nrates, cfg.samp, cfg.timemult, cfg.dt_First, cfg.dt_Trigger);
    faultscope::RecordData record;
    faultscope::InitRecordData(cfg, record);
    faultscope::ProgressPump pump;
    try {
        faultscope::ReadSamples(buffer, cfg, timeBase, record, pump);
        if (record.SampleCount() != cfg.endsamp || record.xMs.size() != record.timeUs.size()) {
            __builtin_trap();
        }
        for (const auto& ch : record.analog) {
            if (ch.size() != record.SampleCount()) {
                __builtin_trap();
            }
        }
    } catch (const faultscope::LoadError&) {
    }
    return 0;
}
