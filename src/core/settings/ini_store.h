#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <vector>

namespace faultscope {

// How an INI file is written. Windows1251 suits files that programs on Windows systems share;
// text that code page cannot hold is written as UTF-8 instead, which the reading rule below
// recognises, so nothing is lost.
enum class IniTextEncoding { Utf8, Windows1251 };

// An INI file held in memory and written to disk on request.
//
// Sections keep their order; a section erased and written again moves to the end. Section and
// key names are compared without letter case (Unicode case folding) and without surrounding
// blanks, and keep the spelling they were first written with. A line "key=value" gives the value
// everything after the first "=", untouched. The file is written as UTF-8 and read as UTF-8 when
// its bytes are valid UTF-8 (or carry a byte order mark), otherwise as Windows-1251.
//
// A damaged file never fails the reading: lines before the first section, lines without "=" and
// lines with an empty key are dropped; a section header missing its "]" still opens the section;
// repeated sections are merged and the first of repeated keys wins. What is dropped is gone once
// the file is written again.
//
// Names and values that could not be read back the same (a key with "=" or starting with "[", an
// empty name, a line break anywhere) are refused with std::invalid_argument.
//
// Several running copies of the program share one file: each remembers only what it changed,
// and UpdateFile applies those changes to the file as it is on disk at that moment, under a lock
// file, so that a copy never undoes what another one saved.
class IniStore {
  public:
    // The largest file read; a larger one is not read.
    static constexpr std::size_t kMaxFileBytes = 16U << 20U;

    // Reads the file when it exists. A file that exists but cannot be read (no right to, not a
    // regular file, larger than kMaxFileBytes) gives an empty store that refuses to overwrite it
    // (UpdateFile throws). `baseFileName`, when given, is a file
    // read first and never written (the settings beside a read-only install): what `fileName`
    // holds wins over it.
    explicit IniStore(QString fileName, QString baseFileName = {});

    const QString& FileName() const noexcept { return fileName_; }
    // The file is there but could not be read, and will not be overwritten.
    [[nodiscard]] bool Unreadable() const noexcept { return unreadable_; }
    // Forgets what was read and never writes the file, as for one that could not be read: for a
    // name that turned out to be no plain file of the caller's own.
    void Refuse();

    // How the file is written from now on (UTF-8 unless set).
    void SetTextEncoding(IniTextEncoding encoding) noexcept { encoding_ = encoding; }

    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;
    QStringList ReadSections() const;
    QStringList ReadSection(const QString& section) const;  // the keys, in file order

    QString ReadString(const QString& section, const QString& key, const QString& def = {}) const;
    // Decimal, or hexadecimal after "$" or "0x"; def when absent or unreadable.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    // "." or "," as the decimal separator; def when absent or unreadable.
    double ReadFloat(const QString& section, const QString& key, double def) const;
    // True from "TRUE", "YES", "Y", false from "FALSE", "NO", "N" (any letter case) and from
    // integers (0 is false); def otherwise.
    bool ReadBool(const QString& section, const QString& key, bool def) const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteFloat(const QString& section, const QString& key, double value);  // "." always
    void WriteBool(const QString& section, const QString& key, bool value);     // "TRUE", "FALSE"

    void DeleteKey(const QString& section, const QString& key);
    void EraseSection(const QString& section);

    // Whether the store differs from the file since it was read or last written.
    bool Modified() const noexcept { return !changes_.empty(); }

    // Writes the changes made since the last write, when there are any: under the lock file
    // (fileName + ".lock") the file is read again, the changes are applied to what it holds, and
    // the result replaces it all or nothing, through a temporary file renamed over the old one.
    // The store then holds what was written. Throws SettingsError when the file cannot be
    // locked or written; the old file then stays and the changes are kept.
    void UpdateFile();

    // The bytes of the file the store would write.
    QByteArray ToBytes() const;

  private:
    struct Entry {
        QString key;
        QString value;
    };
    // Entries in file order, found by their folded name through the index.
    struct Section {
        QString name;
        std::vector<Entry> entries;
        QHash<QString, std::size_t> index;
    };
    // One change made by this copy, replayed on the file as it is when written.
    struct Change {
        enum class Kind { Write, DeleteKey, EraseSection };
        Kind kind;
        QString section;
        QString key;
        QString value;
    };
    // Reads a file into the store; false when it exists but cannot be read.
    bool ReadFile(const QString& fileName);
    void Parse(const QString& text);
    // Sets every value of `other` here: `other` wins.
    void Overlay(const IniStore& other);
    const Section* FindSection(const QString& name) const;
    Section* FindSection(const QString& name);
    Section& AddSection(const QString& name);
    const Entry* FindEntry(const QString& section, const QString& key) const;
    // Sets a value; true when it changed something.
    bool Put(const QString& section, const QString& key, const QString& value);
    bool Remove(const QString& section, const QString& key);
    bool Erase(const QString& section);
    void Apply(const Change& change);
    void Clear();
    void WriteLocked();

    QString fileName_;
    QString baseFileName_;
    IniTextEncoding encoding_ = IniTextEncoding::Utf8;
    std::vector<Section> sections_;
    QHash<QString, std::size_t> sectionIndex_;
    std::vector<Change> changes_;
    bool unreadable_ = false;
};

// Decodes the bytes of an INI file by the rule of IniStore: by the byte order mark when there is
// one, otherwise as UTF-8 when valid, otherwise each line as UTF-8 when it is valid and as
// Windows-1251 when not.
QString DecodeIniText(const QByteArray& bytes);

}  // namespace faultscope
