#include "gui/dialogs/channel_visibility_window.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/record/channel_data.h"
#include "core/settings/ini_store.h"
#include "core/settings/settings_error.h"
#include "core/viewtemplate/cut_brackets.h"
#include "core/viewtemplate/template_store.h"
#include "core/viewtemplate/view_template.h"
#include "gui/dialogs/series_color_row.h"
#include "gui/dialogs/series_color_rows.h"
#include "gui/dialogs/visibility_template_panel.h"
#include "gui/views/analog_strip.h"
#include "gui/views/analog_strip_list.h"
#include "gui/views/discrete_strip.h"
#include "gui/views/discrete_strip_list.h"
#include "gui/views/strip_view_lists.h"
#include "gui/widgets/dual_list_box.h"

namespace faultscope {
namespace {

constexpr QSize kClientSize(450, 345);
constexpr int kBottomPanelHeight = 70;
constexpr int kFontPixelHeight = 11;
constexpr int kTemplateListWidth = 193;
// Where the window first opens inside its owner.
constexpr QPoint kFirstPlace(0, 25);

QString PageKey() {
    return FormStateStore::PropertyKey("pgc", "ActivePage");
}

QString WidthKey(const QWidget& frame) {
    return FormStateStore::PropertyKey(frame.objectName(), "Width");
}

// The visibility of every strip of a list as the dual list says, in the list's own order of
// strips; a strip in neither list keeps its visibility.
template <typename Strip>
std::vector<bool> VisibilityFrom(const DualListBox& dual, const std::vector<Strip*>& strips) {
    std::unordered_map<const void*, bool> shown;
    for (const auto& [list, visible] : {std::pair{dual.Left(), true}, {dual.Right(), false}}) {
        for (int i = 0; i < list->count(); ++i) {
            shown[DualListBox::StripOf(list->item(i))] = visible;
        }
    }
    std::vector<bool> visible(strips.size(), false);
    for (std::size_t i = 0; i < strips.size(); ++i) {
        if (strips[i] == nullptr) {
            continue;
        }
        const auto it = shown.find(strips[i]);
        visible[i] = it != shown.end() ? it->second : !strips[i]->isHidden();
    }
    return visible;
}

}  // namespace

ChannelVisibilityWindow::ChannelVisibilityWindow(IniStore* settings, QWidget* owner,
                                                 MessageSink* messages)
    : QWidget(owner, Qt::Tool),
      settings_(settings),
      formStates_(settings, kSection, kSection, PlacementOptions::All()) {
    messages_ = messages;
    setObjectName(kSection);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Настройка видимости каналов");
    QFont tahoma("Tahoma");
    tahoma.setPixelSize(kFontPixelHeight);
    setFont(tahoma);
    resize(kClientSize);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    pgc_ = new QTabWidget(this);
    pgc_->setObjectName("pgc");
    layout->addWidget(pgc_);
    QWidget* analog = BuildListPage(Strips::Analog);
    analog->setObjectName("tsAChl");
    pgc_->addTab(analog, "Аналоговые");
    QWidget* discrete = BuildListPage(Strips::Discrete);
    discrete->setObjectName("tsDChl");
    pgc_->addTab(discrete, "Дискретные");
    pgc_->addTab(BuildColorPage(), "Цвет графиков");
}

ChannelVisibilityWindow::~ChannelVisibilityWindow() {
    StoreState();
}

QWidget* ChannelVisibilityWindow::BuildListPage(Strips kind) {
    const bool analog = kind == Strips::Analog;
    auto* page = new QWidget(pgc_);
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(2, 2, 2, 2);
    auto* splitter = new QSplitter(Qt::Horizontal, page);
    splitter->setObjectName(analog ? "spl" : "splD");
    splitter->setChildrenCollapsible(false);
    auto* dual = new DualListBox(
        analog ? "Видимость аналоговых каналов" : "Видимость дискретных каналов", splitter);
    dual->setObjectName(analog ? "lstDualA" : "lstDualD");
    splitter->addWidget(dual);
    (analog ? ATemplateLst_ : DTemplateLst_) = BuildTemplateList(kind, splitter);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    column->addWidget(splitter, 1);
    column->addWidget(BuildBottomPanel(kind, page));
    (analog ? lstDualA_ : lstDualD_) = dual;
    (analog ? spl_ : splD_) = splitter;
    connect(dual, &DualListBox::listsChanged, this, [this, kind] {
        if (kind == Strips::Discrete) {
            SortBox(kind);
        }
        ApplyVisible(kind);
    });
    return page;
}

VisibilityTemplatePanel* ChannelVisibilityWindow::BuildTemplateList(Strips kind,
                                                                    QSplitter* splitter) {
    const bool analog = kind == Strips::Analog;
    auto* frame = new VisibilityTemplatePanel(settings_, splitter, messages_);
    frame->setObjectName(analog ? kAnalogTemplateSection : kDigitalTemplateSection);
    frame->SetSectionName(frame->objectName());
    frame->SetOnApply([this, kind](VisibilityTemplatePanel*, const QStringList& names) {
        TemplateApply(kind, names);
    });
    frame->SetOnNew([this, kind](VisibilityTemplatePanel*, QStringList& visible) {
        visible.append(TemplateNew(kind));
    });
    frame->SetChannels(analog ? TemplateKind::tcAnalog : TemplateKind::tcDigital);
    frame->LoadList();
    frame->resize(kTemplateListWidth, frame->height());
    splitter->addWidget(frame);
    splitter->setSizes({kClientSize.width() - kTemplateListWidth, kTemplateListWidth});
    return frame;
}

QWidget* ChannelVisibilityWindow::BuildColorPage() {
    auto* page = new QWidget(pgc_);
    page->setObjectName("tsColor");
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    sb_ = new QScrollArea(page);
    sb_->setObjectName("sb");
    sb_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sb_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    sb_->verticalScrollBar()->setTracking(true);
    sb_->setWidgetResizable(true);
    colorRows_ = new SeriesColorRows;
    colorRows_->setObjectName("sbRows");
    colorRows_->setAutoFillBackground(true);
    QPalette white = colorRows_->palette();
    white.setColor(QPalette::Window, Qt::white);
    colorRows_->setPalette(white);
    sb_->setWidget(colorRows_);
    layout->addWidget(sb_);
    return page;
}

QWidget* ChannelVisibilityWindow::BuildBottomPanel(Strips kind, QWidget* page) {
    const bool analog = kind == Strips::Analog;
    auto* panel = new QWidget(page);
    panel->setObjectName(analog ? "pnlABottom" : "pnlDBottom");
    panel->setFixedHeight(kBottomPanelHeight);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);

