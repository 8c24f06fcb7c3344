#include "gui/dialogs/visibility_template_panel.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <exception>

#include "core/settings/ini_store.h"
#include "gui/dialogs/template_icons.h"
#include "gui/dialogs/template_name_dialog.h"
#include "gui/widgets/message_boxes.h"

namespace faultscope {
namespace {

QToolButton* MakeToolButton(QWidget* parent, const char* name, TemplateListIcon icon,
                            const char* hint) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setAutoRaise(true);
    button->setFixedSize(24, 24);
    button->setIconSize(QSize(16, 16));
    button->setIcon(MakeTemplateListIcon(icon));
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

VisibilityTemplatePanel::VisibilityTemplatePanel(IniStore* ini, QWidget* parent,
                                                 MessageSink* messages)
    : QFrame(parent),
      ini_(ini),
      lst_(new QListWidget),
      pnlBtn_(new QWidget),
      grp_(new QGroupBox("Шаблоны видимости:", this)) {
    messages_ = messages;
    lst_->setObjectName("lst");
    pnlBtn_->setObjectName("pnlBtn");
    grp_->setObjectName("grp");
    BuildToolStrip();

    auto* inner = new QVBoxLayout(grp_);
    inner->setContentsMargins(4, 4, 4, 4);
    inner->setSpacing(2);
    inner->addWidget(pnlBtn_);
    inner->addWidget(lst_, 1);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(grp_);
    resize(193, 279);

    connect(lst_, &QListWidget::itemDoubleClicked, this, [this] { Apply(); });
    connect(btnApply_, &QToolButton::clicked, this, [this] { Apply(); });
    connect(btnDel_, &QToolButton::clicked, this, [this] { btnDelClick(); });
    connect(btnAdd_, &QToolButton::clicked, this, [this] { btnAddClick(); });
}

void VisibilityTemplatePanel::BuildToolStrip() {
    pnlBtn_->setFixedHeight(28);
    btnAdd_ = MakeToolButton(pnlBtn_, "btnAdd", TemplateListIcon::Add, "Добавить шаблон");
    btnDel_ = MakeToolButton(pnlBtn_, "btnDel", TemplateListIcon::Delete, "Удалить шаблон");
    btnApply_ = MakeToolButton(pnlBtn_, "btnApply", TemplateListIcon::Apply, "Применить шаблон");
    auto* row = new QHBoxLayout(pnlBtn_);
    row->setContentsMargins(0, 2, 0, 2);
    row->setSpacing(0);
    row->addWidget(btnAdd_);
    row->addWidget(btnDel_);
    row->addWidget(btnApply_);
    row->addStretch(1);
}

void VisibilityTemplatePanel::LoadList() {
    if (ini_ == nullptr || sectionName_.isEmpty() || !ini_->SectionExists(sectionName_)) {
        return;
    }
    templateList_ = ReadTemplateList(*ini_, sectionName_);
    FillList();
}

void VisibilityTemplatePanel::FillList() {
    lst_->clear();
    for (const QString& line : templateList_) {
        lst_->addItem(TemplateLineName(line));
    }
}

void VisibilityTemplatePanel::Apply() {
    const int row = lst_->currentRow();
    if (row < 0 || row >= templateList_.size() || !lst_->currentItem()->isSelected()) {
        return;
    }
    DoApply(TemplateNames(TemplateLineValue(templateList_[row])));
}

void VisibilityTemplatePanel::DoApply(const QStringList& names) {
    if (onApply_) {
        onApply_(this, names);
    }
}

void VisibilityTemplatePanel::DoNew(QStringList& list) {
    if (onNew_) {
        onNew_(this, list);
    }
}

bool VisibilityTemplatePanel::Write(const std::function<void()>& write) {
    try {
        write();
        return true;
    } catch (const std::exception& e) {
        MessagesOr(messages_).Show(MessageIcon::Error, "Ошибка", QString::fromUtf8(e.what()));
        return false;
    }
}

void VisibilityTemplatePanel::btnDelClick() {
    const int row = lst_->currentRow();
    if (ini_ == nullptr || row < 0 || row >= templateList_.size() ||
        !lst_->currentItem()->isSelected()) {
        return;
    }
    if (!MessagesOr(messages_).AskYesNo(MessageIcon::Warning, "Внимание",
                                        "Вы уверены что хотите удалить шаблон видимости?")) {
        return;
    }
    const QString name = TemplateLineName(templateList_[row]);
    Write([&] { DeleteTemplate(*ini_, sectionName_, name); });
    ReloadList();
}

void VisibilityTemplatePanel::btnAddClick() {
    QStringList visible;
    DoNew(visible);
    if (visible.isEmpty()) {
        MessagesOr(messages_).Show(MessageIcon::Information, "Внимание",
                                   "Невозможно создать шаблон, поскольку нет видимых каналов.");
        return;
    }
    if (ini_ == nullptr) {
        return;
    }
    TemplateNameDialog dialog(this, messages_);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const QString name = dialog.edt()->text();
    Write([&] { WriteTemplate(*ini_, sectionName_, name, visible); });
    ReloadList();
}

void VisibilityTemplatePanel::ReloadList() {
    templateList_ = ReadTemplateList(*ini_, sectionName_);
    FillList();
}

}  // namespace faultscope
