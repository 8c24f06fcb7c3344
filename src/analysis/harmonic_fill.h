#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "record/record_data.h"

namespace faultscope {

class ProgressPump;

// Per sample: the end of the window the sample was analysed over and the cosine and sine
// amplitudes of its fundamental.
struct HarmonicTraceColumns {
    std::vector<std::size_t> windowEnd;
    std::vector<double> re1;
    std::vector<double> im1;
};

struct HarmonicFillOptions {
    std::string_view channelId;             // named in error messages
    ProgressPump* pump = nullptr;           // ticked with the number of samples done
    HarmonicTraceColumns* trace = nullptr;  // filled too when given
};

// Fills `out` (replacing its contents) with the harmonic analysis of every sample, the same as
// CalcCurrentValues gives sample by sample to within 1e-9 of the largest value of the sample's
// window, at a cost per sample that does not grow with the window length. Throws LoadError for
// a frequency that is not positive and finite or sample times that do not ascend; `out` is left
// empty then.
void FillHarmonics(std::span<const double> xMs, std::span<const double> y, double frequency,
                   HarmonicColumns& out, const HarmonicFillOptions& options = {});

}  // namespace faultscope