    auto* sortBox = new QGroupBox("Сортировка", panel);
    sortBox->setObjectName(analog ? "rgSortA" : "rgSortD");
    auto* sortColumn = new QVBoxLayout(sortBox);
    auto* group = new QButtonGroup(sortBox);
    for (const auto& [id, text] :
         {std::pair{kSortByName, "По имени"}, {kSortDefault, "По умолчанию"}}) {
        auto* radio = new QRadioButton(text, sortBox);
        sortColumn->addWidget(radio);
        group->addButton(radio, id);
    }
    connect(group, &QButtonGroup::idClicked, this, [this, kind](int id) { SortStrips(kind, id); });
    row->addWidget(sortBox);

    auto* heightBox = new QGroupBox("Высота каналов:", panel);
    heightBox->setObjectName(analog ? "grpHeigth" : "grpDHeight");
    auto* heightRow = new QHBoxLayout(heightBox);
    auto* spin = new QSpinBox(heightBox);
    spin->setObjectName(analog ? "seA" : "seD");
    spin->setRange(1, 999);  // at most three digits
    auto* apply = new QPushButton("Применить", heightBox);
    apply->setObjectName(analog ? "btnAHApply" : "btnDHApply");
    apply->setAutoDefault(true);
    apply->setDefault(true);
    heightRow->addWidget(spin);
    heightRow->addWidget(apply);
    connect(apply, &QPushButton::clicked, this, [this, kind] { ApplyHeight(kind); });
    // The window is no dialog, so its default button does not hear Enter: the field says it.
    if (auto* text = spin->findChild<QLineEdit*>()) {
        connect(text, &QLineEdit::returnPressed, this, [this, kind] { ApplyHeight(kind); });
    }
    row->addWidget(heightBox);
    row->addStretch(1);

