#include "gui/dialogs/formula_channel_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>
#include <utility>

#include "core/formula/formula_channel.h"
#include "core/settings/ini_store.h"
#include "core/settings/settings_error.h"
#include "core/viewtemplate/formula_channel_host.h"
#include "core/viewtemplate/formula_check.h"
#include "core/viewtemplate/make_formula_channel.h"
#include "core/viewtemplate/view_sections.h"
#include "core/viewtemplate/view_template.h"
#include "gui/dialogs/formula_channel_name_dialog.h"
#include "gui/dialogs/function_editor_dialog.h"
#include "gui/views/analog_strip.h"
#include "gui/views/analog_strip_list.h"
#include "gui/widgets/message_boxes.h"

namespace faultscope {
namespace {

// The dialog's section and a control whose choice the settings keep.
constexpr char kFrmCustomSeriesKey[] = "frmCustomSeries";
constexpr char kCbbFunction[] = "cbbFunction";

constexpr char kNoFunctions[] = "Нет сохраненных функций";
constexpr char kFuncList[] = "FuncList";

QString ItemIndexKey(const QString& control) {
    return FormStateStore::PropertyKey(control, "ItemIndex");
}

QWidget* Group(const char* name, QWidget* parent) {
    auto* group = new QWidget(parent);
    group->setObjectName(name);
    group->setAttribute(Qt::WA_StyledBackground);
    group->setStyleSheet(QString("#%1 { background: #eef4fb; border: 1px solid #b0c4de; }")
                             .arg(QLatin1String(name)));
    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    return group;
}

QPlainTextEdit* ReadOnlyMemo(const char* name, QWidget* parent) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(name);
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    return memo;
}

// A formula channel named like a section of the template file would overwrite that section.
bool IsReservedName(const QString& name) {
    for (const char* section : {kAnalogViewSection, kDiscreteViewSection, kChartCreateSection}) {
        if (name.trimmed().compare(QLatin1String(section), Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

FormulaChannelDialog::FormulaChannelDialog(QWidget* owner, AnalogStripList* aChtList,
                                           FormulaChannelHost* addNewCht, IniStore* settings,
                                           MessageSink* messages)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      formStates_(settings, kSection, kFrmCustomSeriesKey, PlacementOptions::All()),
      settings_(settings),
      formulaHost_(addNewCht),
      formulaSlots_(kSlots),
      slotStrips_(kSlots, nullptr),
      analogStrips_(aChtList) {
    messages_ = messages;
    setObjectName(kFrmCustomSeriesKey);
    setWindowTitle("Создать график");
    QFont font("Verdana");
    font.setPixelSize(15);
    setFont(font);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* pnlLeft = new QWidget(this);
    pnlLeft->setObjectName("pnlLeft");
    pnlLeft->setFixedWidth(190);
    auto* pnlRight = new QWidget(this);
    pnlRight->setObjectName("pnlRight");
    BuildLeft(pnlLeft);
    BuildRight(pnlRight);
    layout->addWidget(pnlLeft);
    layout->addWidget(pnlRight, 1);
    setFixedSize(498, 550);

    program_.SetOnGetValue([this](const FormulaProgram* sender, std::string_view identifier,
                                  Variant& value, const FormulaArguments& args, bool& done) {
        CalcValue(formulaSlots_, sender, identifier, value, args, done);
    });
    if (analogStrips_ == nullptr) {
        return;
    }
    for (AnalogStrip* strip : analogStrips_->ChtList()) {
        for (QComboBox* list : cbbSeries_) {
            list->addItem(QString::fromStdString(strip->Info().ch_id),
                          QVariant::fromValue(static_cast<void*>(strip)));
        }
    }
    if (!analogStrips_->ChtList().empty()) {
        for (QComboBox* list : cbbSeries_) {
            list->setCurrentIndex(0);
        }
        const QString stored = formStates_.ReadString(kFuncList);
        if (std::optional<QStringList> read = DecodeFuncList(stored)) {
            functions_ = std::move(*read);
            listRead_ = true;
        } else {
            // Written back, the list would be lost for good: the stored text stays as it is.
            MessagesOr(messages_).Show(MessageIcon::Warning, "Внимание",
                                       "Список сохранённых функций не удалось прочитать. Он "
                                       "останется в настройках без изменений, а функции, "
                                       "созданные сейчас, не сохранятся.");
        }
    }
    LoadFunctions();
}

FormulaChannelDialog::~FormulaChannelDialog() {
    FormDestroy();
}

void FormulaChannelDialog::BuildLeft(QWidget* pnlLeft) {
    auto* column = new QVBoxLayout(pnlLeft);
    column->setContentsMargins(0, 0, 0, 0);
    QWidget* pnlSeries = Group("pnlSeries", pnlLeft);
    auto* lblSeries =
        new QLabel("Выберети графики на\nоснове которых надо\nсоздать новый:", pnlSeries);
    lblSeries->setObjectName("lblSeries");
    pnlSeries->layout()->addWidget(lblSeries);
    for (int slot = 0; slot < kSlots; ++slot) {
        auto* list = new QComboBox(pnlSeries);
        list->setObjectName(QString("cbbSeries%1").arg(slot + 1));
        connect(list, &QComboBox::activated, this, [this, slot] { cbbSeriesSelect(slot); });
        cbbSeries_[static_cast<std::size_t>(slot)] = list;
        pnlSeries->layout()->addWidget(list);
    }
    QWidget* pnlFunction = Group("pnlFunction", pnlLeft);
    auto* lblFunction = new QLabel("Выберети или задайте\nфункцию для\nпостроения:", pnlFunction);
    lblFunction->setObjectName("lblFunction");
    cbbFunction_ = new QComboBox(pnlFunction);
    cbbFunction_->setObjectName(kCbbFunction);
    connect(cbbFunction_, &QComboBox::activated, this, &FormulaChannelDialog::cbbFunctionSelect);
    pnlFunction->layout()->addWidget(lblFunction);
    pnlFunction->layout()->addWidget(cbbFunction_);
    // The new channel's unit decides which strips it shares a value range with: an impedance
    // made from voltages is no voltage. It follows the first source until the user types one.
    QWidget* pnlUnit = Group("pnlUnit", pnlLeft);
    auto* lblUnit = new QLabel("Единица нового\nграфика:", pnlUnit);
    lblUnit->setObjectName("lblUnit");
    edtUnit_ = new QLineEdit(pnlUnit);
    edtUnit_->setObjectName("edtUnit");
    edtUnit_->setMaxLength(32);
    connect(edtUnit_, &QLineEdit::textEdited, this, [this] { unitTyped_ = true; });
    pnlUnit->layout()->addWidget(lblUnit);
    pnlUnit->layout()->addWidget(edtUnit_);
    QWidget* pnlFunctionBtn = Group("pnlFunctionBtn", pnlLeft);
    btnEditFunction_ = new QPushButton("Редактировать ф-ю", pnlFunctionBtn);
    btnEditFunction_->setObjectName("btnEditFunction");
    btnDeleteFunction_ = new QPushButton("Удалить ф-ю", pnlFunctionBtn);
    btnDeleteFunction_->setObjectName("btnDeleteFunction");
    btnNewFunction_ = new QPushButton("Новая ф-я", pnlFunctionBtn);
    btnNewFunction_->setObjectName("btnNewFunction");
    for (QPushButton* button : {btnEditFunction_, btnDeleteFunction_, btnNewFunction_}) {
        pnlFunctionBtn->layout()->addWidget(button);
    }
    btnEditFunction_->setEnabled(false);
    btnDeleteFunction_->setEnabled(false);
    connect(btnNewFunction_, &QPushButton::clicked, this,
            &FormulaChannelDialog::btnNewFunctionClick);
    connect(btnEditFunction_, &QPushButton::clicked, this,
            &FormulaChannelDialog::btnEditFunctionClick);
    connect(btnDeleteFunction_, &QPushButton::clicked, this,
            &FormulaChannelDialog::btnDeleteFunctionClick);
    column->addWidget(pnlSeries);
    column->addWidget(pnlFunction);
    column->addWidget(pnlUnit);
    column->addStretch(1);
    column->addWidget(pnlFunctionBtn);
}

void FormulaChannelDialog::BuildRight(QWidget* pnlRight) {
    auto* column = new QVBoxLayout(pnlRight);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    mmBody_ = ReadOnlyMemo("mmBody", pnlRight);
    mmAngle_ = ReadOnlyMemo("mmAngle", pnlRight);
    lblFault_ = new QLabel(pnlRight);
    lblFault_->setObjectName("lblFault");
    lblFault_->setWordWrap(true);
    lblFault_->setStyleSheet("color: #b00000;");
    column->addWidget(CaptionBar("Величина:", "pnlBody", pnlRight));
    column->addWidget(mmBody_, 2);
    column->addWidget(CaptionBar("Угол:", "pnlAngle", pnlRight));
    column->addWidget(mmAngle_, 1);
    column->addWidget(lblFault_);
    QWidget* pnlDescription = Group("pnlDescription", pnlRight);
    pnlDescription->layout()->addWidget(
        CaptionBar("Описание функции:", "pnlDescriptionCaption", pnlDescription));
    lblDescriptionInfo_ = new QLabel(pnlDescription);
    lblDescriptionInfo_->setObjectName("lblDescriptionInfo");
    lblDescriptionInfo_->setWordWrap(true);
    lblDescriptionInfo_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    static_cast<QVBoxLayout*>(pnlDescription->layout())->addWidget(lblDescriptionInfo_, 1);
    column->addWidget(pnlDescription, 2);
    column->addWidget(CreateCancelBar(pnlRight, 4, btnOk_, btnCancel_));
    connect(btnOk_, &QPushButton::clicked, this, &FormulaChannelDialog::btnOkClick);
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void FormulaChannelDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (restored_) {
        return;
    }
    restored_ = true;
    const WindowPlacement placement =
        formStates_.RestorePlacement({geometry(), WindowState::Normal});
    move(placement.rect.topLeft());
    for (QComboBox* list : cbbSeries_) {
        const int index = formStates_.ReadInteger(ItemIndexKey(list->objectName()), -1);
        if (index >= 0 && index < list->count()) {
            list->setCurrentIndex(index);
        }
    }
    const int function = formStates_.ReadInteger(ItemIndexKey(kCbbFunction), -1);
    if (function >= 0 && function < cbbFunction_->count()) {
        cbbFunction_->setCurrentIndex(function);
    }
    FormStatesAfterRestorePlacement();
}

void FormulaChannelDialog::FormStatesAfterRestorePlacement() {
    for (int slot = 0; slot < kSlots; ++slot) {
        cbbSeriesSelect(slot);
    }
    cbbFunctionSelect();
}

void FormulaChannelDialog::cbbSeriesSelect(int slot) {
    const QComboBox* list = cbbSeries_[static_cast<std::size_t>(slot)];
    auto* strip = static_cast<AnalogStrip*>(list->currentData().value<void*>());
    slotStrips_[static_cast<std::size_t>(slot)] = strip;
    formulaSlots_[static_cast<std::size_t>(slot)] =
        strip != nullptr ? FormulaSlot{strip->Columns(), &strip->Info()} : FormulaSlot{};
    if (slot == 0 && !unitTyped_) {
        edtUnit_->setText(strip != nullptr ? QString::fromStdString(strip->Info().uu).trimmed()
                                           : QString());
    }
    ShowFault();
}

void FormulaChannelDialog::cbbFunctionSelect() {
    if (cbbFunction_->currentText().isEmpty()) {
        return;
    }
    cbbFunction_->setToolTip(cbbFunction_->currentText());
    mmBody_->clear();
    mmAngle_->clear();
    const int entry = cbbFunction_->currentData().toInt();
    const SavedFunction info = GetFuncInfo(functions_.value(entry));
    mmBody_->setPlainText(info.FormulaValue);
    mmAngle_->setPlainText(info.FormulaAngle);
    lblDescriptionInfo_->setText(info.FormulaDescription);
    ShowFault();
}

void FormulaChannelDialog::LoadFunctions() {
    const int selected = cbbFunction_->currentIndex();
    cbbFunction_->clear();
    if (functions_.isEmpty()) {
        cbbFunction_->setPlaceholderText(kNoFunctions);
        cbbFunction_->setToolTip(kNoFunctions);
    }
    functions_.removeIf([](const QString& entry) { return FuncName(entry).isEmpty(); });
    for (qsizetype i = 0; i < functions_.size(); ++i) {
        cbbFunction_->addItem(FuncName(functions_[i]), static_cast<int>(i));
    }
    // The same place in the list, or its new last entry when the last one was deleted.
    if (const int count = cbbFunction_->count(); count > 0) {
        cbbFunction_->setCurrentIndex(std::clamp(selected, 0, count - 1));
        cbbFunctionSelect();
    } else {
        mmBody_->clear();
        mmAngle_->clear();
        lblDescriptionInfo_->clear();
    }
    btnDeleteFunction_->setEnabled(cbbFunction_->count() > 0);
    btnEditFunction_->setEnabled(cbbFunction_->count() > 0);
    ShowFault();
}

void FormulaChannelDialog::ShowFault() {
    const QString value = mmBody_->toPlainText();
    const bool slot1 = !formulaSlots_.front().Empty();
    // Over the chosen sources the formulas are tried on the first sample, as "Создать" runs them.
    FormulaProgram* trial =
        slot1 && formulaHost_ != nullptr && formulaHost_->SampleCount() > 0 ? &program_ : nullptr;
    QString fault =
        value.trimmed().isEmpty() ? QString() : FormulaFault(value, FormulaKind::Value, trial);
    if (fault.isEmpty()) {
        fault = FormulaFault(mmAngle_->toPlainText(), FormulaKind::Angle, trial);
    }
    lblFault_->setText(fault);
    btnOk_->setEnabled(slot1 && !value.trimmed().isEmpty() && fault.isEmpty());
}

void FormulaChannelDialog::btnNewFunctionClick() {
    FunctionEditorDialog dialog(this, &functions_, messages_);
    dialog.SetMode(FunctionEditMode::iNew);
    if (dialog.exec() == QDialog::Accepted) {
        LoadFunctions();
    }
}

void FormulaChannelDialog::btnEditFunctionClick() {
    FunctionEditorDialog dialog(this, &functions_, messages_);
    dialog.edtName()->setText(cbbFunction_->currentText());
    dialog.edtName()->setReadOnly(true);
    dialog.mmBody()->setPlainText(mmBody_->toPlainText());
    dialog.mmAngle()->setPlainText(mmAngle_->toPlainText());
    dialog.mmDescription()->setPlainText(lblDescriptionInfo_->text());
    dialog.SetMode(FunctionEditMode::iEdit);
    if (dialog.exec() == QDialog::Accepted) {
        LoadFunctions();
    }
}

void FormulaChannelDialog::btnDeleteFunctionClick() {
    const int entry = cbbFunction_->currentData().toInt();
    if (cbbFunction_->currentIndex() < 0 || entry < 0 || entry >= functions_.size()) {
        return;
    }
    functions_.removeAt(entry);
    LoadFunctions();
}

void FormulaChannelDialog::btnOkClick() {
    FormulaChannelNameDialog ask(this);
    if (ask.exec() == QDialog::Accepted) {
        CreateChannel(ask.edt()->text());
    }
    accept();
}

void FormulaChannelDialog::CreateChannel(const QString& name) {
    if (name.isEmpty()) {
        MessagesOr(messages_).Show(MessageIcon::Information, "Внимание",
                                   "Имя графика не может быть пустым.");
        return;
    }
    if (IsReservedName(name)) {
        MessagesOr(messages_).Show(
            MessageIcon::Information, "Внимание",
            "Имя \"" + name.trimmed() +
                "\" занято файлом вида осциллограммы. Задайте другое имя графика.");
        return;
    }
    if (formulaHost_ == nullptr || formulaSlots_.front().Empty()) {
        return;
    }
    AnalogChannel info =
        FormulaChannelInfo(*formulaSlots_.front().info, name.toStdString(),
                           static_cast<std::uint32_t>(analogStrips_->ChtList().size() + 1));
    info.uu = edtUnit_->text().trimmed().toStdString();
    const QString value = mmBody_->toPlainText().trimmed();
    const QString angle = mmAngle_->toPlainText().trimmed();
    if (!MakeFormulaChannel(info, program_, value.toStdString(), angle.toStdString(), *formulaHost_,
                            MessagesOr(messages_))) {
        return;
    }
    if (template_ == nullptr) {
        return;
    }
    QStringList names;
    for (const AnalogStrip* strip : slotStrips_) {
        names.push_back(strip != nullptr ? QString::fromStdString(strip->Info().ch_id) : QString());
    }
    template_->SaveCreateChart(names, info, value, angle);
    template_->SaveAnalogChannelView();
}

void FormulaChannelDialog::FormDestroy() {
    if (settings_ == nullptr) {
        return;
    }
    if (listRead_) {
        formStates_.WriteString(kFuncList, EncodeFuncList(functions_));
    }
    formStates_.StorePlacement({geometry(), WindowState::Normal});
    for (const QComboBox* list : cbbSeries_) {
        formStates_.WriteInteger(ItemIndexKey(list->objectName()), list->currentIndex());
    }
    formStates_.WriteInteger(ItemIndexKey(kCbbFunction), cbbFunction_->currentIndex());
    try {
        settings_->UpdateFile();
    } catch (const SettingsError& e) {
        qWarning("%s", e.what());
    }
}

}  // namespace faultscope
