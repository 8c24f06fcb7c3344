#include "core/settings/ini_store.h"

#include "core/record/native_file.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <optional>
#include <stdexcept>

#include "core/settings/settings_error.h"

namespace faultscope {

namespace {

// The key under which a section or key name is indexed: without surrounding blanks and letter
// case.
QString FoldedName(const QString& name) {
    return name.trimmed().toCaseFolded();
}

// Waits for another copy's write at most this long; a lock left by a copy that died is taken
// over after kStaleLockMs.
constexpr int kLockWaitMs = 5000;
constexpr int kStaleLockMs = 30000;

bool HasLineBreak(QStringView text) {
    return text.contains(u'\n') || text.contains(u'\r');
}

void CheckSection(const QString& section) {
    if (section.trimmed().isEmpty() || HasLineBreak(section)) {
        throw std::invalid_argument("Invalid ini section name");
    }
}

void CheckKey(const QString& key) {
    const QString name = key.trimmed();
    if (name.isEmpty() || name.startsWith(u'[') || name.contains(u'=') || HasLineBreak(name)) {
        throw std::invalid_argument("Invalid ini key");
    }
}

void CheckValue(const QString& value) {
    if (HasLineBreak(value)) {
        throw std::invalid_argument("Invalid ini value");
    }
}

std::string WriteFailure(const QString& fileName, const QString& reason) {
    return QStringLiteral("Не удалось записать файл настроек \"%1\": %2")
        .arg(fileName, reason)
        .toStdString();
}

// Windows-1251 when the text survives the round trip, otherwise UTF-8.
QByteArray EncodeWindows1251OrUtf8(const QString& text) {
    QStringEncoder encoder("windows-1251");
    if (encoder.isValid()) {
        QByteArray bytes = encoder.encode(text);
        QStringDecoder decoder("windows-1251");
        if (!encoder.hasError() && QString(decoder.decode(bytes)) == text) {
            return bytes;
        }
    }
    return text.toUtf8();
}

// The text of `bytes` when they are valid UTF-8.
std::optional<QString> DecodeUtf8(QByteArrayView bytes) {
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        return std::nullopt;
    }
    return text;
}

QString DecodeWindows1251(QByteArrayView bytes) {
    QStringDecoder cp1251("windows-1251");
    return cp1251.isValid() ? QString(cp1251.decode(bytes)) : QString::fromLatin1(bytes);
}

}  // namespace

QString DecodeIniText(const QByteArray& bytes) {
    if (const auto marked = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*marked);
        return decoder.decode(bytes);
    }
    if (std::optional<QString> text = DecodeUtf8(bytes)) {
        return *text;
    }
    // Lines written by different programs, or values this store wrote in UTF-8 because Windows-1251
    // lacks their characters: each line in the encoding it reads in.
    QString text;
    text.reserve(bytes.size());
    for (const QByteArray& line : bytes.split('\n')) {
        if (!text.isEmpty()) {
            text += u'\n';
        }
        const std::optional<QString> utf8 = DecodeUtf8(line);
        text += utf8 ? *utf8 : DecodeWindows1251(line);
    }
    return text;
}

IniStore::IniStore(QString fileName, QString baseFileName)
    : fileName_(std::move(fileName)), baseFileName_(std::move(baseFileName)) {
    if (fileName_.isEmpty()) {
        throw std::invalid_argument("FileName is impty");
    }
    if (baseFileName_.isEmpty()) {
        unreadable_ = !ReadFile(fileName_);
        return;
    }
    ReadFile(baseFileName_);
    const IniStore own(fileName_);
    unreadable_ = own.unreadable_;
    Overlay(own);
}

void IniStore::Refuse() {
    Clear();
    changes_.clear();
    unreadable_ = true;
}

void IniStore::Overlay(const IniStore& other) {
    for (const Section& section : other.sections_) {
        AddSection(section.name);
        for (const Entry& entry : section.entries) {
            Put(section.name, entry.key, entry.value);
        }
    }
}

bool IniStore::ReadFile(const QString& fileName) {
    // A FIFO or device in the file's place is never waited on, and a huge file never read whole.
    QByteArray bytes;
    FileKind kind = FileKind::Missing;
    if (!ReadSmallRegularFile(fileName, kMaxFileBytes, bytes, kind)) {
        return kind == FileKind::Missing;
    }
    Parse(DecodeIniText(bytes));
    return true;
}

