#include "core/viewtemplate/make_formula_channel.h"

#include <QString>
#include <stdexcept>

#include "core/formula/formula_channel.h"
#include "core/formula/formula_error.h"
#include "core/record/load_error.h"
#include "core/record/memory_budget.h"
#include "core/viewtemplate/formula_channel_host.h"

namespace faultscope {

bool MakeFormulaChannel(const AnalogChannel& analog, FormulaProgram& calculate,
                        std::string_view formulaValue, std::string_view formulaAngle,
                        FormulaChannelHost& host, MessageSink& say) {
    try {
        CheckMemory(host.SampleCount() * FormulaChannelBytesPerSample(!formulaAngle.empty()),
                    AvailableMemory(), "формульному каналу");
    } catch (const LoadError& e) {
        say.Show(MessageIcon::Error, QStringLiteral("Ошибка"), QString::fromUtf8(e.what()));
        say.Show(MessageIcon::Warning, QStringLiteral("Ошибка"),
                 QString::fromUtf8(kChartNotCreated.data(), kChartNotCreated.size()));
        return false;
    }
    AnalogColumns* target = host.AddNewCht(analog);
    if (target == nullptr) {
        throw std::runtime_error(kNewChartFailed);
    }
    bool done = false;
    try {
        FillFormulaChannel(calculate, analog, formulaValue, formulaAngle, host.SampleCount(),
                           *target, [&host](AnalogColumns& c) { host.AfterAllDataLoad(c); });
        done = true;
    } catch (const FormulaError& e) {
        // The library's own message, or which formula failed, where and why.
        say.Show(MessageIcon::Error, QStringLiteral("Ошибка"), QString::fromUtf8(e.what()));
    } catch (const std::exception& e) {
        // The channel's analysis failed (its trace file, say): the user reads why.
        say.Show(MessageIcon::Error, QStringLiteral("Ошибка"), QString::fromUtf8(e.what()));
    }
    if (done) {
        host.ChannelFilled(*target);
    } else {
        host.ChannelFailed(*target);
        say.Show(MessageIcon::Warning, QStringLiteral("Ошибка"),
                 QString::fromUtf8(kChartNotCreated.data(), kChartNotCreated.size()));
    }
    return done;
}

}  // namespace faultscope
