#pragma once

#include <cstddef>
#include <cstdint>

#include "core/record/record_config.h"

namespace faultscope {

// The memory this process may still take, in bytes: the system's available memory, within the
// control group's limit and the address space limit when they are set.
[[nodiscard]] std::uint64_t AvailableMemory();

// Bytes one sample of one analog channel takes in the drawing columns of its harmonic analysis.
[[nodiscard]] std::uint64_t HarmonicBytesPerSample() noexcept;

// Bytes one sample takes in the columns of a record of `cfg`: its time, per analog channel its
// value and gap flag, and the harmonic results of the `analysedChannels` channels analysed while
// the record loads.
[[nodiscard]] std::uint64_t BytesPerSample(const RecordConfig& cfg,
                                           std::size_t analysedChannels = 0);

// Raises LoadError ("Недостаточно памяти: <what> нужно около …, доступно …") when `needed` bytes
// exceed `budget`.
void CheckMemory(std::uint64_t needed, std::uint64_t budget, const char* what);

// Refuses, while a sample file is read, a record whose samples will not fit into `budget`
// bytes: the lines still to come are projected from the file's size and the length of the lines
// read so far (at most endsamp), so that a huge file is refused after its first lines, before it
// fills the memory, and before the system would end the program.
class MemoryBudget {
  public:
    MemoryBudget(const RecordConfig& cfg, std::uint64_t fileBytes, std::uint64_t budget,
                 std::size_t analysedChannels = 0);

    // The samples worth reserving room for: every line the file can hold, as far as it fits.
    [[nodiscard]] std::size_t ReservableSamples(std::size_t fileBound) const noexcept;

    // Counts one line of `bytes` (line break included); raises LoadError ("Недостаточно
    // памяти", with the figures) once the projection exceeds the budget.
    void Count(std::size_t bytes) {
        consumed_ += bytes;
        if (++lines_ % kCheckEvery == 0) {
            Check();
        }
    }

  private:
    static constexpr std::uint64_t kCheckEvery = 16'384;

    void Check() const;

    std::uint64_t bytesPerSample_;
    std::uint64_t declared_;
    std::uint64_t fileBytes_;
    std::uint64_t budget_;
    std::uint64_t lines_ = 0;
    std::uint64_t consumed_ = 0;
};

}  // namespace faultscope
