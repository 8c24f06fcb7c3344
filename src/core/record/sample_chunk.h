#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string_view>
#include <vector>

#include "core/record/load_error.h"
#include "core/record/record_config.h"
#include "core/record/record_data.h"
#include "core/record/time_base.h"

namespace faultscope {

// The first line break ('\n' or '\r') in [p, end), or nullptr.
[[nodiscard]] const char* FindLineBreak(const char* p, const char* end) noexcept;
// Where the line after the break at `lineBreak` starts: "\r\n" is one break.
[[nodiscard]] const char* PastLineBreak(const char* lineBreak, const char* end) noexcept;

// A discrete channel's state as a run of lines first shows it, and every change after that.
struct StateChange {
    std::size_t line;  // within the run
    double state;
};

// The samples of one run of whole lines of a sample file, in columns of its own, so that the
// runs of one file can be read on several threads at once and joined in file order. Chunks read
// on different threads sit side by side: each on cache lines of its own.
struct alignas(64) SampleChunk {
    std::vector<std::int32_t> timeUs;
    std::vector<double> xMs;
    std::vector<AnalogColumns> analog;
    std::vector<std::vector<StateChange>> changes;  // per discrete channel; none without a strip
    // Per line read, its break included, as MemoryBudget counts lines.
    std::vector<std::size_t> lineBytes;
    // The error of the line after the last one read, if the run stopped at one.
    std::exception_ptr error;
    bool errorCounted = false;  // whether the failing line is in lineBytes

    [[nodiscard]] std::size_t Lines() const noexcept { return timeUs.size(); }
};

// What every run of one file shares.
struct ChunkShape {
    const RecordConfig& cfg;
    const TimeBase& timeBase;
    std::size_t maxLineBytes;  // a line this long or longer is refused
};

// Reads at most `maxLines` lines of `text` (whole lines; the last may lack its break) into
// `chunk`, stopping at the first bad line and keeping its error. Touches nothing shared, so runs
// may be read on several threads at once.
void ReadSampleChunk(std::string_view text, const ChunkShape& shape, std::size_t maxLines,
                     SampleChunk& chunk) noexcept;

// The message of a line whose field count is wrong, naming the line's first field.
[[noreturn]] void RaiseFieldCount(std::string_view line);

// The same message for the line with number `lineNumber` that the file lacks.
[[noreturn]] void RaiseMissingLine(std::size_t lineNumber);

// Raised for a bad line with no first field to name, an empty one say: the message ends where
// the number goes, and the reader of the whole file, which knows the line's place, adds it.
class UnnumberedLineError : public LoadError {
  public:
    using LoadError::LoadError;
};

// The message of `error` with the number of the line it is about.
[[noreturn]] void RaiseNumbered(const UnnumberedLineError& error, std::size_t lineNumber);

}  // namespace faultscope
