// Configuration files of any bytes, in either encoding: parsing fails cleanly or succeeds.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "core/record/cfg_parser.h"
#include "core/record/load_error.h"
#include "core/record/text_encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const auto encoding :
         {faultscope::TextEncoding::Windows, faultscope::TextEncoding::Cp866}) {
        faultscope::RecordConfig cfg;
        try {
            if (faultscope::ParseCfgFile(cfg, faultscope::DecodeConfigLines(bytes, encoding))) {
                if (cfg.analog.size() != cfg.a || cfg.digital.size() != cfg.D ||
                    cfg.ft != "ASCII") {
                    __builtin_trap();
                }
            } else if (cfg.LastError.empty()) {
                __builtin_trap();
            }
        } catch (const faultscope::LoadError&) {
        }
    }
    return 0;
}
