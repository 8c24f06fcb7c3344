#pragma once

#include <QFrame>
#include <QString>
#include <QStringList>
#include <functional>

#include "core/viewtemplate/template_store.h"

class QGroupBox;
class QListWidget;
class QToolButton;

namespace faultscope {

class MessageSink;
class IniStore;

// The list of saved visibility templates of one kind of channels, with buttons to add the
// current visible set as a template, delete one and apply one. The templates live in the
// section SectionName of the settings file; each addition or deletion is written to disk at once.
// What "visible" means and what applying does is the owner's: it answers OnNew and OnApply.
// Formerly TfrmTemplateList.
class VisibilityTemplatePanel : public QFrame {
    Q_OBJECT

  public:
    // Asked to apply a template: its channel names, the empty text after the last "|" included.
    using TemplateApplyHandler =
        std::function<void(VisibilityTemplatePanel* sender, const QStringList& strAr)>;
    // Asked for the names of the visible channels a new template keeps, appended to visibleList.
    using TemplateNewHandler =
        std::function<void(VisibilityTemplatePanel* sender, QStringList& visibleList)>;

    // `ini` may be null: the list then stays empty and nothing is written.
    // Its messages and questions go to `messages` (boxes over the active window when null).
    explicit VisibilityTemplatePanel(IniStore* ini, QWidget* parent = nullptr,
                                     MessageSink* messages = nullptr);

    void SetSectionName(const QString& name) { sectionName_ = name; }
    void SetChannels(TemplateKind channels) noexcept { channels_ = channels; }
    void SetOnApply(TemplateApplyHandler onApply) { onApply_ = std::move(onApply); }
    void SetOnNew(TemplateNewHandler onNew) { onNew_ = std::move(onNew); }

    // The templates as "name=value" lines in the order of the settings file; line i is item i
    // of the list box.
    [[nodiscard]] const QStringList& TemplateList() const noexcept { return templateList_; }

    // Reads the templates of SectionName from the settings store into the list.
    void LoadList();
    // Applies the selected template, when one is selected.
    void Apply();

    [[nodiscard]] QListWidget* lst() const noexcept { return lst_; }
    [[nodiscard]] QWidget* pnlBtn() const noexcept { return pnlBtn_; }
    [[nodiscard]] QGroupBox* grp() const noexcept { return grp_; }
    [[nodiscard]] QToolButton* btnAdd() const noexcept { return btnAdd_; }
    [[nodiscard]] QToolButton* btnDel() const noexcept { return btnDel_; }
    [[nodiscard]] QToolButton* btnApply() const noexcept { return btnApply_; }

  private:
    void BuildToolStrip();
    void btnDelClick();
    void btnAddClick();
    void DoApply(const QStringList& names);
    void DoNew(QStringList& list);
    void FillList();
    // Shows what the store holds after a change, also when writing it to disk failed: the store
    // keeps the change and writes it with the next one.
    void ReloadList();
    // Runs a write of the settings file; false, after telling the user, when it failed.
    bool Write(const std::function<void()>& write);

    IniStore* ini_;
    QListWidget* lst_;
    QWidget* pnlBtn_;
    QGroupBox* grp_;
    QToolButton* btnAdd_ = nullptr;
    QToolButton* btnDel_ = nullptr;
    QToolButton* btnApply_ = nullptr;
    TemplateApplyHandler onApply_;
    TemplateNewHandler onNew_;
    QStringList templateList_;
    QString sectionName_;
    TemplateKind channels_ = TemplateKind::tcAnalog;
    MessageSink* messages_ = nullptr;
};

}  // namespace faultscope
