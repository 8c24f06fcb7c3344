#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace faultscope::tools {

struct AnalogSpec {
    std::string id;
    std::string ph;
    std::string ccbm;
    std::string unit;
    double a = 1.0;  // value = a * raw + b
    double b = 0.0;
    int min = -32767;
    int max = 32767;
};

struct DigitalSpec {
    std::string id;
    std::string ph;
    std::string ccbm;
    int normal = 0;
};

// A synthetic record: texts are UTF-8 and written in Windows-1251 unless `utf8` is set.
struct RecordSpec {
    std::string station;
    std::string device;
    std::vector<AnalogSpec> analog;
    std::vector<DigitalSpec> digital;
    double lineFrequency = 50.0;
    double rate = 1000.0;
    std::uint32_t samples = 0;
    std::string firstTime;    // as written in the file, e.g. "10/12/2026,14:23:05.123000"
    std::string triggerTime;  // the same form
    bool utf8 = false;
};

// Fills `raw` (one integer per analog channel) and `states` (0/1 per digital channel) for
// sample `index` (zero-based).
using SampleSource =
    std::function<void(std::uint32_t index, std::vector<int>& raw, std::vector<int>& states)>;

// Writes base + ".cfg" and base + ".dat". Returns false when a file cannot be written.
bool WriteRecord(const QString& base, const RecordSpec& spec, const SampleSource& source);

}  // namespace faultscope::tools
