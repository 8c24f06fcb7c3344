#include "gui/app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "core/record/harmonic_orders.h"
#include "gui/app/icons.h"
#include "gui/app/record_window.h"
#include "gui/app/window_fit.h"
#include "gui/document/record_document.h"
#include "gui/views/analog_strip_list.h"
#include "gui/views/label_color_pool.h"
#include "gui/widgets/message_boxes.h"

namespace faultscope {
namespace {

// The commands' names: kept in the settings and found by them.
constexpr char kActYCommonScale[] = "actYCommonScale";
constexpr char kAcOpen[] = "acOpen";
constexpr char kActYZoomIn[] = "actYZoomIn";
constexpr char kActYZoomOut[] = "actYZoomOut";
constexpr char kActYZoomReset[] = "actYZoomReset";
constexpr char kActPrint[] = "actPrint";
constexpr char kActExportPdf[] = "actExportPdf";
constexpr char kActCopyPicture[] = "actCopyPicture";
constexpr char kActCascade[] = "actCascade";
constexpr char kActTile[] = "actTile";
constexpr char kActXZoomIn[] = "actXZoomIn";
constexpr char kActXZoomOut[] = "actXZoomOut";
constexpr char kActXZoomReset[] = "actXZoomReset";
constexpr char kActXZoomBack[] = "actXZoomBack";
constexpr char kActRoundOscil[] = "actRoundOscil";
constexpr char kActRoundOscilCurentValue[] = "actRoundOscilCurentValue";
constexpr char kActAddCustomSeries[] = "actAddCustomSeries";
constexpr char kActAddTimeLabel[] = "actAddTimeLabel";
constexpr char kActChanelView[] = "actChanelView";
constexpr char kActDChangedOnly[] = "actDChangedOnly";
constexpr char kActAChanelView[] = "actAChanelView";
constexpr char kActDChanelView[] = "actDChanelView";
constexpr char kActEvents[] = "actEvents";
constexpr char kActSequence[] = "actSequence";
constexpr char kActImpedance[] = "actImpedance";
constexpr char kActFaultLocation[] = "actFaultLocation";
constexpr char kActSaveFragment[] = "actSaveFragment";
constexpr char kCbbCharPage[] = "cbbCharPage";

constexpr int kNoIcon = -1;
constexpr int kSnapDistance = 30;
// The folder of the record opened last, where the open dialog starts.
constexpr char kLastFolderKey[] = "LastFolder";

// Keeps a widget from showing a tool tip.
class ToolTipBlocker : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        return event->type() == QEvent::ToolTip || QObject::eventFilter(watched, event);
    }
};

}  // namespace

MainWindow::MainWindow(IniStore* settings, MessageSink* messages, const ColorTable* labelColors,
                       QWidget* parent)
    : QMainWindow(parent),
      store_(settings, "%FORM_NAME%", "frmMain"),
      settings_(settings),
      messages_(messages),
      labelColors_(std::make_shared<LabelColorPool>(labelColors)) {
    setObjectName("frmMain");
    QString caption = "Faultscope";
    if (!QCoreApplication::applicationVersion().isEmpty()) {
        caption += " v_" + QCoreApplication::applicationVersion();
    }
    setWindowTitle(caption);
    mdiArea_ = new QMdiArea(this);
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdiArea_);
    setMinimumSize(480, 320);
    setAcceptDrops(true);
    CreateActions();
    CreateMenus();
    CreateToolBar();
    lblGaps_ = new QLabel(statusBar());
    lblGaps_->setObjectName("lblGaps");
    // A long word is cut by the status bar rather than widening the window.
    lblGaps_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lblGaps_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblGaps_->hide();
    statusBar()->addPermanentWidget(lblGaps_, 1);
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &MainWindow::UpdateGapLabel);
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &MainWindow::UpdateBackAction);
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* activated) {
        // None is active while one of the tool windows has the focus: nothing changes then.
        if (activated != nullptr) {
            ShowActiveToolWindows();
        }
    });
    resize(1234, 531 + menuBar()->sizeHint().height() + 30);
    RestoreState();
}

