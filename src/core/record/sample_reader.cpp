#include "core/record/sample_reader.h"

#include <unistd.h>
#include <QFile>
#include <algorithm>
#include <cstring>
#include <deque>
#include <limits>
#include <span>
#include <string_view>
#include <thread>
#include <vector>

#include "core/record/channel_data.h"
#include "core/record/chunk_queue.h"
#include "core/record/load_error.h"
#include "core/record/memory_budget.h"
#include "core/record/native_file.h"
#include "core/record/sample_chunk.h"

namespace faultscope {
namespace {

constexpr std::size_t kShortestLineLimit = std::size_t{1} << 20;
// Pieces per thread in a run: enough that a thread held back by the system costs little.
constexpr std::size_t kChunksPerThread = 4;

// Hands out the file in runs of whole lines, read in large blocks; the last line of the file may
// lack its break. A run stays valid until the next call but one, so that a run can be read while
// the one before it is still being read.
class LineRuns {
  public:
    LineRuns(QIODevice& device, std::size_t runBytes, std::size_t maxLineBytes)
        : device_(device), max_(maxLineBytes) {
        // Small files need no full block; the buffer grows when a line needs more.
        const auto size = static_cast<std::size_t>(std::max<qint64>(device.size(), 0));
        for (std::vector<char>& buffer : buffers_) {
            buffer.resize(std::min(std::max<std::size_t>(size + 1, 4096), runBytes));
        }
    }

    // Empty at the end of the file.
    std::string_view Next() {
        SwitchBuffers();
        Fill();
        for (;;) {
            std::vector<char>& buffer = buffers_[current_];
            if (skipLf_ && begin_ < end_) {
                skipLf_ = false;
                begin_ += buffer[begin_] == '\n' ? 1 : 0;
            }
            const char* start = buffer.data() + begin_;
            if (eof_) {
                const std::string_view rest(start, end_ - begin_);
                begin_ = end_;
                return rest;
            }
            if (const char* last = LastLineBreak(start, buffer.data() + end_)) {
                // A '\r' may be the first half of a "\r\n" whose '\n' is still to be read.
                skipLf_ = *last == '\r';
                begin_ = static_cast<std::size_t>(last + 1 - buffer.data());
                return {start, static_cast<std::size_t>(last + 1 - start)};
            }
            if (end_ - begin_ >= max_) {
                // The start of a line too long, handed out as it is: its reader refuses it where
                // it stands in the file, after the lines before it and only if it is a sample.
                begin_ = end_;
                return {start, static_cast<std::size_t>(buffer.data() + end_ - start)};
            }
            std::memmove(buffer.data(), start, end_ - begin_);
            end_ -= begin_;
            begin_ = 0;
            if (end_ == buffer.size()) {
                buffer.resize(std::min(buffer.size() * 2, max_));
            }
            Fill();
        }
    }

  private:
    static const char* LastLineBreak(const char* p, const char* end) noexcept {
        const auto size = static_cast<std::size_t>(end - p);
        const auto* lf = static_cast<const char*>(memrchr(p, '\n', size));
        const char* after = lf != nullptr ? lf + 1 : p;
        const auto* cr =
            static_cast<const char*>(memrchr(after, '\r', static_cast<std::size_t>(end - after)));
        return cr != nullptr ? cr : lf;
    }

    // Carries the start of a line not handed out yet over into the other buffer.
    void SwitchBuffers() {
        const std::vector<char>& from = buffers_[current_];
        current_ = 1 - current_;
        std::vector<char>& to = buffers_[current_];
        to.resize(std::max(to.size(), from.size()));
        std::copy(from.begin() + static_cast<std::ptrdiff_t>(begin_),
                  from.begin() + static_cast<std::ptrdiff_t>(end_), to.begin());
        end_ -= begin_;
        begin_ = 0;
    }

    void Fill() {
        std::vector<char>& buffer = buffers_[current_];
        while (!eof_ && end_ < buffer.size()) {
            const qint64 got =
                device_.read(buffer.data() + end_, static_cast<qint64>(buffer.size() - end_));
            if (got < 0) {
                throw LoadError("Ошибка чтения файла данных: " +
                                device_.errorString().toStdString());
            }
            end_ += static_cast<std::size_t>(got);
            eof_ = got == 0;
        }
    }

