#pragma once

#include <QRect>
#include <QString>

namespace faultscope {

class IniStore;

enum class WindowState { Normal, Minimized, Maximized };

// Where a window is and how it is shown, as plain values.
struct WindowPlacement {
    QRect rect;
    WindowState state = WindowState::Normal;

    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

// Which parts of the window placement a store keeps.
struct PlacementOptions {
    bool position = false;
    bool size = false;
    bool state = false;

    static constexpr PlacementOptions None() noexcept { return {}; }
    static constexpr PlacementOptions All() noexcept { return {true, true, true}; }
};

// The remembered state of one window, kept in one section of the settings file: its placement,
// control properties under "control_Property" keys and named stored values under their names.
// A store without a settings file reads the defaults and writes nothing.
class FormStateStore {
  public:
    static constexpr char kFormNamePlaceholder[] = "%FORM_NAME%";

    // The section is sectionPath without its trailing backslashes, with "%FORM_NAME%" replaced by
    // formName; an empty formName (the owner is not a window) keeps the placeholder as it is.
    FormStateStore(IniStore* iniFile, const QString& sectionPath, const QString& formName,
                   PlacementOptions options = PlacementOptions::All());

    const QString& Section() const noexcept { return section_; }

    // The key of a control property: "cbbCharPage" and "ItemIndex" give "cbbCharPage_ItemIndex".
    static QString PropertyKey(const QString& control, const QString& property);

    QString ReadString(const QString& name, const QString& def = {}) const;
    int ReadInteger(const QString& name, int def) const;
    double ReadFloat(const QString& name, double def) const;
    bool ReadBool(const QString& name, bool def) const;
    void WriteString(const QString& name, const QString& value);
    void WriteInteger(const QString& name, int value);
    void WriteFloat(const QString& name, double value);
    void WriteBool(const QString& name, bool value);

    // The current placement with the parts the options ask for replaced by the stored ones;
    // parts never stored, unreadable or of no size keep their current values.
    WindowPlacement RestorePlacement(const WindowPlacement& current) const;
    // Stores the parts of the placement the options ask for.
    void StorePlacement(const WindowPlacement& placement);

  private:
    IniStore* iniFile_;
    QString section_;
    PlacementOptions options_;
};

}  // namespace faultscope
