// Sample files of any bytes. The first four bytes choose the record's shape (analog and digital
// channel counts, the time base and the number of samples); the rest is the sample file. It is
// read on one thread and in pieces of a few bytes on several, which must give the same.
#include <QBuffer>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/record/load_error.h"
#include "core/record/sample_reader.h"

namespace {

faultscope::RecordConfig ShapeFrom(const std::uint8_t* h) {
    faultscope::RecordConfig cfg;
    cfg.a = h[0] % 5;
    cfg.D = h[1] % 5;
    cfg.TT = cfg.a + cfg.D;
    for (int i = 0; i < cfg.a; ++i) {
        cfg.analog.push_back(
            {.An = static_cast<std::uint32_t>(i), .a = 0.5, .b = -1, .min = -1000, .max = 1000});
    }
    for (int i = 0; i < cfg.D; ++i) {
        cfg.digital.push_back({.ch_id = i == 0 && (h[2] & 0x80) ? "[Spare]" : "K"});
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

namespace {

struct Outcome {
    std::string error;
    faultscope::RecordData record;
};

Outcome Read(const faultscope::RecordConfig& cfg, QByteArray& bytes,
             const faultscope::SampleSplit& split) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    faultscope::TimeBase timeBase;
    timeBase.CreateTimeLine(cfg.nrates, cfg.samp, cfg.timemult, cfg.dt_First, cfg.dt_Trigger);
    Outcome out;
    faultscope::InitRecordData(cfg, out.record);
    faultscope::ProgressPump pump;
    try {
        faultscope::ReadSamples(buffer, cfg, timeBase, out.record, pump,
                                faultscope::AvailableMemory(), split);
    } catch (const faultscope::LoadError& e) {
        out.error = e.what();
    }
    return out;
}

bool Same(const faultscope::AnalogColumns& a, const faultscope::AnalogColumns& b) {
    if (a.size() != b.size() || a.Samples().kind() != b.Samples().kind()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::bit_cast<std::uint64_t>(a.Value(i)) != std::bit_cast<std::uint64_t>(b.Value(i)) ||
            a.Gap(i) != b.Gap(i)) {
            return false;
        }
    }
    return true;
}

bool Same(const Outcome& a, const Outcome& b) {
    const auto& x = a.record;
    const auto& y = b.record;
    bool same = a.error == b.error && x.timeUs == y.timeUs && x.xMs == y.xMs &&
                x.analog.size() == y.analog.size() && x.discrete.size() == y.discrete.size();
    for (std::size_t i = 0; same && i < x.analog.size(); ++i) {
        same = Same(x.analog[i], y.analog[i]);
    }
    for (std::size_t i = 0; same && i < x.discrete.size(); ++i) {
        same = x.discrete[i].x == y.discrete[i].x && x.discrete[i].state == y.discrete[i].state;
    }
    return same;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) {
        return 0;
    }
    const faultscope::RecordConfig cfg = ShapeFrom(data);
    QByteArray bytes(reinterpret_cast<const char*>(data + 4), static_cast<qsizetype>(size - 4));
    const Outcome serial = Read(cfg, bytes, {.threads = 1});
    if (serial.error.empty()) {
        const auto& record = serial.record;
        if (record.SampleCount() != cfg.endsamp || record.xMs.size() != record.timeUs.size()) {
            __builtin_trap();
        }
        for (const auto& ch : record.analog) {
            if (ch.size() != record.SampleCount()) {
                __builtin_trap();
            }
        }
    }
    const std::size_t chunkBytes = 1 + data[1] / 8 % 16;
    if (!Same(serial, Read(cfg, bytes, {.threads = 3, .chunkBytes = chunkBytes}))) {
        __builtin_trap();
    }
    return 0;
}