void IniStore::Parse(const QString& text) {
    Section* current = nullptr;
    for (QStringView line : QStringView(text).split(u'\n')) {
        // A value never ends in a carriage return: it could not be written back as it is.
        while (line.endsWith(u'\r')) {
            line.chop(1);
        }
        const QStringView trimmed = line.trimmed();
        if (trimmed.startsWith(u'[')) {
            QStringView name = trimmed.sliced(1);
            if (const qsizetype close = name.lastIndexOf(u']'); close >= 0) {
                name.truncate(close);
            }
            current = &AddSection(name.toString());
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (current == nullptr || eq < 0) {
            continue;
        }
        const QString key = line.first(eq).trimmed().toString();
        if (key.isEmpty()) {
            continue;
        }
        const QString folded = FoldedName(key);
        if (!current->index.contains(folded)) {
            current->index.insert(folded, current->entries.size());
            current->entries.push_back({key, line.sliced(eq + 1).toString()});
        }
    }
}

const IniStore::Section* IniStore::FindSection(const QString& name) const {
    const auto it = sectionIndex_.constFind(FoldedName(name));
    return it == sectionIndex_.cend() ? nullptr : &sections_[*it];
}

IniStore::Section* IniStore::FindSection(const QString& name) {
    return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

IniStore::Section& IniStore::AddSection(const QString& name) {
    if (Section* s = FindSection(name)) {
        return *s;
    }
    sectionIndex_.insert(FoldedName(name), sections_.size());
    return sections_.emplace_back(Section{name.trimmed(), {}, {}});
}

const IniStore::Entry* IniStore::FindEntry(const QString& section, const QString& key) const {
    const Section* s = FindSection(section);
    if (s == nullptr) {
        return nullptr;
    }
    const auto it = s->index.constFind(FoldedName(key));
    return it == s->index.cend() ? nullptr : &s->entries[*it];
}

bool IniStore::SectionExists(const QString& section) const {
    return FindSection(section) != nullptr;
}

bool IniStore::ValueExists(const QString& section, const QString& key) const {
    return FindEntry(section, key) != nullptr;
}

QStringList IniStore::ReadSections() const {
    QStringList names;
    for (const Section& s : sections_) {
        names.push_back(s.name);
    }
    return names;
}

QStringList IniStore::ReadSection(const QString& section) const {
    QStringList keys;
    if (const Section* s = FindSection(section)) {
        for (const Entry& e : s->entries) {
            keys.push_back(e.key);
        }
    }
    return keys;
}

QString IniStore::ReadString(const QString& section, const QString& key, const QString& def) const {
    const Entry* e = FindEntry(section, key);
    return e == nullptr ? def : e->value;
}

int IniStore::ReadInteger(const QString& section, const QString& key, int def) const {
    const QString text = ReadString(section, key).trimmed();
    bool ok = false;
    int value = 0;
    if (text.startsWith(u'$')) {
        value = QStringView(text).sliced(1).toInt(&ok, 16);
    } else if (text.startsWith(u"0x", Qt::CaseInsensitive)) {
        value = QStringView(text).sliced(2).toInt(&ok, 16);
    } else {
        value = text.toInt(&ok, 10);
    }
    return ok ? value : def;
}

double IniStore::ReadFloat(const QString& section, const QString& key, double def) const {
    QString text = ReadString(section, key).trimmed();
    // Files written on systems whose decimal separator is a comma hold "0,5".
    if (!text.contains(u'.')) {
        text.replace(u',', u'.');
    }
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? value : def;
}

bool IniStore::ReadBool(const QString& section, const QString& key, bool def) const {
    const QString text = ReadString(section, key).trimmed();
    for (const char16_t* yes : {u"TRUE", u"YES", u"Y"}) {
        if (text.compare(QStringView(yes), Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    for (const char16_t* no : {u"FALSE", u"NO", u"N"}) {
        if (text.compare(QStringView(no), Qt::CaseInsensitive) == 0) {
            return false;
        }
    }
    bool ok = false;
    const qlonglong number = text.toLongLong(&ok);
    return ok ? number != 0 : def;
}

void IniStore::WriteString(const QString& section, const QString& key, const QString& value) {
    CheckSection(section);
    CheckKey(key);
    CheckValue(value);
    if (Put(section, key, value)) {
        changes_.push_back({Change::Kind::Write, section, key, value});
    }
}

bool IniStore::Put(const QString& section, const QString& key, const QString& value) {
    Section& s = AddSection(section);
    const QString folded = FoldedName(key);
    const auto it = s.index.constFind(folded);
    if (it == s.index.cend()) {
        s.index.insert(folded, s.entries.size());
        s.entries.push_back({key.trimmed(), value});
        return true;
    }
    Entry& entry = s.entries[*it];
    if (entry.value == value) {
        return false;
    }
    entry.value = value;
    return true;
}

void IniStore::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, QString::number(value));
}

void IniStore::WriteFloat(const QString& section, const QString& key, double value) {
    WriteString(section, key, QString::number(value, 'g', QLocale::FloatingPointShortest));
}

void IniStore::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
}

void IniStore::DeleteKey(const QString& section, const QString& key) {
    if (Remove(section, key)) {
        changes_.push_back({Change::Kind::DeleteKey, section, key, {}});
    }
}

void IniStore::EraseSection(const QString& section) {
    if (Erase(section)) {
        changes_.push_back({Change::Kind::EraseSection, section, {}, {}});
    }
}

bool IniStore::Remove(const QString& section, const QString& key) {
    Section* s = FindSection(section);
    if (s == nullptr) {
        return false;
    }
    const auto it = s->index.constFind(FoldedName(key));
    if (it == s->index.cend()) {
        return false;
    }
    s->entries.erase(s->entries.begin() + static_cast<std::ptrdiff_t>(*it));
    s->index.clear();
    for (std::size_t i = 0; i < s->entries.size(); ++i) {
        s->index.insert(FoldedName(s->entries[i].key), i);
    }
    return true;
}

bool IniStore::Erase(const QString& section) {
    const auto it = sectionIndex_.constFind(FoldedName(section));
    if (it == sectionIndex_.cend()) {
        return false;
    }
    sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(*it));
    sectionIndex_.clear();
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        sectionIndex_.insert(FoldedName(sections_[i].name), i);
    }
    return true;
}

