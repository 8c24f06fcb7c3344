#include "core/settings/form_state_store.h"

#include <array>

#include "core/settings/ini_store.h"

namespace faultscope {

namespace {

constexpr char kLeft[] = "Left";
constexpr char kTop[] = "Top";
constexpr char kWidth[] = "Width";
constexpr char kHeight[] = "Height";
constexpr char kWindowState[] = "WindowState";

constexpr std::array kStateNames{"Normal", "Minimized", "Maximized"};

QString StateName(WindowState state) {
    return QString::fromLatin1(kStateNames[static_cast<std::size_t>(state)]);
}

}  // namespace

FormStateStore::FormStateStore(IniStore* iniFile, const QString& sectionPath,
                               const QString& formName, PlacementOptions options)
    : iniFile_(iniFile), section_(sectionPath), options_(options) {
    if (!formName.isEmpty()) {
        section_.replace(QString::fromLatin1(kFormNamePlaceholder), formName);
    }
    while (section_.endsWith(u'\\')) {
        section_.chop(1);
    }
}

QString FormStateStore::PropertyKey(const QString& control, const QString& property) {
    return control + u'_' + property;
}

QString FormStateStore::ReadString(const QString& name, const QString& def) const {
    return iniFile_ == nullptr ? def : iniFile_->ReadString(section_, name, def);
}

int FormStateStore::ReadInteger(const QString& name, int def) const {
    return iniFile_ == nullptr ? def : iniFile_->ReadInteger(section_, name, def);
}

double FormStateStore::ReadFloat(const QString& name, double def) const {
    return iniFile_ == nullptr ? def : iniFile_->ReadFloat(section_, name, def);
}

bool FormStateStore::ReadBool(const QString& name, bool def) const {
    return iniFile_ == nullptr ? def : iniFile_->ReadBool(section_, name, def);
}

void FormStateStore::WriteString(const QString& name, const QString& value) {
    if (iniFile_ != nullptr) {
        iniFile_->WriteString(section_, name, value);
    }
}

void FormStateStore::WriteInteger(const QString& name, int value) {
    if (iniFile_ != nullptr) {
        iniFile_->WriteInteger(section_, name, value);
    }
}

void FormStateStore::WriteFloat(const QString& name, double value) {
    if (iniFile_ != nullptr) {
        iniFile_->WriteFloat(section_, name, value);
    }
}

void FormStateStore::WriteBool(const QString& name, bool value) {
    if (iniFile_ != nullptr) {
        iniFile_->WriteBool(section_, name, value);
    }
}

WindowPlacement FormStateStore::RestorePlacement(const WindowPlacement& current) const {
    WindowPlacement placement = current;
    if (iniFile_ == nullptr) {
        return placement;
    }
    const auto has = [this](const char* key) { return iniFile_->ValueExists(section_, key); };
    if (options_.position && has(kLeft) && has(kTop)) {
        placement.rect.moveTo(ReadInteger(kLeft, current.rect.left()),
                              ReadInteger(kTop, current.rect.top()));
    }
    if (options_.size) {
        const int width = ReadInteger(kWidth, 0);
        const int height = ReadInteger(kHeight, 0);
        if (width > 0 && height > 0) {
            placement.rect.setSize({width, height});
        }
    }
    if (options_.state) {
        const QString stored = ReadString(kWindowState);
        for (const WindowState state :
             {WindowState::Normal, WindowState::Minimized, WindowState::Maximized}) {
            if (stored.trimmed().compare(StateName(state), Qt::CaseInsensitive) == 0) {
                placement.state = state;
            }
        }
    }
    return placement;
}

void FormStateStore::StorePlacement(const WindowPlacement& placement) {
    if (options_.position) {
        WriteInteger(kLeft, placement.rect.left());
        WriteInteger(kTop, placement.rect.top());
    }
    if (options_.size) {
        WriteInteger(kWidth, placement.rect.width());
        WriteInteger(kHeight, placement.rect.height());
    }
    if (options_.state) {
        WriteString(kWindowState, StateName(placement.state));
    }
}

}  // namespace faultscope