MainWindow::~MainWindow() {
    // The area and the record windows die after this body; their signals (a window destroyed,
    // another one activated) must not reach a main window that is half destroyed.
    // A window whose frame has already closed is no longer listed but lives until its deferred
    // deletion: every record window is cut off, listed or not.
    mdiArea_->disconnect(this);
    for (RecordWindow* window : findChildren<RecordWindow*>()) {
        window->disconnect(this);
        window->Document()->disconnect(this);
    }
    // The frames say when they are hidden with the area.
    for (QMdiSubWindow* frame : findChildren<QMdiSubWindow*>()) {
        frame->disconnect(this);
    }
}

QAction* MainWindow::MakeAction(const char* name, const QString& caption, const QString& hint,
                                const QKeySequence& shortcut, int icon) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    action->setToolTip(hint.isEmpty() ? caption : hint);
    action->setStatusTip(hint);
    action->setShortcut(shortcut);
    if (icon != kNoIcon) {
        action->setIcon(MakeIcon(static_cast<CommandIcon>(icon)));
    }
    return action;
}

QAction* MainWindow::Action(const QString& name) const {
    return findChild<QAction*>(name);
}

void MainWindow::CreateActions() {
    using K = QKeySequence;
    connect(MakeAction(kAcOpen, "Открыть", "Открыть новую осцилограмму", K("Ctrl+O"), 0),
            &QAction::triggered, this, &MainWindow::OpenFromDialog);
    const auto command = [this](void (RecordDocument::*zoom)()) {
        return [this, zoom] { WithRecord([zoom](RecordWindow& w) { (w.Document()->*zoom)(); }); };
    };
    connect(
        MakeAction(kActYZoomIn, "Увеличить по Y", "Увеличить маштаб по оси Y", K("Ctrl+Alt+I"), 1),
        &QAction::triggered, this, command(&RecordDocument::YZoomIn));
    connect(
        MakeAction(kActYZoomOut, "Уменьшить по Y", "Уменьшить маштаб по оси Y", K("Ctrl+Alt+O"), 2),
        &QAction::triggered, this, command(&RecordDocument::YZoomOut));
    connect(MakeAction(kActYZoomReset, "Сбросить маштаб по Y", "Сбросить маштаб по оси Y",
                       K("Ctrl+Alt+R"), 3),
            &QAction::triggered, this, command(&RecordDocument::YZoomReset));
    connect(MakeAction(kActPrint, "Печать", "Печать", K("Ctrl+P"), 9), &QAction::triggered, this,
            [this] { WithRecord([](RecordWindow& w) { w.Print(); }); });
    connect(MakeAction(kActExportPdf, "Экспорт в PDF…", "Сохранить страницы осцилограммы в PDF", {},
                       kNoIcon),
            &QAction::triggered, this,
            [this] { WithRecord([](RecordWindow& w) { w.ExportPdf(); }); });
    connect(MakeAction(kActSaveFragment, "Сохранить фрагмент…",
                       "Сохранить видимый интервал или интервал метки как новую осциллограмму", {},
                       kNoIcon),
            &QAction::triggered, this,
            [this] { WithRecord([](RecordWindow& w) { w.SaveFragment(); }); });
    connect(MakeAction(kActCopyPicture, "Копировать как рисунок",
                       "Копировать осцилограмму в буфер обмена", {}, kNoIcon),
            &QAction::triggered, this,
            [this] { WithRecord([](RecordWindow& w) { w.CopyPicture(); }); });
    connect(MakeAction(kActCascade, "Каскадом", "Расположить окна каскадом", {}, kNoIcon),
            &QAction::triggered, this, &MainWindow::CascadeFrames);
    connect(MakeAction(kActTile, "Мозаикой", "Расположить окна мозаикой", {}, kNoIcon),
            &QAction::triggered, mdiArea_, &QMdiArea::tileSubWindows);
    QAction* common = MakeAction(kActYCommonScale, "Общий масштаб по Y",
                                 "Один масштаб по оси Y для каналов всех единиц", {}, kNoIcon);
    common->setCheckable(true);
    common->setChecked(true);
    connect(common, &QAction::toggled, this, [this](bool checked) {
        store_.WriteBool(FormStateStore::PropertyKey(kActYCommonScale, "Checked"), checked);
        for (const QMdiSubWindow* frame : mdiArea_->subWindowList()) {
            if (auto* window = qobject_cast<RecordWindow*>(frame->widget())) {
                ApplyCommonScale(*window);
            }
        }
    });
    connect(MakeAction(kActXZoomIn, "Увеличить по X", "Увеличить по оси X", {}, 1),
            &QAction::triggered, this, command(&RecordDocument::XZoomIn));
    connect(MakeAction(kActXZoomOut, "Уменьшить по X", "Уменьшить по оси X", {}, 2),
            &QAction::triggered, this, command(&RecordDocument::XZoomOut));
    connect(MakeAction(kActXZoomReset, "Сбросить маштаб по X", "Сбросить маштаб по оси X", {}, 3),
            &QAction::triggered, this, command(&RecordDocument::XZoomReset));
    QAction* back = MakeAction(kActXZoomBack, "Назад", {}, K(Qt::Key_Backspace),
                               static_cast<int>(CommandIcon::Back));
    back->setEnabled(false);
    connect(back, &QAction::triggered, this, command(&RecordDocument::XZoomBack));

    // Ctrl+Alt+R belongs to actYZoomReset alone: a key bound twice would do nothing.
    connect(MakeAction(kActRoundOscil, "Круговая диаграмма", "Добавить круговую диаграмму", {}, 7),
            &QAction::triggered, this,
            [this] { WithRecord([](RecordWindow& w) { w.AddPhasorDiagram(true); }); });
    connect(MakeAction(kActRoundOscilCurentValue, "Мгновенные значения", {}, {}, kNoIcon),
            &QAction::triggered, this,
            [this] { WithRecord([](RecordWindow& w) { w.AddPhasorDiagram(false); }); });
    connect(MakeAction(kActAddCustomSeries, "Создать график", "Создать новый график",
                       K("Ctrl+Alt+G"), static_cast<int>(CommandIcon::CustomSeries)),
            &QAction::triggered, this,
            [this] { WithRecord([](RecordWindow& w) { w.AddFormulaChannel(); }); });
    connect(MakeAction(kActAddTimeLabel, "Временная метка", "Добавить временную метку", {}, 10),
            &QAction::triggered, this,
            [this] { WithRecord([](RecordWindow& w) { w.AddTimeLabel(); }); });

    connect(MakeAction(kActEvents, "События", "Список срабатываний дискретных каналов", {},
                       static_cast<int>(CommandIcon::Events)),
            &QAction::triggered, this,
            [this] { WithRecord([](RecordWindow& w) { w.ShowEvents(); }); });
    connect(MakeAction(kActSequence, "Симметричные составляющие",
                       "Графики прямой, обратной и нулевой последовательностей", {}, kNoIcon),
            &QAction::triggered, this,
            [this] { WithRecord([](RecordWindow& w) { w.AddSequenceComponents(); }); });
    connect(MakeAction(kActImpedance, "Годограф сопротивления",
                       "Сопротивление петли на плоскости R-X", {}, kNoIcon),
            &QAction::triggered, this,
            [this] { WithRecord([](RecordWindow& w) { w.ShowImpedance(); }); });
    connect(MakeAction(kActFaultLocation, "Место повреждения",
                       "Вид повреждения и расстояние до него", {}, kNoIcon),
            &QAction::triggered, this,
            [this] { WithRecord([](RecordWindow& w) { w.ShowFaultLocation(); }); });
    connect(MakeAction(kActChanelView, "Видимость каналов", "Настройка видимости и высоты каналов",
                       K("Ctrl+Alt+V"), static_cast<int>(CommandIcon::ChannelView)),
            &QAction::triggered, this,
            [this] { WithRecord([](RecordWindow& w) { w.ChannelView(); }); });
    connect(MakeAction(kActDChangedOnly, "Только сработавшие",
                       "Показать только дискретные каналы, менявшие состояние", {}, kNoIcon),
            &QAction::triggered, this,
            [this] { WithRecord([](RecordWindow& w) { w.ShowChangedOnly(); }); });

    QAction* a = MakeAction(kActAChanelView, "Аналоговые", "Видимость аналоговых каналов",
                            K("Ctrl+Alt+A"), 4);
    QAction* d = MakeAction(kActDChanelView, "Дискретные", "Видимость дискретных каналов",
                            K("Ctrl+Alt+D"), 5);
    for (QAction* panel : {a, d}) {
        panel->setCheckable(true);
        panel->setChecked(true);
    }
    // The check marks show the panel last toggled; without a record window nothing changes.
    connect(a, &QAction::triggered, this, [this, a](bool checked) {
        a->setChecked(!checked);
        WithRecord([a](RecordWindow& w) {
            w.AnalogPanelView(!w.AnalogPanelVisible());
            a->setChecked(w.AnalogPanelVisible());
        });
    });
    connect(d, &QAction::triggered, this, [this, d](bool checked) {
        d->setChecked(!checked);
        WithRecord([d](RecordWindow& w) {
            w.SetDiscretePanelVisible(!w.DiscretePanelVisible());
            d->setChecked(w.DiscretePanelVisible());
        });
    });

    for (const int harmonic : kHarmonicOrders) {
        const QString number = QString::number(harmonic);
        QAction* action =
            MakeAction(qPrintable("actACht" + number),
                       "Действующие значение " + number + "-й гармоники", {}, {}, kNoIcon);
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, harmonic, action](bool checked) {
            WithRecord([harmonic, checked, action](RecordWindow& w) {
                w.Document()->ChtVisible(harmonic, checked);
                // A curve whose analysis was cancelled stays hidden, and the command says so.
                action->setChecked(w.Document()->ChtIsVisible(harmonic));
            });
        });
    }
}

