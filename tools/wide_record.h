#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

namespace faultscope::tools {

// A record laid out like a line relay's: many channels, of which a few discrete ones change.
// Analog channel i is named "A" + a number and discrete channel i "K" + a number, both followed
// by " (" + bracket + ")" when a bracket is given; the numbers run in a scrambled order, so the
// file order is not the order of the names.
struct WideRecordLayout {
    int analog = 40;
    int digital = 300;
    std::uint32_t samples = 2'000;
    double rate = 1'000.0;
    std::string bracket;
    std::vector<int> changing;  // discrete channels that switch on half way
    std::vector<int> alwaysOn;  // discrete channels on from the first sample to the last
};

// The names the layout gives its channels, in file order.
std::string WideAnalogName(const WideRecordLayout& layout, int index);
std::string WideDigitalName(const WideRecordLayout& layout, int index);

// Writes base.cfg/base.dat. False when a file cannot be written.
bool WriteWideRecord(const QString& base, const WideRecordLayout& layout);

}  // namespace faultscope::tools
