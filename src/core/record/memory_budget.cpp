#include "core/record/memory_budget.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <limits>
#include <string>

#include "core/record/load_error.h"
#include "core/record/record_data.h"

namespace faultscope {
namespace {

constexpr std::uint64_t kUnlimited = std::numeric_limits<std::uint64_t>::max();
constexpr std::uint64_t kMiB = 1024 * 1024;

// "MemAvailable:" of /proc/meminfo in bytes.
std::uint64_t SystemAvailable() {
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    std::uint64_t kb = 0;
    std::string unit;
    while (meminfo >> key >> kb >> unit) {
        if (key == "MemAvailable:") {
            return kb * 1024;
        }
    }
    return kUnlimited;
}

std::uint64_t ReadNumber(const char* path) {
    std::ifstream file(path);
    std::uint64_t value = kUnlimited;
    file >> value;  // "max" leaves it unlimited
    return file ? value : kUnlimited;
}

// Room left under the control group's memory limit.
std::uint64_t GroupAvailable() {
    const std::uint64_t limit = ReadNumber("/sys/fs/cgroup/memory.max");
    if (limit == kUnlimited) {
        return kUnlimited;
    }
    const std::uint64_t used = ReadNumber("/sys/fs/cgroup/memory.current");
    return used == kUnlimited || used >= limit ? 0 : limit - used;
}

// Room left under the address space limit of the process.
std::uint64_t AddressSpaceAvailable() {
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return kUnlimited;
    }
    std::ifstream statm("/proc/self/statm");
    std::uint64_t pages = 0;
    statm >> pages;
    const std::uint64_t used = pages * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
    return used >= limit.rlim_cur ? 0 : limit.rlim_cur - used;
}

template <typename Vector>
constexpr std::uint64_t ElementBytes() {
    return sizeof(typename Vector::value_type);
}

std::string Megabytes(std::uint64_t bytes) {
    return std::to_string((bytes + kMiB - 1) / kMiB) + " МБ";
}

}  // namespace

std::uint64_t AvailableMemory() {
    return std::min({SystemAvailable(), GroupAvailable(), AddressSpaceAvailable()});
}

std::uint64_t HarmonicBytesPerSample() noexcept {
    return 5 * ElementBytes<decltype(HarmonicColumns::rms1)>();
}

std::uint64_t BytesPerSample(const RecordConfig& cfg, std::size_t analysedChannels) {
    const std::uint64_t time =
        ElementBytes<decltype(RecordData::timeUs)>() + ElementBytes<decltype(RecordData::xMs)>();
    // At most a double and a gap flag per sample, whatever width the raw numbers take.
    const std::uint64_t analog =
        ElementBytes<std::vector<double>>() + ElementBytes<std::vector<std::uint8_t>>();
    return time + analog * cfg.a + HarmonicBytesPerSample() * analysedChannels;
}

void CheckMemory(std::uint64_t needed, std::uint64_t budget, const char* what) {
    if (needed > budget) {
        throw LoadError(std::string("Недостаточно памяти: ") + what + " нужно около " +
                        Megabytes(needed) + ", доступно " + Megabytes(budget));
    }
}

MemoryBudget::MemoryBudget(const RecordConfig& cfg, std::uint64_t fileBytes, std::uint64_t budget,
                           std::size_t analysedChannels)
    : bytesPerSample_(BytesPerSample(cfg, analysedChannels)),
      declared_(cfg.endsamp),
      fileBytes_(fileBytes),
      budget_(budget) {}

std::size_t MemoryBudget::ReservableSamples(std::size_t fileBound) const noexcept {
    const std::uint64_t fits = budget_ / bytesPerSample_;
    return static_cast<std::size_t>(std::min({declared_, std::uint64_t{fileBound}, fits}));
}

void MemoryBudget::Check() const {
    // The file holds about fileBytes / (consumed / lines) lines; only endsamp of them are read.
    const double perLine = static_cast<double>(consumed_) / static_cast<double>(lines_);
    const double inFile = static_cast<double>(fileBytes_) / perLine;
    const auto lines = static_cast<std::uint64_t>(std::min(inFile, static_cast<double>(declared_)));
    CheckMemory(std::max(lines, lines_) * bytesPerSample_, budget_, "осциллограмме");
}

}  // namespace faultscope