void IniStore::Apply(const Change& change) {
    switch (change.kind) {
        case Change::Kind::Write:
            Put(change.section, change.key, change.value);
            break;
        case Change::Kind::DeleteKey:
            Remove(change.section, change.key);
            break;
        case Change::Kind::EraseSection:
            Erase(change.section);
            break;
    }
}

void IniStore::Clear() {
    sections_.clear();
    sectionIndex_.clear();
}

QByteArray IniStore::ToBytes() const {
    QString text;
    for (const Section& s : sections_) {
        if (!text.isEmpty()) {
            text += u'\n';
        }
        text += u'[';
        text += s.name;
        text += u"]\n";
        for (const Entry& e : s.entries) {
            text += e.key;
            text += u'=';
            text += e.value;
            text += u'\n';
        }
    }
    return encoding_ == IniTextEncoding::Windows1251 ? EncodeWindows1251OrUtf8(text)
                                                     : text.toUtf8();
}

void IniStore::UpdateFile() {
    if (changes_.empty()) {
        return;
    }
    if (unreadable_) {
        throw SettingsError(WriteFailure(
            fileName_, QStringLiteral("файл не удалось прочитать, он не будет перезаписан")));
    }
    QLockFile lock(fileName_ + QStringLiteral(".lock"));
    lock.setStaleLockTime(kStaleLockMs);
    if (!lock.tryLock(kLockWaitMs)) {
        throw SettingsError(
            WriteFailure(fileName_, lock.error() == QLockFile::LockFailedError
                                        ? QStringLiteral("файл занят другой копией программы")
                                        : QStringLiteral("не удалось создать файл блокировки")));
    }
    WriteLocked();
}

void IniStore::WriteLocked() {
    // What the file holds now, other copies' saves included, with this copy's changes on top.
    IniStore current(fileName_);
    current.SetTextEncoding(encoding_);
    if (current.unreadable_) {
        throw SettingsError(WriteFailure(
            fileName_, QStringLiteral("файл не удалось прочитать, он не будет перезаписан")));
    }
    for (const Change& change : changes_) {
        current.Apply(change);
    }
    const QByteArray bytes = current.ToBytes();
    QSaveFile file(fileName_);
    if (!file.open(QIODevice::WriteOnly)) {
        throw SettingsError(WriteFailure(fileName_, file.errorString()));
    }
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw SettingsError(WriteFailure(fileName_, reason));
    }
    if (!file.commit()) {
        throw SettingsError(WriteFailure(fileName_, file.errorString()));
    }
    changes_.clear();
    Clear();
    if (!baseFileName_.isEmpty()) {
        ReadFile(baseFileName_);
    }
    Overlay(current);
}

}  // namespace faultscope
