#include "core/viewtemplate/view_sections.h"

#include <QSet>
#include <stdexcept>
#include <vector>

#include "core/settings/ini_store.h"
#include "core/viewtemplate/channel_view_list.h"

namespace faultscope {
namespace {

void RequireIni(const IniStore* ini) {
    if (ini == nullptr) {
        throw std::invalid_argument("Ini file not assigned");
    }
}

void RequireList(const ChannelViewList* list) {
    if (list == nullptr) {
        throw std::invalid_argument("Frame list not assigned");
    }
}

}  // namespace

QString ViewKey(const QString& channelName) {
    QString key = channelName.trimmed();
    key.replace(u'=', QStringLiteral("%3D"));
    if (key.startsWith(u'[')) {
        key.replace(0, 1, QStringLiteral("%5B"));
    }
    return key;
}

QStringList VisibleChannelKeys(const ChannelViewList* list) {
    RequireList(list);
    QStringList keys;
    for (std::size_t i = 0; i < list->Count(); ++i) {
        if (list->HasStrip(i) && list->Visible(i)) {
            keys.push_back(ViewKey(list->ChannelName(i)));
        }
    }
    return keys;
}

void SaveChannelView(IniStore* ini, const QString& section, const QStringList& keys) {
    RequireIni(ini);
    ini->EraseSection(section);
    for (const QString& key : keys) {
        // A blank name has no key to be stored under.
        if (!key.isEmpty()) {
            ini->WriteString(section, key, QStringLiteral("1"));
        }
    }
}

void LoadChannelView(const IniStore* ini, const QString& section, ChannelViewList* list) {
    RequireIni(ini);
    const QStringList keys = ini->ReadSection(section);
    if (keys.isEmpty()) {
        return;
    }
    LoadChannelView(keys, list);
}

void LoadChannelView(const QStringList& keys, ChannelViewList* list) {
    RequireList(list);
    QSet<QString> shown;
    for (const QString& key : keys) {
        shown.insert(key.trimmed());
    }
    std::vector<bool> visible(list->Count(), false);
    for (std::size_t i = 0; i < list->Count(); ++i) {
        visible[i] = list->HasStrip(i) && shown.contains(ViewKey(list->ChannelName(i)));
    }
    list->SetVisibility(visible);
}

}  // namespace faultscope