void MainWindow::CreateMenus() {
    QMenu* file = menuBar()->addMenu("Файл");
    file->addAction(Action(kAcOpen));
    file->addAction(Action(kActPrint));
    file->addAction(Action(kActExportPdf));
    file->addAction(Action(kActSaveFragment));
    file->addAction(Action(kActCopyPicture));
    file->addSeparator();
    // Spelled out as a working command: an exit entry that does nothing only puzzles users.
    QAction* exit = file->addAction("Выход");
    exit->setObjectName("actExit");
    connect(exit, &QAction::triggered, this, &QWidget::close);

    windowMenu_ = menuBar()->addMenu("Вид");
    windowMenu_->addAction(Action(kActAChanelView));
    windowMenu_->addAction(Action(kActDChanelView));
    windowMenu_->addSeparator();
    windowMenu_->addAction(Action(kActChanelView));
    windowMenu_->addAction(Action(kActDChangedOnly));
    windowMenu_->addSeparator();
    windowMenu_->addAction(Action(kActCascade));
    windowMenu_->addAction(Action(kActTile));
    windowMenu_->addSeparator();
    connect(windowMenu_, &QMenu::aboutToShow, this, &MainWindow::FillWindowList);

    QMenu* zoom = menuBar()->addMenu("Масштаб");
    for (const char* name : {kActYZoomReset, kActYZoomIn, kActYZoomOut}) {
        zoom->addAction(Action(name));
    }
    zoom->addAction(Action(kActYCommonScale));
    zoom->addSeparator();
    for (const char* name : {kActXZoomIn, kActXZoomOut, kActXZoomReset, kActXZoomBack}) {
        zoom->addAction(Action(name));
    }

    QMenu* tools = menuBar()->addMenu("Инструменты");
    tools->setObjectName("mnTools");
    tools->addAction(Action(kActRoundOscil));
    tools->addAction(Action(kActAddCustomSeries));
    tools->addAction(Action(kActAddTimeLabel));
    tools->addAction(Action(kActEvents));
    tools->addSeparator();
    tools->addAction(Action(kActSequence));
    tools->addAction(Action(kActImpedance));
    tools->addAction(Action(kActFaultLocation));
    phasorPanelMenu_ = new QMenu(this);
    phasorPanelMenu_->setObjectName("pmRoundOscil");
    phasorPanelMenu_->addAction(Action(kActRoundOscilCurentValue));

    pmAchl_ = new QMenu(this);
    pmAchl_->setObjectName("pmAchl");
    for (const char* name : {"actACht1", "actACht2", "actACht3", "actACht5"}) {
        pmAchl_->addAction(Action(name));
    }
    connect(pmAchl_, &QMenu::aboutToShow, this, &MainWindow::PmAchlPopup);
}