    if (analog) {
        rgSortA_ = group;
        seA_ = spin;
        btnAHApply_ = apply;
    } else {
        rgSortD_ = group;
        seD_ = spin;
        btnDHApply_ = apply;
        btnOnlyChanged_ = new QPushButton("Только сработавшие", panel);
        btnOnlyChanged_->setObjectName("btnOnlyChanged");
        btnOnlyChanged_->setToolTip("Показать только каналы, менявшие состояние");
        btnOnlyChanged_->setAutoDefault(false);
        connect(btnOnlyChanged_, &QPushButton::clicked, this,
                &ChannelVisibilityWindow::ShowOnlyChanged);
        row->addWidget(btnOnlyChanged_, 0, Qt::AlignBottom);
    }
    return panel;
}

void ChannelVisibilityWindow::Init(AnalogStripList* aList, DiscreteStripList* dList) {
    analogStrips_ = aList;
    discreteStrips_ = dList;
    aViews_ = std::make_unique<AnalogStripViews>(aList);
    dViews_ = std::make_unique<DiscreteStripViews>(dList);
    if (analogStrips_ != nullptr && !analogStrips_->DisplayList().empty()) {
        seA_->setValue(analogStrips_->DisplayList().front()->height());
    }
    if (discreteStrips_ != nullptr && !discreteStrips_->DisplayList().empty()) {
        seD_->setValue(discreteStrips_->DisplayList().front()->height());
    }
    FillAList();
    FillDList();
}

void ChannelVisibilityWindow::FillAList() {
    FillList(Strips::Analog);
}

void ChannelVisibilityWindow::FillDList() {
    FillList(Strips::Discrete);
}

void ChannelVisibilityWindow::FillList(Strips kind) {
    DualListBox* dual = DualOf(kind);
    dual->Clear();
    if (kind == Strips::Analog) {
        colorRows_->Clear();
    }
    const auto add = [dual](const auto& strips) {
        for (auto* strip : strips) {
            dual->AddItem(QString::fromStdString(strip->Info().ch_id), strip, strip->Tag(),
                          !strip->isHidden());
        }
    };
    if (kind == Strips::Analog && analogStrips_ != nullptr) {
        add(analogStrips_->DisplayList());
        for (AnalogStrip* strip : analogStrips_->DisplayList()) {
            AddColorItem(strip);
        }
    } else if (kind == Strips::Discrete && discreteStrips_ != nullptr) {
        add(discreteStrips_->DisplayList());
    }
    if (dual->Left()->count() > 0) {
        dual->Left()->setCurrentRow(0);
    }
}

SeriesColorRow* ChannelVisibilityWindow::AddColorItem(AnalogStrip* strip) {
    return colorRows_->AddColorItem(strip);
}

void ChannelVisibilityWindow::ApplyDVisible() {
    ApplyVisible(Strips::Discrete);
}

void ChannelVisibilityWindow::ApplyVisible(Strips kind) {
    if (kind == Strips::Analog && analogStrips_ != nullptr) {
        aViews_->SetVisibility(VisibilityFrom(*lstDualA_, analogStrips_->ChtList()));
        if (template_ != nullptr) {
            template_->SaveAnalogChannelView();
        }
    } else if (kind == Strips::Discrete && discreteStrips_ != nullptr) {
        dViews_->SetVisibility(VisibilityFrom(*lstDualD_, discreteStrips_->ChtList()));
        if (template_ != nullptr) {
            template_->SaveDiscreteChannelView();
        }
    }
}

void ChannelVisibilityWindow::SortBox(Strips kind) {
    DualListBox::SortByTag(*DualOf(kind)->Left());
    DualListBox::SortByTag(*DualOf(kind)->Right());
}

void ChannelVisibilityWindow::TemplateApply(Strips kind, const QStringList& names) {
    DualListBox* dual = DualOf(kind);
    // Which item a name picks depends on the order: the hidden list first, then the shown one.
    std::vector<const QListWidgetItem*> items;
    QStringList texts;
    for (const QListWidget* list :
         {static_cast<QListWidget*>(dual->Right()), static_cast<QListWidget*>(dual->Left())}) {
        for (int i = 0; i < list->count(); ++i) {
            items.push_back(list->item(i));
            texts << list->item(i)->text();
        }
    }
    const std::vector<bool> shown = MatchTemplateNames(texts, names);
    std::unordered_set<const QListWidgetItem*> chosen;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (shown[i]) {
            chosen.insert(items[i]);
        }
    }
    dual->Regroup([&chosen](const QListWidgetItem& item) { return chosen.contains(&item); });
    ApplyVisible(kind);
}

QStringList ChannelVisibilityWindow::TemplateNew(Strips kind) const {
    const QListWidget* left = DualOf(kind)->Left();
    QStringList names;
    for (int i = 0; i < left->count(); ++i) {
        names << CutBrackets(left->item(i)->text());
    }
    return names;
}

