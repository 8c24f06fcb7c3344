#include "gui/dialogs/custom_series_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/formula/formula_channel.h"
#include "core/settings/ini_store.h"
#include "core/settings/settings_error.h"
#include "core/viewtemplate/create_new_chart.h"
#include "core/viewtemplate/formula_channel_host.h"
#include "core/viewtemplate/formula_check.h"
#include "core/viewtemplate/tamplate.h"
#include "core/viewtemplate/view_sections.h"
#include "gui/dialogs/custom_series_name_dialog.h"
#include "gui/dialogs/message_boxes.h"
#include "gui/dialogs/new_function_dialog.h"
#include "gui/views/analog_strip.h"
#include "gui/views/analog_strip_list.h"

namespace faultscope {
namespace {

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

TfrmCustomSeries::TfrmCustomSeries(QWidget* owner, TAFrameList* aChtList,
                                   FormulaChannelHost* addNewCht, IniStore* settings)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      FrmStoreg(settings, kSection, "frmCustomSeries", PlacementOptions::All()),
      settings_(settings),
      fAddNewCht(addNewCht),
      fAChartAr(kSlots),
      slotStrips_(kSlots, nullptr),
      fAChtList(aChtList) {
    setObjectName("frmCustomSeries");
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
    setFixedSize(498, 504);

    Inp.SetOnGetValue([this](const TInterpreterProgram* sender, std::string_view identifier,
                             Variant& value, const TInterpreterArgs& args, bool& done) {
        CalckValue(fAChartAr, sender, identifier, value, args, done);
    });
    if (fAChtList == nullptr) {
        return;
    }
    for (TAFrame1* strip : fAChtList->ChtList()) {
        for (QComboBox* list : cbbSeries_) {
            list->addItem(QString::fromStdString(strip->Info().ch_id),
                          QVariant::fromValue(static_cast<void*>(strip)));
        }
    }
    if (!fAChtList->ChtList().empty()) {
        for (QComboBox* list : cbbSeries_) {
            list->setCurrentIndex(0);
        }
        fList = DecodeFuncList(FrmStoreg.ReadString(kFuncList));
        listRead_ = true;
    }
    LoadFunctions();
}

TfrmCustomSeries::~TfrmCustomSeries() {
    FormDestroy();
}

void TfrmCustomSeries::BuildLeft(QWidget* pnlLeft) {
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
    cbbFunction_->setObjectName("cbbFunction");
    connect(cbbFunction_, &QComboBox::activated, this, &TfrmCustomSeries::cbbFunctionSelect);
    pnlFunction->layout()->addWidget(lblFunction);
    pnlFunction->layout()->addWidget(cbbFunction_);
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
    connect(btnNewFunction_, &QPushButton::clicked, this, &TfrmCustomSeries::btnNewFunctionClick);
    connect(btnEditFunction_, &QPushButton::clicked, this, &TfrmCustomSeries::btnEditFunctionClick);
    connect(btnDeleteFunction_, &QPushButton::clicked, this,
            &TfrmCustomSeries::btnDeleteFunctionClick);
    column->addWidget(pnlSeries);
    column->addWidget(pnlFunction);
    column->addStretch(1);
    column->addWidget(pnlFunctionBtn);
}

void TfrmCustomSeries::BuildRight(QWidget* pnlRight) {
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
    connect(btnOk_, &QPushButton::clicked, this, &TfrmCustomSeries::btnOkClick);
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmCustomSeries::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (restored_) {
        return;
    }
    restored_ = true;
    const WindowPlacement placement = FrmStoreg.RestorePlacement({geometry(), WindowState::Normal});
    move(placement.rect.topLeft());
    for (QComboBox* list : cbbSeries_) {
        const int index = FrmStoreg.ReadInteger(ItemIndexKey(list->objectName()), -1);
        if (index >= 0 && index < list->count()) {
            list->setCurrentIndex(index);
        }
    }
    const int function = FrmStoreg.ReadInteger(ItemIndexKey("cbbFunction"), -1);
    if (function >= 0 && function < cbbFunction_->count()) {
        cbbFunction_->setCurrentIndex(function);
    }
    FrmStoregAfterRestorePlacement();
}

void TfrmCustomSeries::FrmStoregAfterRestorePlacement() {
    for (int slot = 0; slot < kSlots; ++slot) {
        cbbSeriesSelect(slot);
    }
    cbbFunctionSelect();
}

void TfrmCustomSeries::cbbSeriesSelect(int slot) {
    const QComboBox* list = cbbSeries_[static_cast<std::size_t>(slot)];
    auto* strip = static_cast<TAFrame1*>(list->currentData().value<void*>());
    slotStrips_[static_cast<std::size_t>(slot)] = strip;
    fAChartAr[static_cast<std::size_t>(slot)] =
        strip != nullptr ? FormulaSlot{strip->Columns(), &strip->Info()} : FormulaSlot{};
    ShowFault();
}

void TfrmCustomSeries::cbbFunctionSelect() {
    if (cbbFunction_->currentText().isEmpty()) {
        return;
    }
    cbbFunction_->setToolTip(cbbFunction_->currentText());
    mmBody_->clear();
    mmAngle_->clear();
    const int entry = cbbFunction_->currentData().toInt();
    const TFuncInfo info = GetFuncInfo(fList.value(entry));
    mmBody_->setPlainText(info.FormulaValue);
    mmAngle_->setPlainText(info.FormulaAngle);
    lblDescriptionInfo_->setText(info.FormulaDescription);
    ShowFault();
}

void TfrmCustomSeries::LoadFunctions() {
    const int selected = cbbFunction_->currentIndex();
    cbbFunction_->clear();
    if (fList.isEmpty()) {
        cbbFunction_->setPlaceholderText(kNoFunctions);
        cbbFunction_->setToolTip(kNoFunctions);
    }
    fList.removeIf([](const QString& entry) { return FuncName(entry).isEmpty(); });
    for (qsizetype i = 0; i < fList.size(); ++i) {
        cbbFunction_->addItem(FuncName(fList[i]), static_cast<int>(i));
    }
    const int wanted = selected >= 0 ? selected : 0;
    if (wanted < cbbFunction_->count()) {
        cbbFunction_->setCurrentIndex(wanted);
        cbbFunctionSelect();
    } else if (cbbFunction_->count() == 0) {
        mmBody_->clear();
        mmAngle_->clear();
        lblDescriptionInfo_->clear();
    }
    btnDeleteFunction_->setEnabled(cbbFunction_->count() > 0);
    btnEditFunction_->setEnabled(cbbFunction_->count() > 0);
    ShowFault();
}

void TfrmCustomSeries::ShowFault() {
    const QString value = mmBody_->toPlainText();
    QString fault = value.trimmed().isEmpty() ? QString() : FormulaFault(value);
    if (fault.isEmpty()) {
        fault = FormulaFault(mmAngle_->toPlainText(), FormulaKind::Angle);
    }
    lblFault_->setText(fault);
    const bool slot1 = !fAChartAr.front().Empty();
    btnOk_->setEnabled(slot1 && !value.trimmed().isEmpty() && fault.isEmpty());
}

void TfrmCustomSeries::btnNewFunctionClick() {
    TfrmNewFunction dialog(this, &fList);
    dialog.SetMode(TMode::iNew);
    if (dialog.exec() == QDialog::Accepted) {
        LoadFunctions();
    }
}

void TfrmCustomSeries::btnEditFunctionClick() {
    TfrmNewFunction dialog(this, &fList);
    dialog.edtName()->setText(cbbFunction_->currentText());
    dialog.edtName()->setReadOnly(true);
    dialog.mmBody()->setPlainText(mmBody_->toPlainText());
    dialog.mmAngle()->setPlainText(mmAngle_->toPlainText());
    dialog.mmDescription()->setPlainText(lblDescriptionInfo_->text());
    dialog.SetMode(TMode::iEdit);
    if (dialog.exec() == QDialog::Accepted) {
        LoadFunctions();
    }
}

void TfrmCustomSeries::btnDeleteFunctionClick() {
    const int entry = cbbFunction_->currentData().toInt();
    if (cbbFunction_->currentIndex() < 0 || entry < 0 || entry >= fList.size()) {
        return;
    }
    fList.removeAt(entry);
    LoadFunctions();
}

void TfrmCustomSeries::btnOkClick() {
    TfrmCustomSeriesName ask(this);
    if (ask.exec() == QDialog::Accepted) {
        CreateChannel(ask.edt()->text());
    }
    accept();
}

void TfrmCustomSeries::CreateChannel(const QString& name) {
    if (name.isEmpty()) {
        ShowMessageBox(this, MessageIcon::Information, "Внимание",
                       "Имя графика не может быть пустым.");
        return;
    }
    if (IsReservedName(name)) {
        ShowMessageBox(this, MessageIcon::Information, "Внимание",
                       "Имя \"" + name.trimmed() +
                           "\" занято файлом вида осциллограммы. Задайте другое имя графика.");
        return;
    }
    if (fAddNewCht == nullptr || fAChartAr.front().Empty()) {
        return;
    }
    const TAnalog info =
        FormulaChannelInfo(*fAChartAr.front().info, name.toStdString(),
                           static_cast<std::uint32_t>(fAChtList->ChtList().size() + 1));
    const QString value = mmBody_->toPlainText().trimmed();
    const QString angle = mmAngle_->toPlainText().trimmed();
    if (!CreateNewChart(info, Inp, value.toStdString(), angle.toStdString(), *fAddNewCht,
                        BoxMessages(this))) {
        return;
    }
    if (fTamplate == nullptr) {
        return;
    }
    QStringList names;
    for (const TAFrame1* strip : slotStrips_) {
        names.push_back(strip != nullptr ? QString::fromStdString(strip->Info().ch_id) : QString());
    }
    fTamplate->SaveCreateChart(names, info, value, angle);
    fTamplate->SaveAnalogChanelView();
}

void TfrmCustomSeries::FormDestroy() {
    if (settings_ == nullptr) {
        return;
    }
    if (listRead_) {
        FrmStoreg.WriteString(kFuncList, EncodeFuncList(fList));
    }
    FrmStoreg.StorePlacement({geometry(), WindowState::Normal});
    for (const QComboBox* list : cbbSeries_) {
        FrmStoreg.WriteInteger(ItemIndexKey(list->objectName()), list->currentIndex());
    }
    FrmStoreg.WriteInteger(ItemIndexKey("cbbFunction"), cbbFunction_->currentIndex());
    try {
        settings_->UpdateFile();
    } catch (const SettingsError& e) {
        qWarning("%s", e.what());
    }
}

}  // namespace faultscope
