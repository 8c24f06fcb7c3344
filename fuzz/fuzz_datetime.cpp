// Date-time lines of any text: converted to a valid date or refused with LoadError.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/record/cfg_parser.h"
#include "core/record/load_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const faultscope::DateTime t = faultscope::CfgStrToDateTime(text);
        if (!faultscope::DateTime::IsValid(t.year, t.month, t.day, t.hour, t.minute, t.second,
                                           t.millisecond) ||
            t.microsecond < 0 || t.microsecond > 999 ||
            faultscope::DateTime::FromMicroseconds(t.ToMicroseconds()) != t) {
            __builtin_trap();
        }
    } catch (const faultscope::LoadError&) {
    }
    return 0;
}
