#include "settings/ini_store.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>
#include <stdexcept>

#include "settings/settings_error.h"

namespace faultscope {

namespace {

bool SameName(QStringView stored, QStringView name) {
    return stored.compare(name.trimmed(), Qt::CaseInsensitive) == 0;
}

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

}  // namespace

QString DecodeIniText(const QByteArray& bytes) {
    if (const auto marked = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*marked);
        return decoder.decode(bytes);
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        return text;
    }
    QStringDecoder cp1251("windows-1251");
    if (cp1251.isValid()) {
        return cp1251.decode(bytes);
    }
    return QString::fromLatin1(bytes);
}

IniStore::IniStore(QString fileName) : fileName_(std::move(fileName)) {
    if (fileName_.isEmpty()) {
        throw std::invalid_argument("FileName is impty");
    }
    if (!QFileInfo::exists(fileName_)) {
        return;
    }
    QFile file(fileName_);
    if (!file.open(QIODevice::ReadOnly)) {
        unreadable_ = true;
        return;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        unreadable_ = true;
        return;
    }
    Parse(DecodeIniText(bytes));
}

void IniStore::Parse(const QString& text) {
    Section* current = nullptr;
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        const QStringView trimmed = line.trimmed();
        if (trimmed.startsWith(u'[')) {
            QStringView name = trimmed.sliced(1);
            if (const qsizetype close = name.lastIndexOf(u']'); close >= 0) {
                name.truncate(close);
            }
            current = FindSection(name.toString());
            if (current == nullptr) {
                current = &sections_.emplace_back(Section{name.trimmed().toString(), {}});
            }
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (current == nullptr || eq < 0) {
            continue;
        }
        const QString key = line.first(eq).trimmed().toString();
        const bool known = std::any_of(current->entries.begin(), current->entries.end(),
                                       [&](const Entry& e) { return SameName(e.key, key); });
        if (!key.isEmpty() && !known) {
            current->entries.push_back({key, line.sliced(eq + 1).toString()});
        }
    }
}

const IniStore::Section* IniStore::FindSection(const QString& name) const {
    const auto it = std::find_if(sections_.begin(), sections_.end(),
                                 [&](const Section& s) { return SameName(s.name, name); });
    return it == sections_.end() ? nullptr : &*it;
}

IniStore::Section* IniStore::FindSection(const QString& name) {
    return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

const IniStore::Entry* IniStore::FindEntry(const QString& section, const QString& key) const {
    const Section* s = FindSection(section);
    if (s == nullptr) {
        return nullptr;
    }
    const auto it = std::find_if(s->entries.begin(), s->entries.end(),
                                 [&](const Entry& e) { return SameName(e.key, key); });
    return it == s->entries.end() ? nullptr : &*it;
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
    Section* s = FindSection(section);
    if (s == nullptr) {
        s = &sections_.emplace_back(Section{section.trimmed(), {}});
    }
    const auto it = std::find_if(s->entries.begin(), s->entries.end(),
                                 [&](const Entry& e) { return SameName(e.key, key); });
    if (it == s->entries.end()) {
        s->entries.push_back({key.trimmed(), value});
        modified_ = true;
    } else if (it->value != value) {
        it->value = value;
        modified_ = true;
    }
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
    Section* s = FindSection(section);
    if (s == nullptr) {
        return;
    }
    const auto removed =
        std::erase_if(s->entries, [&](const Entry& e) { return SameName(e.key, key); });
    modified_ = modified_ || removed > 0;
}

void IniStore::EraseSection(const QString& section) {
    const auto removed =
        std::erase_if(sections_, [&](const Section& s) { return SameName(s.name, section); });
    modified_ = modified_ || removed > 0;
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
    return text.toUtf8();
}

void IniStore::UpdateFile() {
    if (!modified_) {
        return;
    }
    if (unreadable_) {
        throw SettingsError(WriteFailure(
            fileName_, QStringLiteral("файл не удалось прочитать, он не будет перезаписан")));
    }
    const QByteArray bytes = ToBytes();
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
    modified_ = false;
}

}  // namespace faultscope
