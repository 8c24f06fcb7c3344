#include "large_record.h"

#include <cmath>
#include <numbers>

#include "record_writer.h"

namespace faultscope::tools {

bool WriteLargeRecord(const QString& base, std::uint32_t samples) {
    RecordSpec s;
    s.station = "Bench";
    s.device = "Generator";
    for (int i = 0; i < 32; ++i) {
        const std::string n = std::to_string(i + 1);
        s.analog.push_back({"U" + n, std::string(1, "ABC"[i % 3]), "Bay", "kV", 0.01});
        s.digital.push_back({"K" + n, "", "Bay", 0});
    }
    s.rate = 10'000;
    s.samples = samples;
    s.firstTime = "01/06/2026,00:00:00.000000";
    s.triggerTime = "01/06/2026,00:00:00.100000";
    std::uint32_t noise = 12345;
    return WriteRecord(base, s, [&](std::uint32_t i, std::vector<int>& raw, std::vector<int>& st) {
        const double phase = 2 * std::numbers::pi * 50.0 * i / s.rate;
        for (std::size_t c = 0; c < raw.size(); ++c) {
            noise = noise * 1664525U + 1013904223U;
            const double v = 20000 * std::sin(phase - c * 2.0944) + 3000 * std::sin(3 * phase) +
                             static_cast<int>(noise >> 24) - 128;
            raw[c] = static_cast<int>(v);
        }
        for (std::size_t c = 0; c < st.size(); ++c) {
            st[c] = ((i + c * 997) / 5000) % 2;
        }
    });
}

}  // namespace faultscope::tools
