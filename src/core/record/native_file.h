#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace faultscope {

// File names as the system gives them. A name is a string of bytes; one that is not valid
// UTF-8 keeps each stray byte b as the lone surrogate U+DC00 + b, so that every name read from
// the system (arguments, folder listings) opens again byte for byte.
[[nodiscard]] QString PathFromNative(std::string_view bytes);
[[nodiscard]] std::string NativePath(const QString& path);

enum class FileKind {
    Regular,     // a regular file (after following symbolic links)
    Missing,     // nothing there, or a dangling link
    Special,     // a folder, device, FIFO or socket
    Unreadable,  // a regular file the user may not read
    TooLarge,    // a regular file larger than the reader takes
};

// What is at `path`, without opening it.
[[nodiscard]] FileKind ProbeFile(const QString& path);

// Opens a regular file for reading without ever blocking: a FIFO or device swapped in after a
// check is caught by the type of the opened file itself. Returns the descriptor, or -1 with
// `kind` saying why.
[[nodiscard]] int OpenRegularFile(const QString& path, FileKind& kind);

// Opens a regular file for appending, made when missing, without ever blocking: a FIFO, device
// or folder in its place is refused (`kind` Special). Returns the descriptor, or -1 with `kind`
// saying why.
[[nodiscard]] int OpenRegularFileForAppend(const QString& path, FileKind& kind);

// Reads the whole of a regular file of at most `maxBytes` bytes, opened as OpenRegularFile does,
// into `bytes`. False with `kind` saying why otherwise (Missing, Special, Unreadable, TooLarge).
[[nodiscard]] bool ReadSmallRegularFile(const QString& path, std::size_t maxBytes,
                                        QByteArray& bytes, FileKind& kind);

// Raises LoadError with the user's message for a file of `kind` that is not a readable regular
// file: "does not exist" for a missing one, clearer texts for the others.
[[noreturn]] void RaiseUnopenable(const QString& path, FileKind kind);

// The names in `folder` (without "." and ".."), as the system gives them.
[[nodiscard]] std::vector<QString> ListFolder(const QString& folder);

}  // namespace faultscope
