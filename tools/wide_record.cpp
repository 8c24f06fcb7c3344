#include "wide_record.h"

#include <cmath>
#include <cstdio>
#include <numbers>

#include "record_writer.h"

namespace faultscope::tools {
namespace {

// Numbers 1…count in a scrambled order (7 and 13 share no factor with the counts used).
int Scrambled(int index, int count, int step) {
    return (index * step) % count + 1;
}

std::string WithBracket(std::string name, const std::string& bracket) {
    return bracket.empty() ? name : name + " (" + bracket + ")";
}

std::string Numbered(char letter, int number, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "%c%0*d", letter, width, number);
    return text;
}

}  // namespace

std::string WideAnalogName(const WideRecordLayout& layout, int index) {
    return WithBracket(Numbered('A', Scrambled(index, layout.analog, 7), 2), layout.bracket);
}

std::string WideDigitalName(const WideRecordLayout& layout, int index) {
    return WithBracket(Numbered('K', Scrambled(index, layout.digital, 13), 3), layout.bracket);
}

bool WriteWideRecord(const QString& base, const WideRecordLayout& layout) {
    RecordSpec s;
    s.station = "Wide";
    s.device = "Relay";
    for (int i = 0; i < layout.analog; ++i) {
        s.analog.push_back(
            {WideAnalogName(layout, i), std::string(1, "ABC"[i % 3]), "Bay", "A", 0.01});
    }
    for (int i = 0; i < layout.digital; ++i) {
        s.digital.push_back({WideDigitalName(layout, i), "", "Bay", 0});
    }
    s.rate = layout.rate;
    s.samples = layout.samples;
    s.firstTime = "01/06/2026,00:00:00.000000";
    s.triggerTime = "01/06/2026,00:00:00.100000";
    std::vector<int> kind(layout.digital, 0);  // 0 off, 1 changing, 2 always on
    for (int i : layout.changing) {
        kind.at(i) = 1;
    }
    for (int i : layout.alwaysOn) {
        kind.at(i) = 2;
    }
    const std::uint32_t half = layout.samples / 2;
    return WriteRecord(base, s, [&](std::uint32_t i, std::vector<int>& raw, std::vector<int>& st) {
        const double phase = 2 * std::numbers::pi * 50.0 * i / layout.rate;
        for (std::size_t c = 0; c < raw.size(); ++c) {
            raw[c] = static_cast<int>((10000 + 300 * c) * std::sin(phase - c * 2.0944));
        }
        for (std::size_t c = 0; c < st.size(); ++c) {
            st[c] = kind[c] == 2 || (kind[c] == 1 && i >= half) ? 1 : 0;
        }
    });
}

}  // namespace faultscope::tools