    QIODevice& device_;
    std::size_t max_;
    std::vector<char> buffers_[2];
    std::size_t current_ = 0;
    std::size_t begin_ = 0;  // in the current buffer
    std::size_t end_ = 0;
    bool eof_ = false;
    bool skipLf_ = false;
};

// Splits a run of whole lines into at most `parts` pieces of whole lines, none of them empty.
std::vector<std::string_view> SplitAtLines(std::string_view run, std::size_t parts) {
    std::vector<std::string_view> pieces;
    const char* begin = run.data();
    const char* end = begin + run.size();
    for (std::size_t k = 1; k < parts && begin < end; ++k) {
        const char* target = run.data() + run.size() * k / parts;
        if (target <= begin) {
            continue;
        }
        // From the character before the target, so that a line starting there is kept whole.
        const char* lineBreak = FindLineBreak(target - 1, end);
        const char* cut = lineBreak != nullptr ? PastLineBreak(lineBreak, end) : end;
        pieces.emplace_back(begin, static_cast<std::size_t>(cut - begin));
        begin = cut;
    }
    if (begin < end) {
        pieces.emplace_back(begin, static_cast<std::size_t>(end - begin));
    }
    return pieces;
}

// Appends the chunks of a file in order to the record's columns, counting their lines against the
// memory budget and raising the first error in line order, as reading line by line would.
class ChunkJoiner {
  public:
    ChunkJoiner(const RecordConfig& cfg, TimeBase& timeBase, RecordData& data, MemoryBudget& budget)
        : cfg_(cfg),
          timeBase_(timeBase),
          data_(data),
          budget_(budget),
          lastState_(cfg.D, std::numeric_limits<double>::quiet_NaN()) {}

    [[nodiscard]] std::size_t Lines() const noexcept { return data_.timeUs.size(); }

    // Joins the lines of `chunk` up to the `cfg.endsamp`th of the file.
    void Join(const SampleChunk& chunk) {
        const std::size_t need = cfg_.endsamp - Lines();
        const std::size_t take = std::min(chunk.Lines(), need);
        const bool fails = chunk.error != nullptr && chunk.Lines() < need;
        const std::size_t counted = fails && chunk.errorCounted ? take + 1 : take;
        std::size_t k = 0;
        try {
            for (; k < counted; ++k) {
                budget_.Count(chunk.lineBytes[k]);
            }
        } catch (...) {
            Append(chunk, std::min(k, take));
            throw;
        }
        Append(chunk, take);
        if (fails) {
            try {
                std::rethrow_exception(chunk.error);
            } catch (const UnnumberedLineError& error) {
                // Every line before the bad one was a sample.
                RaiseNumbered(error, Lines() + 1);
            }
        }
    }

  private:
    void Append(const SampleChunk& chunk, std::size_t count) {
        const auto n = static_cast<std::ptrdiff_t>(count);
        data_.timeUs.insert(data_.timeUs.end(), chunk.timeUs.begin(), chunk.timeUs.begin() + n);
        data_.xMs.insert(data_.xMs.end(), chunk.xMs.begin(), chunk.xMs.begin() + n);
        for (std::size_t i = 0; i < cfg_.a; ++i) {
            data_.analog[i].AppendSamples(chunk.analog[i], count);
        }
        const std::size_t first = data_.xMs.size() - count;
        for (std::size_t i = 0; i < cfg_.D; ++i) {
            JoinStates(chunk, i, count, first);
        }
        for (std::size_t j = count; j > 0; --j) {
            if (chunk.xMs[j - 1] > timeBase_.AxisMin()) {
                timeBase_.NoteSampleTime(chunk.xMs[j - 1]);
                break;
            }
        }
    }

    // A chunk knows no state from before it: a first state equal to the last one joined is no
    // change.
    // `first` is the record's sample number of the chunk's first line.
    void JoinStates(const SampleChunk& chunk, std::size_t channel, std::size_t count,
                    std::size_t first) {
        for (const StateChange& change : chunk.changes[channel]) {
            if (change.line >= count) {
                break;
            }
            if (change.state != lastState_[channel]) {
                DiscreteAddPoint(data_.discrete[channel], chunk.xMs[change.line], change.state,
                                 first + change.line);
                lastState_[channel] = change.state;
            }
        }
    }