void MainWindow::CreateToolBar() {
    QToolBar* bar = addToolBar("Панель инструментов");
    bar->setObjectName("ToolBar");
    bar->setMovable(false);
    bar->setIconSize(QSize(24, 24));
    bar->setFixedHeight(30);
    bar->addAction(Action(kAcOpen));

    auto* encoding = new QWidget(bar);
    encoding->setFixedWidth(196);
    auto* row = new QHBoxLayout(encoding);
    row->setContentsMargins(0, 0, 4, 0);
    row->addWidget(new QLabel("  Кодировка:", encoding));
    cbbCharPage_ = new QComboBox(encoding);
    cbbCharPage_->setObjectName(kCbbCharPage);
    cbbCharPage_->setEditable(true);
    cbbCharPage_->setInsertPolicy(QComboBox::NoInsert);
    cbbCharPage_->addItems({"Windows", "CP866"});
    row->addWidget(cbbCharPage_, 1);
    bar->addWidget(encoding);

    bar->addSeparator();
    bar->addWidget(new QLabel("  Вид: ", bar));
    bar->addAction(Action(kActAChanelView));
    if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(Action(kActAChanelView)))) {
        button->setMenu(pmAchl_);
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }
    bar->addAction(Action(kActDChanelView));
    bar->addAction(Action(kActChanelView));
    // This button alone shows no tool tip.
    if (QWidget* button = bar->widgetForAction(Action(kActChanelView))) {
        button->installEventFilter(new ToolTipBlocker(button));
    }
    bar->addSeparator();
    bar->addWidget(new QLabel("  Инструменты: ", bar));
    bar->addAction(Action(kActRoundOscil));
    if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(Action(kActRoundOscil)))) {
        button->setMenu(phasorPanelMenu_);
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }
    bar->addAction(Action(kActAddCustomSeries));
    bar->addAction(Action(kActAddTimeLabel));
    bar->addAction(Action(kActEvents));
    bar->addAction(Action(kActPrint));
    bar->addSeparator();
    bar->addWidget(new QLabel("  Масштаб Х:", bar));
    for (const char* name : {kActXZoomIn, kActXZoomOut, kActXZoomReset, kActXZoomBack}) {
        bar->addAction(Action(name));
    }
    bar->addSeparator();
    bar->addWidget(new QLabel("  Масштаб Y:", bar));
    for (const char* name : {kActYZoomIn, kActYZoomOut, kActYZoomReset}) {
        bar->addAction(Action(name));
    }
}