void ChannelVisibilityWindow::ShowOnlyChanged() {
    if (discreteStrips_ == nullptr) {
        return;
    }
    const double start = recordStartMs_;
    lstDualD_->Regroup([start](const QListWidgetItem& item) {
        const auto* strip = static_cast<const DiscreteStrip*>(DualListBox::StripOf(&item));
        return strip->Columns() != nullptr && ChangesState(*strip->Columns(), start);
    });
    ApplyDVisible();
}

void ChannelVisibilityWindow::SortStrips(Strips kind, int method) {
    if (method != kSortByName && method != kSortDefault) {
        throw std::invalid_argument("Ошибка выбора метода сортировки");
    }
    if (kind == Strips::Analog && analogStrips_ != nullptr) {
        method == kSortByName ? analogStrips_->SortDisplayList()
                              : analogStrips_->SortDisplayListDefault();
        analogStrips_->RestackStrips();
        FillAList();
    } else if (kind == Strips::Discrete && discreteStrips_ != nullptr) {
        method == kSortByName ? discreteStrips_->SortDisplayList()
                              : discreteStrips_->SortDisplayListDefault();
        discreteStrips_->RestackStrips();
        FillDList();
    }
}

void ChannelVisibilityWindow::ApplyHeight(Strips kind) {
    if (kind == Strips::Analog && analogStrips_ != nullptr) {
        for (AnalogStrip* strip : analogStrips_->DisplayList()) {
            strip->SetHeight(seA_->value());
        }
    } else if (kind == Strips::Discrete && discreteStrips_ != nullptr) {
        for (DiscreteStrip* strip : discreteStrips_->DisplayList()) {
            strip->SetHeight(seD_->value());
        }
    }
}

void ChannelVisibilityWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FormShow();
}

void ChannelVisibilityWindow::FormShow() {
    QWidget* owner = parentWidget();
    if (owner == nullptr) {
        return;
    }
    QRect rect(kFirstPlace, size());
    if (!placed_) {
        placed_ = true;
        // The placement is kept relative to the owner, so the window opens inside it again.
        rect = formStates_.RestorePlacement({rect, WindowState::Normal}).rect;
        resize(rect.size());
        RestoreTemplateWidth(spl_, ATemplateLst_);
        RestoreTemplateWidth(splD_, DTemplateLst_);
        const QString page = formStates_.ReadString(PageKey());
        if (auto* stored = pgc_->findChild<QWidget*>(page); !page.isEmpty() && stored != nullptr) {
            pgc_->setCurrentWidget(stored);
        }
    } else {
        rect.moveTopLeft(owner->mapFromGlobal(pos()));
    }
    QPoint place = rect.topLeft();
    if (place.x() + width() > owner->width()) {
        place.setX(owner->width() - width());
    }
    if (place.y() + height() > owner->height()) {
        place.setY(owner->height() - height());
    }
    place.setX(std::max(place.x(), 0));
    place.setY(std::max(place.y(), 0));
    move(owner->mapToGlobal(place));
}

void ChannelVisibilityWindow::RestoreTemplateWidth(QSplitter* splitter,
                                                   const VisibilityTemplatePanel* frame) {
    const int width = formStates_.ReadInteger(WidthKey(*frame), kTemplateListWidth);
    const int total = std::max(splitter->width(), width + 1);
    splitter->setSizes({total - width, width});
}

void ChannelVisibilityWindow::closeEvent(QCloseEvent* event) {
    StoreState();
    QWidget::closeEvent(event);
}

void ChannelVisibilityWindow::StoreState() {
    if (stored_ || settings_ == nullptr || !placed_) {
        return;
    }
    stored_ = true;
    QRect rect = geometry();
    if (const QWidget* owner = parentWidget()) {
        rect.moveTopLeft(owner->mapFromGlobal(pos()));
    }
    formStates_.StorePlacement({rect, WindowState::Normal});
    formStates_.WriteString(PageKey(), pgc_->currentWidget()->objectName());
    for (const VisibilityTemplatePanel* frame : {ATemplateLst_, DTemplateLst_}) {
        formStates_.WriteInteger(WidthKey(*frame), frame->width());
    }
    try {
        settings_->UpdateFile();
    } catch (const SettingsError& e) {
        qWarning("%s", e.what());
    }
}

}  // namespace faultscope
