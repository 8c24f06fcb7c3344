// The floor of reading a sample file, as a whole process: read the file in large blocks, find the
// lines, convert every field with std::from_chars, keep nothing. `faultscope-cli info` is timed
// against it (bench/compare_info.sh).
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Converts the fields of one line: integers where a field is one, doubles otherwise.
std::int64_t ParseLine(const char* p, const char* end) {
    std::int64_t sum = 0;
    while (p < end) {
        const auto* comma = static_cast<const char*>(std::memchr(p, ',', end - p));
        const char* fieldEnd = comma != nullptr ? comma : end;
        while (p < fieldEnd && *p == ' ') {
            ++p;
        }
        std::int64_t whole = 0;
        const auto [stop, ec] = std::from_chars(p, fieldEnd, whole);
        if (ec == std::errc() && stop == fieldEnd) {
            sum += whole;
        } else {
            double v = 0;
            std::from_chars(p, fieldEnd, v);
            sum += static_cast<std::int64_t>(v);
        }
        p = fieldEnd + 1;
    }
    return sum;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: parse_floor FILE.dat\n");
        return 2;
    }
    std::FILE* file = std::fopen(argv[1], "rb");
    if (file == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    std::vector<char> buffer(std::size_t{1} << 20);
    std::size_t have = 0;
    std::int64_t sum = 0;
    std::size_t lines = 0;
    for (;;) {
        const std::size_t got = std::fread(buffer.data() + have, 1, buffer.size() - have, file);
        have += got;
        const char* p = buffer.data();
        const char* end = p + have;
        const char* lineEnd = nullptr;
        while ((lineEnd = static_cast<const char*>(std::memchr(p, '\n', end - p))) != nullptr) {
            const char* stop = lineEnd > p && lineEnd[-1] == '\r' ? lineEnd - 1 : lineEnd;
            sum += ParseLine(p, stop);
            ++lines;
            p = lineEnd + 1;
        }
        have = static_cast<std::size_t>(end - p);
        std::memmove(buffer.data(), p, have);
        if (got == 0) {
            break;
        }
    }
    std::fclose(file);
    std::printf("%zu lines, checksum %lld\n", lines, static_cast<long long>(sum));
    return 0;
}