void MainWindow::RestoreState() {
    const WindowPlacement placement = store_.RestorePlacement({geometry(), WindowState::Normal});
    setGeometry(placement.rect);
    FitToScreen();
    if (placement.state == WindowState::Maximized) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    const int index = store_.ReadInteger(FormStateStore::PropertyKey(kCbbCharPage, "ItemIndex"), 0);
    cbbCharPage_->setCurrentIndex(index == 1 ? 1 : 0);
    Action(kActYCommonScale)
        ->setChecked(
            store_.ReadBool(FormStateStore::PropertyKey(kActYCommonScale, "Checked"), true));
}

void MainWindow::FitToScreen() {
    const QScreen* screen = QGuiApplication::screenAt(geometry().center());
    if (screen == nullptr) {
        screen = this->screen();
    }
    if (screen == nullptr) {
        return;
    }
    // Before the first show the frame is not known; a title bar and thin borders are assumed.
    QMargins frame(4, 30, 4, 4);
    if (isVisible() && frameGeometry() != geometry()) {
        const QRect outer = frameGeometry();
        const QRect inner = geometry();
        frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    }
    setGeometry(FitIntoArea(geometry(), screen->availableGeometry(), frame));
}

void MainWindow::ApplyCommonScale(RecordWindow& window) {
    RecordDocument* doc = window.Document();
    if (doc != nullptr && doc->Loaded()) {
        doc->AnalogStrips()->SetCommonScale(Action(kActYCommonScale)->isChecked());
    }
}

void MainWindow::StoreState() {
    const bool maximized = isMaximized();
    store_.StorePlacement({maximized ? normalGeometry() : geometry(),
                           maximized ? WindowState::Maximized : WindowState::Normal});
    const bool typed =
        cbbCharPage_->currentText() != cbbCharPage_->itemText(cbbCharPage_->currentIndex());
    store_.WriteInteger(FormStateStore::PropertyKey(kCbbCharPage, "ItemIndex"),
                        typed ? -1 : cbbCharPage_->currentIndex());
}

