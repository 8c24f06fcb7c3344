#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <vector>

namespace faultscope {

// The text encodings offered for configuration files: "Windows" is Windows-1251 (the Cyrillic
// 8-bit code page), "CP866" is code page 866.
enum class TextEncoding { Windows, Cp866 };

// True when `bytes` are valid UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsValidUtf8(const QByteArray& bytes) noexcept;

// Decodes a configuration file to UTF-8 lines. A UTF-8 byte order mark, or valid UTF-8 that holds
// at least one multi-byte sequence, selects UTF-8 whatever `encoding` says. Lines break at CR LF,
// LF or CR; a line break at the very end adds no empty line.
std::vector<std::string> DecodeConfigLines(const QByteArray& bytes, TextEncoding encoding);

// Whether DecodeConfigLines reads `bytes` as UTF-8.
bool ReadsAsUtf8(const QByteArray& bytes) noexcept;

// Encodes a line to add to a configuration file of `fileBytes` in the file's own encoding, the
// one DecodeConfigLines reads it in. Letters the code page lacks become '?'.
QByteArray EncodeConfigLine(const std::string& utf8, const QByteArray& fileBytes,
                            TextEncoding encoding);

}  // namespace faultscope
