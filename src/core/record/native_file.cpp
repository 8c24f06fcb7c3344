#include "core/record/native_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "core/record/load_error.h"

namespace faultscope {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// Length of the valid UTF-8 sequence at the start of `s`, or 0 when it is not one.
std::size_t ValidSequence(std::string_view s) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, min = 0x10000;
    } else {
        return 0;
    }
    if (s.size() < length) {
        return 0;
    }
    char32_t code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (byte(i) & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code >= min && code <= 0x10FFFF && !surrogate ? length : 0;
}

FileKind KindOf(const struct stat& st) {
    return S_ISREG(st.st_mode) ? FileKind::Regular : FileKind::Special;
}

FileKind KindOfError(int error) {
    return error == EACCES || error == EPERM ? FileKind::Unreadable : FileKind::Missing;
}

// Keeps a descriptor opened without blocking when it is a regular file, and lets it block from
// then on; closes it otherwise. The type is checked on the file opened, not on the name, which
// may have changed since it was looked at.
int KeepIfRegular(int fd, FileKind& kind) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || KindOf(st) != FileKind::Regular) {
        ::close(fd);
        kind = FileKind::Special;
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) {
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    kind = FileKind::Regular;
    return fd;
}

}  // namespace

QString PathFromNative(std::string_view bytes) {
    QString path;
    path.reserve(static_cast<qsizetype>(bytes.size()));
    while (!bytes.empty()) {
        const std::size_t length = ValidSequence(bytes);
        if (length == 0) {
            path +=
                QChar(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(bytes[0])));
            bytes.remove_prefix(1);
            continue;
        }
        path += QString::fromUtf8(bytes.data(), static_cast<qsizetype>(length));
        bytes.remove_prefix(length);
    }
    return path;
}

std::string NativePath(const QString& path) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(path.size()));
    qsizetype start = 0;
    const auto flush = [&](qsizetype end) {
        bytes += path.sliced(start, end - start).toStdString();
    };
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t c = path[i].unicode();
        if (c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF) {
            flush(i);
            bytes += static_cast<char>(c - kEscapeBase);
            start = i + 1;
        }
    }
    flush(path.size());
    return bytes;
}

FileKind ProbeFile(const QString& path) {
    struct stat st {};
    if (::stat(NativePath(path).c_str(), &st) != 0) {
        return KindOfError(errno);
    }
    return KindOf(st);
}

int OpenRegularFile(const QString& path, FileKind& kind) {
    const std::string native = NativePath(path);
    // Non-blocking, so that opening a FIFO returns at once; the type is checked on the file
    // opened, not on the name, which may have changed since it was looked at.
    const int fd = ::open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        kind = KindOfError(errno);
        return -1;
    }
    return KeepIfRegular(fd, kind);
}

int OpenRegularFileForAppend(const QString& path, FileKind& kind) {
    const std::string native = NativePath(path);
    // A FIFO without a reader refuses a non-blocking open for writing instead of waiting for one.
    const int fd = ::open(native.c_str(),
                          O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) {
        kind = errno == EISDIR || errno == ENXIO ? FileKind::Special : KindOfError(errno);
        return -1;
    }
    return KeepIfRegular(fd, kind);
}

bool ReadSmallRegularFile(const QString& path, std::size_t maxBytes, QByteArray& bytes,
                          FileKind& kind) {
    const int fd = OpenRegularFile(path, kind);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || static_cast<std::uint64_t>(st.st_size) > maxBytes) {
        ::close(fd);
        kind = FileKind::TooLarge;
        return false;
    }
    bytes.clear();
    bytes.reserve(static_cast<qsizetype>(st.st_size));
    // The file may grow while it is read: never past the bound.
    char buffer[65536];
    while (true) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            ::close(fd);
            kind = FileKind::Unreadable;
            return false;
        }
        if (n == 0) {
            break;
        }
        if (static_cast<std::size_t>(bytes.size()) + static_cast<std::size_t>(n) > maxBytes) {
            ::close(fd);
            kind = FileKind::TooLarge;
            return false;
        }
        bytes.append(buffer, n);
    }
    ::close(fd);
    return true;
}

void RaiseUnopenable(const QString& path, FileKind kind) {
    const std::string shown = path.toStdString();
    switch (kind) {
        case FileKind::Unreadable:
            throw LoadError("Нет прав на чтение файла: " + shown);
        case FileKind::Special:
            throw LoadError("Это не обычный файл (папка, устройство или канал): " + shown);
        case FileKind::TooLarge:
            throw LoadError("Файл слишком велик: " + shown);
        case FileKind::Regular:
        case FileKind::Missing:
            break;
    }
    throw LoadError("Такого файла не существует: " + shown);
}

std::vector<QString> ListFolder(const QString& folder) {
    std::vector<QString> names;
    DIR* dir = ::opendir(NativePath(folder.isEmpty() ? QStringLiteral(".") : folder).c_str());
    if (dir == nullptr) {
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(PathFromNative(name));
        }
    }
    ::closedir(dir);
    return names;
}

}  // namespace faultscope