void MainWindow::OpenFromDialog() {
    const QString path = chooser_ ? chooser_() : ChooseRecordFile();
    if (!path.isEmpty()) {
        store_.WriteString(kLastFolderKey, QFileInfo(path).absolutePath());
        OpenRecord(path);
    }
}

QString MainWindow::ChooseRecordFile() {
    QFileDialog dialog(this, "Открыть осцилограмму", store_.ReadString(kLastFolderKey));
    dialog.setObjectName("dlgOpen");
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({"Осциллограммы (*.cfg *.dat *.CFG *.DAT)", "Все файлы (*)"});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().front();
}

void MainWindow::OpenRecord(const QString& path) {
    auto* window = new RecordWindow(settings_, messages_, labelColors_);
    window->SetTraceFolder(traceFolder_);
    connect(window, &RecordWindow::loadWarning, this,
            [this](const QString& text) { statusBar()->showMessage(text); });
    connect(window, &RecordWindow::loaded, this, [this, window] {
        ApplyCommonScale(*window);
        UpdateGapLabel();
    });
    connect(window->Document(), &RecordDocument::timeHistoryChanged, this,
            &MainWindow::UpdateBackAction);
    QMdiSubWindow* frame = mdiArea_->addSubWindow(window);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    connect(frame, &QMdiSubWindow::windowStateChanged, this, &MainWindow::ShowActiveToolWindows);
    connect(window, &QObject::destroyed, this, [this] {
        if (closePending_) {
            QTimer::singleShot(0, this, &QWidget::close);
        }
    });
    // Without a remembered placement a record window fills the area.
    const QRect area(QPoint(0, 0), mdiArea_->viewport()->size());
    frame->setGeometry(area);
    window->RestorePlacement();
    if (!frame->isMaximized()) {
        PlaceNewFrame(*frame, area);
    }
    window->show();
    mdiArea_->setActiveSubWindow(frame);
    // Typed text that names no item selects none: the encoding is then unknown.
    const int index =
        cbbCharPage_->currentText() == cbbCharPage_->itemText(cbbCharPage_->currentIndex())
            ? cbbCharPage_->currentIndex()
            : -1;
    if (index != 0 && index != 1) {
        MessagesOr(messages_).Show(MessageIcon::Error, QCoreApplication::applicationName(),
                                   "Неизвесная кодировка");
        return;
    }
    window->LoadRecordFile(path, index == 0 ? TextEncoding::Windows : TextEncoding::Cp866);
}

void MainWindow::PlaceNewFrame(QMdiSubWindow& frame, const QRect& area) {
    QList<QPoint> taken;
    for (const QMdiSubWindow* other : mdiArea_->subWindowList()) {
        if (other != &frame) {
            taken.push_back(other->geometry().topLeft());
        }
    }
    frame.setGeometry(CascadeRect(frame.geometry().intersected(area).isEmpty()
                                      ? area
                                      : FitIntoArea(frame.geometry(), area, {}),
                                  area, taken, TitleBarHeight(frame)));
}

void MainWindow::CascadeFrames() {
    // The toolkit's own cascade shrinks many windows to slivers; these keep a usable size.
    QList<QMdiSubWindow*> frames = mdiArea_->subWindowList();
    const QRect area(QPoint(0, 0), mdiArea_->viewport()->size());
    const int step = frames.isEmpty() ? 16 : TitleBarHeight(*frames.front());
    const QList<QRect> rects = CascadeRects(static_cast<int>(frames.size()), area, step);
    for (qsizetype i = 0; i < frames.size(); ++i) {
        if (frames[i]->isMinimized() || frames[i]->isMaximized()) {
            frames[i]->showNormal();
        }
        frames[i]->setGeometry(rects[i]);
        frames[i]->raise();
    }
}

RecordWindow* MainWindow::ActiveRecordWindow() const {
    QMdiSubWindow* active = mdiArea_->activeSubWindow();
    if (active == nullptr && !mdiArea_->subWindowList().isEmpty()) {
        active = mdiArea_->currentSubWindow();
    }
    return active != nullptr ? qobject_cast<RecordWindow*>(active->widget()) : nullptr;
}