    const RecordConfig& cfg_;
    TimeBase& timeBase_;
    RecordData& data_;
    MemoryBudget& budget_;
    std::vector<double> lastState_;
};

void ReserveColumns(RecordData& data, std::size_t samples) {
    data.timeUs.reserve(samples);
    data.xMs.reserve(samples);
    for (AnalogColumns& ch : data.analog) {
        ch.Reserve(samples);
    }
}

unsigned ReadThreads(unsigned requested) noexcept {
    return requested != 0 ? requested : std::max(1U, std::thread::hardware_concurrency());
}

}  // namespace

void InitRecordData(const RecordConfig& cfg, RecordData& data) {
    data = RecordData{};
    data.analog.resize(cfg.a);
    for (std::size_t i = 0; i < cfg.a; ++i) {
        data.analog[i].SetRawScale(RawScaleOf(cfg.analog[i]));
    }
    data.discrete.resize(cfg.D);
    for (std::size_t i = 0; i < cfg.D; ++i) {
        data.discrete[i].hasStrip = DiscreteHasStrip(cfg.digital[i]);
    }
}

void ReadSamples(const QString& datPath, const RecordConfig& cfg, TimeBase& timeBase,
                 RecordData& data, ProgressPump& pump, std::uint64_t memoryBudget,
                 const SampleSplit& split, std::size_t analysedChannels) {
    FileKind kind = FileKind::Missing;
    const int fd = OpenRegularFile(datPath, kind);
    if (fd < 0) {
        RaiseUnopenable(datPath, kind);
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw LoadError("Не удалось открыть файл данных " + datPath.toStdString() + ": " +
                        file.errorString().toStdString());
    }
    ReadSamples(file, cfg, timeBase, data, pump, memoryBudget, split, analysedChannels);
}

void ReadSamples(QIODevice& device, const RecordConfig& cfg, TimeBase& timeBase, RecordData& data,
                 ProgressPump& pump, std::uint64_t memoryBudget, const SampleSplit& split,
                 std::size_t analysedChannels) {
    const std::size_t expected = std::size_t{cfg.a} + cfg.D + 2;
    // No sane line is longer than this; a longer one is not a sample line.
    const std::size_t maxLine = std::max<std::size_t>(kShortestLineLimit, expected * 1024);
    // Every field holds at least one character and a separator, so the file's size bounds the
    // number of lines whatever endsamp claims.
    const auto fileBytes = static_cast<std::uint64_t>(std::max<qint64>(device.size(), 0));
    const auto fileBound = static_cast<std::size_t>(fileBytes / (2 * expected) + 1);
    MemoryBudget budget(cfg, fileBytes, memoryBudget, analysedChannels);
    ReserveColumns(data, budget.ReservableSamples(fileBound));

    const std::size_t threads = ReadThreads(split.threads);
    const std::size_t chunkBytes = std::max<std::size_t>(split.chunkBytes, 1);
    const std::size_t perRun = threads * kChunksPerThread;
    LineRuns runs(device, perRun * chunkBytes, maxLine);
    const ChunkShape shape{cfg, timeBase, maxLine};
    ChunkJoiner joiner(cfg, timeBase, data, budget);
    // After the runs: the helpers stop and are joined before the text they read goes away.
    ChunkQueue queue(shape, threads - 1);
    // Pieces of the two runs in flight still to join; a third run would overwrite the first.
    std::deque<std::size_t> piecesLeft;
    bool endOfFile = false;
    while (joiner.Lines() < cfg.endsamp) {
        while (piecesLeft.size() < 2 && !endOfFile) {
            const std::string_view run = runs.Next();
            endOfFile = run.empty();
            const std::size_t parts = std::min(perRun, (run.size() + chunkBytes - 1) / chunkBytes);
            const std::vector<std::string_view> pieces = SplitAtLines(run, parts);
            for (const std::string_view piece : pieces) {
                queue.Add(piece, cfg.endsamp - joiner.Lines());
            }
            if (!pieces.empty()) {
                piecesLeft.push_back(pieces.size());
            }
        }
        if (queue.Empty()) {
            // The file ends before the last sample: the missing line is an empty one.
            budget.Count(1);
            RaiseMissingLine(joiner.Lines() + 1);
        }
        joiner.Join(queue.Oldest());
        queue.PopOldest();
        if (--piecesLeft.front() == 0) {
            piecesLeft.pop_front();
        }
        pump.Poll(static_cast<std::int64_t>(joiner.Lines()));
    }
}

}  // namespace faultscope