void MainWindow::WithRecord(const std::function<void(RecordWindow&)>& command) {
    RecordWindow* window = ActiveRecordWindow();
    // A window still loading, or left empty by a failed start, has no views to act on; one
    // that analyses its harmonics waits for that to end.
    if (window == nullptr || window->Document() == nullptr || !window->Document()->Loaded() ||
        window->Document()->Filling()) {
        return;
    }
    // A command that needs more of the record than the load did (the harmonic analysis of a
    // record whose times go back) fails with the user's message, never out of the event loop.
    try {
        command(*window);
    } catch (const std::bad_alloc&) {
        MessagesOr(messages_).Show(MessageIcon::Error, "Ошибка",
                                   "Недостаточно памяти для загрузки осциллограммы");
    } catch (const std::exception& e) {
        MessagesOr(messages_).Show(MessageIcon::Error, "Ошибка", QString::fromUtf8(e.what()));
    }
}

void MainWindow::ShowActiveToolWindows() {
    // A record's diagrams and zone dialogs show only while it is the current, unminimised one:
    // they never cover another record.
    const QMdiSubWindow* active = mdiArea_->currentSubWindow();
    for (QMdiSubWindow* frame : mdiArea_->subWindowList()) {
        if (auto* window = qobject_cast<RecordWindow*>(frame->widget())) {
            window->ShowToolWindows(frame == active && !frame->isMinimized());
        }
    }
}

void MainWindow::UpdateGapLabel() {
    const RecordWindow* window = ActiveRecordWindow();
    const QString text = window != nullptr ? window->GapSummary() : QString();
    lblGaps_->setText(text);
    lblGaps_->setToolTip(text);
    lblGaps_->setVisible(!text.isEmpty());
}

void MainWindow::UpdateBackAction() {
    const RecordWindow* window = ActiveRecordWindow();
    Action(kActXZoomBack)
        ->setEnabled(window != nullptr && window->Document() != nullptr &&
                     window->Document()->CanXZoomBack());
}

void MainWindow::PmAchlPopup() {
    const auto action = [this](int harmonic) {
        return Action("actACht" + QString::number(harmonic));
    };
    for (const int harmonic : kHarmonicOrders) {
        action(harmonic)->setChecked(false);
    }
    WithRecord([&](RecordWindow& w) {
        for (const int harmonic : kHarmonicOrders) {
            action(harmonic)->setChecked(w.Document()->ChtIsVisible(harmonic));
        }
    });
}

void MainWindow::FillWindowList() {
    for (QAction* action : windowListActions_) {
        windowMenu_->removeAction(action);
        action->deleteLater();
    }
    windowListActions_.clear();
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* frame = windows[i];
        QAction* action =
            windowMenu_->addAction(QString("&%1 %2").arg(i + 1).arg(frame->windowTitle()));
        action->setCheckable(true);
        action->setChecked(frame == mdiArea_->activeSubWindow());
        connect(action, &QAction::triggered, this,
                [this, frame] { mdiArea_->setActiveSubWindow(frame); });
        windowListActions_.push_back(action);
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    mdiArea_->closeAllSubWindows();
    if (!mdiArea_->subWindowList().isEmpty()) {
        // A record is still loading: it stops at its next pause, then the window closes.
        closePending_ = true;
        event->ignore();
        return;
    }
    StoreState();
    event->accept();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    const QScreen* screen = this->screen();
    if (screen == nullptr || isMaximized()) {
        return;
    }
    // Snap to the edges of the screen's free area when moved close to them.
    const QRect area = screen->availableGeometry();
    const QRect frame = frameGeometry();
    QPoint to = frame.topLeft();
    if (std::abs(frame.left() - area.left()) <= kSnapDistance) {
        to.setX(area.left());
    } else if (std::abs(frame.right() - area.right()) <= kSnapDistance) {
        to.setX(area.right() - frame.width() + 1);
    }
    if (std::abs(frame.top() - area.top()) <= kSnapDistance) {
        to.setY(area.top());
    } else if (std::abs(frame.bottom() - area.bottom()) <= kSnapDistance) {
        to.setY(area.bottom() - frame.height() + 1);
    }
    if (to != frame.topLeft()) {
        move(to);
    }
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    for (const QUrl& url : urls) {
        if (url.isLocalFile()) {
            OpenRecord(url.toLocalFile());
        }
    }
}

}  // namespace faultscope
