#include "gui/app/record_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/record/channel_data.h"
#include "core/record/load_error.h"
#include "core/session/record_cut.h"
#include "core/settings/ini_store.h"
#include "core/settings/settings_error.h"
#include "core/viewtemplate/make_sequence_channels.h"
#include "gui/app/window_fit.h"
#include "gui/chart/axis.h"
#include "gui/chart/vertical_line.h"
#include "gui/dialogs/channel_visibility_window.h"
#include "gui/dialogs/formula_channel_dialog.h"
#include "gui/dialogs/print_dialog.h"
#include "gui/dialogs/save_fragment_dialog.h"
#include "gui/dialogs/sequence_components_dialog.h"
#include "gui/dialogs/time_label_dialog.h"
#include "gui/dialogs/zone_dialog.h"
#include "gui/document/record_document.h"
#include "gui/print/record_export.h"
#include "gui/views/analog_strip.h"
#include "gui/views/analog_strip_list.h"
#include "gui/views/discrete_strip.h"
#include "gui/views/discrete_strip_list.h"
#include "gui/views/phasor_diagram.h"
#include "gui/views/strip_finder.h"
#include "gui/views/time_label.h"
#include "gui/views/time_label_list.h"
#include "gui/widgets/channel_search_bar.h"
#include "gui/widgets/message_boxes.h"

namespace faultscope {
namespace {

// Keys of the window's state in the settings, and a panel found by its name.
constexpr char kADPnlRatioKey[] = "ADPnlRatio";
constexpr char kAFrameGeightKey[] = "AFrameGeight";
constexpr char kDFrameGeightKey[] = "DFrameGeight";
constexpr char kAnalogPanelName[] = "pnlAFrame";

constexpr int kTimeLineHeight = 90;
constexpr int kGripHeight = 3;
// Far above the discrete panel's 1, so the analog panel fills up to its ceiling first.
constexpr int kAnalogStretch = 1000;
constexpr int kTimeLabelHeight = 28;
// Below the label strips: the grip and the panel's bottom margin.
constexpr int kTimeLabelExtra = 6;
// An analysis on demand that ends sooner shows no progress window.
constexpr int kFillProgressDelayMs = 400;

QWidget* Panel(const char* name, QWidget* parent) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(name);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return panel;
}

}  // namespace

QString RecordWindowTitle(const RecordConfig& cfg, const QString& fileName) {
    // Recorders pad their names with blanks, and an empty device name leaves a bare "_".
    const QString device = QString::fromStdString(cfg.rec_dev_id).trimmed();
    const QString station = QString::fromStdString(cfg.station_name).trimmed();
    QString name = device + u'_' + station;
    qsizetype begin = 0;
    qsizetype end = name.size();
    const auto padding = [](QChar c) { return c == u'_' || c.isSpace(); };
    while (begin < end && padding(name[begin])) {
        ++begin;
    }
    while (end > begin && padding(name[end - 1])) {
        --end;
    }
    name = name.sliced(begin, end - begin);
    if (fileName.isEmpty()) {
        return name;
    }
    return name.isEmpty() ? fileName : name + QStringLiteral(" — ") + fileName;
}

QString GapSummaryText(const RecordConfig& cfg, const RecordData& data) {
    constexpr int kNamed = 3;
    QStringList named;
    int more = 0;
    const std::size_t n = std::min(cfg.analog.size(), data.analog.size());
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t gaps = GapCount(data.analog[i]);
        if (gaps == 0) {
            continue;
        }
        if (named.size() == kNamed) {
            ++more;
            continue;
        }
        named.push_back(QStringLiteral("%1 %2 из %3")
                            .arg(QString::fromStdString(cfg.analog[i].ch_id).trimmed())
                            .arg(gaps)
                            .arg(data.analog[i].size()));
    }
    if (named.isEmpty()) {
        return {};
    }
    QString text = QStringLiteral("Вне диапазона: ") + named.join(QStringLiteral(", "));
    if (more > 0) {
        text += QStringLiteral(" и ещё в %1 каналах").arg(more);
    }
    return text;
}

RecordWindow::RecordWindow(IniStore* settings, MessageSink* messages,
                           std::shared_ptr<LabelColorPool> labelColors, QWidget* parent)
    : QWidget(parent),
      store_(settings, kSection, {}, PlacementOptions::All()),
      document_(new RecordDocument(this)),
      settings_(settings),
      messages_(messages),
      labelColors_(std::move(labelColors)) {
    document_->SetMessages(messages_);
    setObjectName("frmOscil");
    setAttribute(Qt::WA_DeleteOnClose);
    connect(document_, &RecordDocument::timeLabelEditRequested, this, &RecordWindow::EditTimeLabel);
    connect(document_, &RecordDocument::timeLabelValuesRequested, this,
            &RecordWindow::ShowLabelValues);
    connect(document_, &RecordDocument::zonesRequested, this, [this](PhasorDiagram* diagram) {
        const bool opened = ZoneDialogOf(diagram) == nullptr;
        ZoneDialog* dialog = ShowZoneDialog(diagram, messages_);
        if (opened) {
            // Beside its diagram, to the left where there is room, and whole on the screen.
            dialog->setWindowTitle(dialog->windowTitle() + QStringLiteral("— ") + windowTitle());
            const QRect beside(diagram->frameGeometry().left() - dialog->width() - 8,
                               diagram->geometry().top(), dialog->width(), dialog->height());
            dialog->setGeometry(OnScreen(beside, *dialog));
        }
    });
    connect(document_, &RecordDocument::phasorDiagramEmptied, this, [this](PhasorDiagram* diagram) {
        // As when a diagram is asked for with no channel shown.
        MessagesOr(messages_).Show(MessageIcon::Information, "Внимание",
                                   "Не выбрано не одного канала");
        diagram->close();
    });
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    adPnlRatio_ = store_.ReadFloat(kADPnlRatioKey, 0.0);
    if (adPnlRatio_ == 0.0) {
        adPnlRatio_ = 0.5;
    }
    BuildPanels();
    AddCursorKeys();
    AddChannelSearch();
    FollowFills();
}

void RecordWindow::FollowFills() {
    RecordSession::AnalysisFeedback feedback;
    feedback.started = [this](std::size_t channels) {
        // Window-modal: the record cannot be changed under the workers meanwhile.
        fillProgress_ =
            new QProgressDialog(QStringLiteral("Расчёт гармоник…"), QStringLiteral("Отмена"), 0,
                                static_cast<int>(channels), this);
        fillProgress_->setObjectName("fillProgress");
        fillProgress_->setWindowTitle(windowTitle());
        fillProgress_->setWindowModality(Qt::WindowModal);
        fillProgress_->setAutoClose(false);
        fillProgress_->setAutoReset(false);
        fillProgress_->setMinimumDuration(kFillProgressDelayMs);
        connect(fillProgress_, &QProgressDialog::canceled, document_, &RecordDocument::Cancel);
        fillProgress_->setValue(0);
    };
    feedback.progress = [this](std::size_t done) {
        if (fillProgress_ != nullptr) {
            fillProgress_->setValue(static_cast<int>(done));
        }
        QCoreApplication::processEvents();
    };
    feedback.finished = [this] {
        delete fillProgress_.data();
        if (closeAfterLoad_) {
            // Closed while the workers ran: they are joined now.
            QWidget* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
            (frame != nullptr ? frame : this)->close();
        }
    };
    document_->SetFillFeedback(std::move(feedback));
    // The template's formula channels are made while the load's panel still shows: the bar
    // counts them, and "Отмена" closes the window before the next one.
    document_->SetMakingProgress(
        [this, shown = QElapsedTimer()](std::size_t done, std::size_t total) mutable {
            if (done != 0 && done != total && shown.isValid() && !shown.hasExpired(30)) {
                return;
            }
            shown.start();
            pb_->setRange(0, static_cast<int>(std::min<std::size_t>(total, INT_MAX)));
            pb_->setValue(static_cast<int>(std::min<std::size_t>(done, INT_MAX)));
            pb_->setFormat(QStringLiteral("Формульные каналы: %v из %m"));
            QCoreApplication::processEvents();
        });
}

RecordWindow::~RecordWindow() {
    // The visibility window refers to the strips and the record's template: it goes first.
    delete visibilityWindow_.data();
}

void RecordWindow::AddCursorKeys() {
    // The window takes the focus so that its keys work after a click anywhere in it.
    setFocusPolicy(Qt::StrongFocus);
    const struct {
        QKeySequence key;
        std::ptrdiff_t step;  // kToStart, kToEnd or a number of samples
    } keys[] = {
        {QKeySequence(Qt::Key_Left), -1},
        {QKeySequence(Qt::Key_Right), 1},
        {QKeySequence(Qt::SHIFT | Qt::Key_Left), -10},
        {QKeySequence(Qt::SHIFT | Qt::Key_Right), 10},
        {QKeySequence(Qt::Key_Home), PTRDIFF_MIN},
        {QKeySequence(Qt::Key_End), PTRDIFF_MAX},
    };
    for (const auto& k : keys) {
        auto* action = new QAction(this);
        action->setShortcut(k.key);
        // The strip lists scroll on these keys otherwise.
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        const std::ptrdiff_t step = k.step;
        connect(action, &QAction::triggered, this, [this, step] {
            if (loading_ || !document_->Loaded()) {
                return;
            }
            std::ptrdiff_t to = step;
            if (step != PTRDIFF_MIN && step != PTRDIFF_MAX) {
                to = document_->CursorSample() + step;
            }
            document_->MoveCursorToSample(to);
        });
        addAction(action);
    }
}

void RecordWindow::AddChannelSearch() {
    searchBar_ = new ChannelSearchBar(this);
    searchBar_->hide();
    static_cast<QVBoxLayout*>(layout())->insertWidget(0, searchBar_);
    connect(searchBar_, &ChannelSearchBar::findNext, this, &RecordWindow::FindChannel);
    connect(searchBar_, &ChannelSearchBar::closed, this, &RecordWindow::CloseChannelSearch);
    auto* open = new QAction(this);
    open->setShortcut(QKeySequence::Find);
    open->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(open, &QAction::triggered, this, &RecordWindow::OpenChannelSearch);
    addAction(open);
}

void RecordWindow::OpenChannelSearch() {
    if (loading_ || !document_->Loaded()) {
        return;
    }
    if (finder_ == nullptr) {
        finder_ =
            std::make_unique<StripFinder>(document_->AnalogStrips(), document_->DiscreteStrips());
    }
    searchBar_->Open();
}

void RecordWindow::FindChannel(const QString& text) {
    if (finder_ != nullptr) {
        searchBar_->ShowFound(finder_->FindNext(text));
    }
}

void RecordWindow::CloseChannelSearch() {
    if (finder_ != nullptr) {
        finder_->Clear();
    }
    setFocus(Qt::OtherFocusReason);
}

void RecordWindow::BuildPanels() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    pnlTimeLabel_ = Panel("pnlTimeLabel", this);
    pnlTimeLabel_->setContentsMargins(0, 0, 0, 2);
    pnlTimeLabel_->setFixedHeight(kTimeLabelHeight);
    pnlTResize_ = new QWidget(pnlTimeLabel_);
    pnlTResize_->setObjectName("pnlTResize");
    pnlTResize_->setFixedHeight(kGripHeight);
    pnlTResize_->setCursor(Qt::SplitVCursor);
    pnlTResize_->installEventFilter(this);
    pnlTimeLabel_->layout()->addWidget(pnlTResize_);
    pnlTimeLabel_->hide();
    pnlA_ = Panel("pnlA", this);
    auto* aHost = Panel(kAnalogPanelName, pnlA_);
    pnlA_->layout()->addWidget(aHost);
    pnlResize_ = new QWidget(pnlA_);
    pnlResize_->setObjectName("pnlResize");
    pnlResize_->setFixedHeight(kGripHeight);
    pnlResize_->setCursor(Qt::SplitVCursor);
    pnlResize_->installEventFilter(this);
    pnlA_->layout()->addWidget(pnlResize_);
    pnlD_ = Panel("pnlD", this);
    pnlTimeLine_ = Panel("pnlTimeLine", this);
    pnlTimeLine_->setFixedHeight(kTimeLineHeight);
    pnlProgress_ = Panel("pnlProgress", this);
    pb_ = new QProgressBar(pnlProgress_);
    pb_->setObjectName("pb");
    pb_->setFixedSize(161, 25);
    pb_->setFormat(QStringLiteral("%p%"));
    auto* progress = static_cast<QVBoxLayout*>(pnlProgress_->layout());
    progress->addStretch(1);
    progress->addWidget(pb_, 0, Qt::AlignHCenter);
    btnCancel_ = new QPushButton(QStringLiteral("Отмена"), pnlProgress_);
    btnCancel_->setObjectName("btnCancel");
    // Closing the window stops the load at its next pause.
    connect(btnCancel_, &QPushButton::clicked, this, [this] {
        QWidget* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
        (frame != nullptr ? frame : this)->close();
    });
    progress->addSpacing(6);
    progress->addWidget(btnCancel_, 0, Qt::AlignHCenter);
    progress->addStretch(1);
    layout->addWidget(pnlTimeLabel_);
    layout->addWidget(pnlA_);
    layout->addWidget(pnlD_, 1);
    layout->addWidget(pnlTimeLine_);
    layout->addWidget(pnlProgress_, 1);
    for (QWidget* w : {pnlA_, pnlD_, pnlTimeLine_}) {
        w->hide();
    }
}

void RecordWindow::SetTraceFolder(const QString& folder) {
    document_->SetTraceFolder(folder);
}

void RecordWindow::LoadRecordFile(const QString& fileName, TextEncoding encoding) {
    loading_ = true;
    encoding_ = encoding;
    chosenFile_ = QFileInfo(fileName).fileName();
    QString error;
    try {
        LoadOptions options;
        options.encoding = encoding;
        options.configRead = [this](const RecordConfig& cfg) { ConfigRead(cfg); };
        options.progress = [this](std::int64_t n) {
            LoadProgress(n);
            QCoreApplication::processEvents();
        };
        options.stepStarted = [this](LoadStep step) { ShowStep(step); };
        document_->LoadRecordFile(fileName, std::move(options));
        ShowStep(LoadStep::Finishing);
        document_->CreateCharts(pnlTimeLine_, pnlA_->findChild<QWidget*>(kAnalogPanelName), pnlD_,
                                store_.ReadInteger(kAFrameGeightKey, 100),
                                store_.ReadInteger(kDFrameGeightKey, 12));
    } catch (const LoadCancelled&) {
        closeAfterLoad_ = true;
    } catch (const std::bad_alloc&) {
        error = "Недостаточно памяти для загрузки осциллограммы";
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
    }
    Finish(error);
}

void RecordWindow::ConfigRead(const RecordConfig& cfg) {
    setWindowTitle(RecordWindowTitle(cfg, chosenFile_));
    endsamp_ = cfg.endsamp;
    pb_->setRange(0, static_cast<int>(std::min<std::uint32_t>(endsamp_, INT_MAX / 2)));
    pb_->setValue(0);
}

void RecordWindow::Finish(const QString& error) {
    loading_ = false;
    if (!error.isEmpty()) {
        MessagesOr(messages_).Show(MessageIcon::Error, "Ошибка", error);
        closeAfterLoad_ = true;
    }
    if (closeAfterLoad_) {
        QWidget* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
        (frame != nullptr ? frame : this)->close();
        return;
    }
    for (const std::string& warning : document_->Record().warnings) {
        const QString text = QString::fromStdString(warning);
        qWarning("%s", qUtf8Printable(text));
        emit loadWarning(text);
    }
    pnlProgress_->hide();
    pnlA_->show();
    pnlD_->show();
    pnlTimeLine_->show();
    ApplyADPnlRatio();
    pnlTimeLine_->setContentsMargins(0, 0, 16, 0);
    document_->CreateTimeLabels(pnlTimeLabel_, labelColors_);
    gapSummary_ = GapSummaryText(document_->ConfigFile(), document_->Record().data);
    emit loaded();
}

void RecordWindow::ShowStep(LoadStep step) {
    switch (step) {
        case LoadStep::Reading:
            pb_->setFormat(QStringLiteral("%p%"));
            break;
        case LoadStep::Harmonics:
            pb_->setValue(pb_->maximum());
            pb_->setFormat(QStringLiteral("Расчёт гармоник…"));
            break;
        case LoadStep::Finishing:
            pb_->setValue(pb_->maximum());
            pb_->setFormat(QStringLiteral("Построение графиков…"));
            break;
    }
    // The new text shows at once, even when the step gives no progress of its own.
    QCoreApplication::processEvents();
}

void RecordWindow::AddPhasorDiagram(bool useCurrentValue) {
    PhasorDiagram* diagram = document_->AddPhasorDiagram(this, useCurrentValue);
    if (diagram == nullptr) {
        if (document_->Loaded()) {
            MessagesOr(messages_).Show(MessageIcon::Information, "Внимание",
                                       "Не выбрано не одного канала");
        }
        return;
    }
    // Inside the record window's top right corner, each new one a title bar further in, and
    // whole on the screen; the caption says whose it is.
    diagram->setWindowTitle(diagram->windowTitle() + QStringLiteral(" — ") + windowTitle());
    const auto shift =
        static_cast<int>(document_->PhasorDiagrams().size() - 1) * TitleBarHeight(*this);
    const QRect record(mapToGlobal(QPoint(0, 0)), size());
    const QPoint at(record.right() - diagram->width() - 8 - shift, record.top() + 8 + shift);
    diagram->move(OnScreen(QRect(at, diagram->size()), *diagram).topLeft());
}

QRect RecordWindow::OnScreen(const QRect& rect, const QWidget& window) const {
    const QScreen* screen = this->screen();
    if (screen == nullptr) {
        return rect;
    }
    // The frame is not known before the window shows: a title bar above and a border around.
    const int title = TitleBarHeight(window);
    return FitIntoArea(rect, screen->availableGeometry(), QMargins(4, title + 4, 4, 4));
}

std::vector<QWidget*> RecordWindow::ToolWindows() const {
    std::vector<QWidget*> tools;
    for (PhasorDiagram* diagram : document_->PhasorDiagrams()) {
        tools.push_back(diagram);
        tools.push_back(ZoneDialogOf(diagram));
    }
    tools.push_back(eventsWindow_);
    tools.push_back(impedanceWindow_);
    tools.push_back(locationWindow_);
    for (const QPointer<LabelValuesWindow>& window : valuesWindows_) {
        tools.push_back(window);
    }
    return tools;
}

void RecordWindow::ShowToolWindows(bool show) {
    if (!show) {
        for (QWidget* tool : ToolWindows()) {
            if (tool != nullptr && tool->isVisible()) {
                hiddenTools_.push_back(tool);
                tool->hide();
            }
        }
        return;
    }
    for (const QPointer<QWidget>& tool : std::exchange(hiddenTools_, {})) {
        if (tool != nullptr) {
            tool->show();
        }
    }
}

void RecordWindow::AddTimeLabel() {
    TimeLabelList* labels = document_->TimeLabels();
    if (labels == nullptr) {
        return;
    }
    pnlTimeLabel_->show();
    document_->AddTimeLabel();
    pnlTimeLabel_->setFixedHeight(labels->TotalH() + kTimeLabelExtra);
}

void RecordWindow::LoadProgress(std::int64_t linesRead) {
    if (endsamp_ == 0) {
        return;
    }
    const double share = static_cast<double>(linesRead) / endsamp_;
    pb_->setValue(static_cast<int>(std::lround(share * pb_->maximum())));
}

int RecordWindow::LabelPanelHeight() const {
    return pnlTimeLabel_->isVisibleTo(this) ? pnlTimeLabel_->height() : 0;
}

int RecordWindow::OuterHeight() const {
    const QWidget* frame = qobject_cast<const QMdiSubWindow*>(parentWidget());
    return frame != nullptr ? frame->height() : height();
}

void RecordWindow::ApplyADPnlRatio() {
    if (!pnlD_->isVisibleTo(this)) {
        return;
    }
    const int wanted = static_cast<int>(std::lround(adPnlRatio_ * OuterHeight()));
    const int room = std::max(kGripHeight, height() - kTimeLineHeight - LabelPanelHeight());
    SetAnalogPanelHeight(std::clamp(wanted, kGripHeight, room));
}

void RecordWindow::SetAnalogPanelHeight(int height) {
    // A ceiling rather than a fixed height: the window may still shrink below it (to fit the
    // screen, cascade or tile), and the analog panel then gives up room first.
    pnlA_->setMinimumHeight(kGripHeight);
    pnlA_->setMaximumHeight(height);
    static_cast<QVBoxLayout*>(layout())->setStretchFactor(pnlA_, kAnalogStretch);
}

void RecordWindow::StoreADPnlRatio() {
    const int outer = OuterHeight();
    if (outer > 0) {
        adPnlRatio_ = static_cast<double>(pnlA_->height()) / outer;
        store_.WriteFloat(kADPnlRatioKey, adPnlRatio_);
    }
}

bool RecordWindow::AnalogPanelVisible() const {
    return pnlA_->isVisibleTo(this);
}

bool RecordWindow::DiscretePanelVisible() const {
    return pnlD_->isVisibleTo(this);
}

void RecordWindow::AnalogPanelView(bool visible) {
    if (visible == AnalogPanelVisible()) {
        return;
    }
    if (visible) {
        pnlA_->show();
    } else if (DiscretePanelVisible()) {
        pnlA_->hide();
    }
}

void RecordWindow::SetDiscretePanelVisible(bool visible) {
    if (visible == DiscretePanelVisible()) {
        return;
    }
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    if (visible) {
        layout->setStretchFactor(pnlA_, 0);
        pnlResize_->show();
        pnlD_->show();
        ApplyADPnlRatio();
    } else if (AnalogPanelVisible()) {
        StoreADPnlRatio();
        pnlD_->hide();
        pnlA_->setMinimumHeight(0);
        pnlA_->setMaximumHeight(QWIDGETSIZE_MAX);
        layout->setStretchFactor(pnlA_, 1);
        pnlResize_->hide();
    }
}

void RecordWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (pnlA_->isVisibleTo(this)) {
        ApplyADPnlRatio();
    }
}

bool RecordWindow::PnlTResizeEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            tStartResize_ = true;
            return true;
        case QEvent::MouseMove:
            if (tStartResize_) {
                const auto* mouse = static_cast<QMouseEvent*>(event);
                const int total =
                    document_->TimeLabels() != nullptr ? document_->TimeLabels()->TotalH() : 0;
                const int y = pnlTimeLabel_->mapFromGlobal(mouse->globalPosition().toPoint()).y();
                pnlTimeLabel_->setFixedHeight(
                    std::clamp(y, kGripHeight + 3, total + kGripHeight + 3));
            }
            return true;
        case QEvent::MouseButtonRelease:
            tStartResize_ = false;
            return true;
        default:
            return false;
    }
}

bool RecordWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && watched != nullptr &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        // The frame's geometry while it is neither minimised nor maximised: what it returns to.
        const auto* frame = static_cast<const QWidget*>(watched);
        if (!frame->isMinimized() && !frame->isMaximized()) {
            normalFrame_ = frame->geometry();
        }
        return false;
    }
    if (watched == pnlTResize_) {
        return PnlTResizeEvent(event) || QWidget::eventFilter(watched, event);
    }
    if (watched != pnlResize_) {
        return QWidget::eventFilter(watched, event);
    }
    // The event is a mouse event only for the mouse types: cast it there and nowhere else.
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            startResize_ = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
            return true;
        case QEvent::MouseMove:
            if (startResize_) {
                const auto* mouse = static_cast<QMouseEvent*>(event);
                const QPoint inA = pnlA_->mapFromGlobal(mouse->globalPosition().toPoint());
                const int room =
                    std::max(kGripHeight, height() - kTimeLineHeight - LabelPanelHeight());
                SetAnalogPanelHeight(std::clamp(inA.y(), kGripHeight, room));
                StoreADPnlRatio();
            }
            return true;
        case QEvent::MouseButtonRelease:
            startResize_ = false;
            return true;
        default:
            return QWidget::eventFilter(watched, event);
    }
}

void RecordWindow::Print() {
    if (loading_ || !document_->Loaded()) {
        return;
    }
    PrintDialog dialog(settings_, document_, this, messages_);
    dialog.exec();
}

void RecordWindow::ExportPdf() {
    if (loading_ || !document_->Loaded()) {
        return;
    }
    const QString device = QString::fromStdString(document_->ConfigFile().rec_dev_id);
    const QString file = exportFileChooser_ ? exportFileChooser_()
                                            : QFileDialog::getSaveFileName(
                                                  this, "Экспорт в PDF",
                                                  "Осцилограмма " + device + ".pdf", "PDF (*.pdf)");
    if (file.isEmpty()) {
        return;
    }
    PdfExportOptions options;
    options.caption = true;
    QString error;
    if (faultscope::ExportPdf(PrintSourceOf(*document_), file, options, error) == 0) {
        MessagesOr(messages_).Show(MessageIcon::Error, "Ошибка", error);
    }
}

void RecordWindow::CopyPicture() {
    if (loading_ || !document_->Loaded()) {
        return;
    }
    QApplication::clipboard()->setImage(grab().toImage());
}

void RecordWindow::contextMenuEvent(QContextMenuEvent* event) {
    if (loading_ || !document_->Loaded()) {
        return;
    }
    QMenu menu(this);
    menu.addAction("Экспорт в PDF…", this, &RecordWindow::ExportPdf);
    menu.addAction("Копировать как рисунок", this, &RecordWindow::CopyPicture);
    menu.exec(event->globalPos());
}

void RecordWindow::AddFormulaChannel() {
    if (loading_ || !document_->Loaded()) {
        return;
    }
    // A formula may read the sources' fundamental (D1, ANGLE1).
    if (!document_->EnsureFundamentals()) {
        return;
    }
    FormulaChannelDialog dialog(this, document_->AnalogStrips(),
                                &document_->Session().FormulaHost(), settings_, messages_);
    dialog.SetTemplate(document_->Template());
    document_->FormulaDialogClosed(dialog.exec() == QDialog::Accepted);
}

void RecordWindow::EditTimeLabel(TimeLabel* label) {
    TimeLabelDialog dialog(label, settings_);
    try {
        dialog.Edit(label->LineLeft(), label->LineRight(), [label] { label->ApplyDialogValues(); });
    } catch (const std::exception& e) {
        MessagesOr(messages_).Show(MessageIcon::Error, {}, QString::fromUtf8(e.what()));
        return;
    }
    dialog.exec();
}

void RecordWindow::PlaceToolWindow(QWidget& tool) {
    tool.setWindowTitle(tool.windowTitle() + QStringLiteral(" — ") + windowTitle());
    const QRect record(mapToGlobal(QPoint(0, 0)), size());
    const QPoint at(record.right() - tool.width() - 8, record.top() + 8);
    tool.move(OnScreen(QRect(at, tool.size()), tool).topLeft());
}

void RecordWindow::ShowEvents() {
    if (loading_ || !document_->Loaded()) {
        return;
    }
    if (eventsWindow_ == nullptr) {
        eventsWindow_ = new EventListWindow(document_->Record(), this);
        PlaceToolWindow(*eventsWindow_);
        connect(eventsWindow_, &EventListWindow::sampleChosen, document_,
                &RecordDocument::MoveCursorToSample);
    }
    eventsWindow_->show();
    eventsWindow_->raise();
    eventsWindow_->activateWindow();
}

void RecordWindow::AddSequenceComponents() {
    if (loading_ || !document_->Loaded() || document_->Template() == nullptr) {
        return;
    }
    // The strips' formulas read the phases' fundamental (D1, ANGLE1).
    if (!document_->EnsureFundamentals()) {
        return;
    }
    SequenceComponentsDialog dialog(document_->ConfigFile(), this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const QStringList made =
        MakeSequenceChannels(*document_->Template(), document_->Session().FormulaHost(),
                             document_->ConfigFile(), dialog.Triple());
    document_->FormulaDialogClosed(!made.isEmpty());
}

std::vector<ZoneOutline> RecordWindow::OpenZones() const {
    std::vector<ZoneOutline> zones;
    for (const PhasorDiagram* diagram : document_->PhasorDiagrams()) {
        const ZoneDialog* dialog = ZoneDialogOf(diagram);
        if (dialog == nullptr) {
            continue;
        }
        Zone zone = dialog->Characteristic();
        if (!zone.zone.empty()) {
            zones.push_back({std::move(zone.zone), QColor(255, 0, 0)});
            zones.push_back({std::move(zone.zoneOff), QColor(0, 128, 0)});
        }
        if (!dialog->Rows().empty()) {
            zones.push_back({UserPolygon(dialog->Rows()), QColor(128, 0, 160)});
        }
    }
    return zones;
}

void RecordWindow::ShowImpedance() {
    if (loading_ || !document_->Loaded() || document_->Template() == nullptr) {
        return;
    }
    if (impedanceWindow_ == nullptr) {
        impedanceWindow_ =
            new ImpedanceWindow(document_->Record(), *document_->TimeLineView()->BottomAxis(),
                                document_->Template()->FaultLocation(), this);
        impedanceWindow_->SetZoneSource([this] { return OpenZones(); });
        impedanceWindow_->SetCursorSample(document_->CursorSample());
        connect(document_, &RecordDocument::cursorMoved, impedanceWindow_,
                &ImpedanceWindow::SetCursorSample);
        PlaceToolWindow(*impedanceWindow_);
    }
    impedanceWindow_->show();
    impedanceWindow_->raise();
    impedanceWindow_->activateWindow();
}

void RecordWindow::ShowFaultLocation() {
    if (loading_ || !document_->Loaded() || document_->Template() == nullptr) {
        return;
    }
    if (locationWindow_ == nullptr) {
        locationWindow_ = new FaultLocationDialog(document_->Record(), this);
        if (const auto saved = document_->Template()->FaultLocation()) {
            locationWindow_->SetSettings(*saved);
        }
        locationWindow_->SetCursorSample(document_->CursorSample());
        connect(document_, &RecordDocument::cursorMoved, locationWindow_,
                &FaultLocationDialog::SetCursorSample);
        connect(locationWindow_, &FaultLocationDialog::settingsChanged, this,
                &RecordWindow::LineDataChanged);
        PlaceToolWindow(*locationWindow_);
    }
    locationWindow_->show();
    locationWindow_->raise();
    locationWindow_->activateWindow();
}

void RecordWindow::LineDataChanged(const FaultLocationSettings& settings) {
    if (ViewTemplate* viewTemplate = document_->Template(); viewTemplate != nullptr) {
        viewTemplate->SaveFaultLocation(settings);
    }
    if (impedanceWindow_ != nullptr) {
        impedanceWindow_->SetLineData(settings);
    }
}

void RecordWindow::ShowLabelValues(TimeLabel* label) {
    std::erase_if(valuesWindows_,
                  [](const QPointer<LabelValuesWindow>& w) { return w == nullptr; });
    auto open = std::find_if(valuesWindows_.begin(), valuesWindows_.end(),
                             [label](const auto& w) { return w->Label() == label; });
    LabelValuesWindow* window = open != valuesWindows_.end() ? open->data() : nullptr;
    if (window == nullptr) {
        window = new LabelValuesWindow(*document_, label, this);
        PlaceToolWindow(*window);
        valuesWindows_.emplace_back(window);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

std::vector<LabelValuesWindow*> RecordWindow::LabelValuesWindows() const {
    std::vector<LabelValuesWindow*> windows;
    for (const QPointer<LabelValuesWindow>& w : valuesWindows_) {
        if (w != nullptr) {
            windows.push_back(w);
        }
    }
    return windows;
}

void RecordWindow::SaveFragment() {
    if (loading_ || !document_->Loaded()) {
        return;
    }
    const Axis* axis = document_->TimeLineView()->BottomAxis();
    std::vector<FragmentInterval> intervals = {
        {QStringLiteral("Видимый диапазон"), axis->Minimum(), axis->Maximum()}};
    if (const TimeLabelList* labels = document_->TimeLabels(); labels != nullptr) {
        for (std::size_t k = 0; k < labels->List().size(); ++k) {
            const TimeLabel* label = labels->List()[k];
            intervals.push_back({QStringLiteral("Метка %1").arg(k + 1), label->LineLeft()->Value(),
                                 label->LineRight()->Value()});
        }
    }
    const RecordSession& session = document_->Session();
    SaveFragmentDialog dialog(intervals, session.FormulaChannels().size() > 0, this);
    if (!(fragmentChoice_ ? fragmentChoice_(dialog) : dialog.exec() == QDialog::Accepted)) {
        return;
    }
    const FragmentInterval interval = dialog.Interval();
    const LoadedRecord& record = document_->Record();
    const QString base = CutBaseName(record.files.fileName, interval.fromMs, interval.toMs);
    const bool csv = dialog.Csv();
    const QString offered = base + (csv ? ".csv" : ".cfg");
    const QString file = fragmentFile_ ? fragmentFile_(offered)
                                       : QFileDialog::getSaveFileName(
                                             this, QStringLiteral("Сохранить фрагмент"), offered,
                                             csv ? QStringLiteral("CSV (*.csv)")
                                                 : QStringLiteral("COMTRADE (*.cfg)"));
    if (file.isEmpty()) {
        return;
    }
    try {
        const SampleRange range = SamplesWithin(record.data, interval.fromMs, interval.toMs);
        if (csv) {
            WriteFragmentCsv(range, file);
        } else {
            WriteFragment(range, file, dialog.WithFormulaChannels());
        }
    } catch (const CutError& e) {
        MessagesOr(messages_).Show(MessageIcon::Error, "Ошибка", QString::fromUtf8(e.what()));
    }
}

void RecordWindow::WriteFragment(SampleRange range, const QString& file, bool formulaChannels) {
    QString base = file;
    if (base.endsWith(QStringLiteral(".cfg"), Qt::CaseInsensitive) ||
        base.endsWith(QStringLiteral(".dat"), Qt::CaseInsensitive)) {
        base.chop(4);
    }
    std::vector<ExtraChannel> extra;
    if (formulaChannels) {
        const FormulaChannelStore& store = document_->Session().FormulaChannels();
        for (std::size_t k = 0; k < store.size(); ++k) {
            extra.push_back({&store[k].info, &store[k].columns});
        }
    }
    WriteRecordCut(document_->Record(), range, base, encoding_, extra);
}

void RecordWindow::WriteFragmentCsv(SampleRange range, const QString& file) {
    const LoadedRecord& record = document_->Record();
    std::vector<std::size_t> analog;
    std::vector<ExtraChannel> extra;
    for (const AnalogStrip* strip : document_->AnalogStrips()->DisplayList()) {
        if (strip->isHidden() || strip->Columns() == nullptr) {
            continue;
        }
        const AnalogColumns* columns = strip->Columns();
        const auto recorded = std::find_if(record.data.analog.begin(), record.data.analog.end(),
                                           [columns](const auto& c) { return &c == columns; });
        if (recorded != record.data.analog.end()) {
            analog.push_back(static_cast<std::size_t>(recorded - record.data.analog.begin()));
        } else {
            extra.push_back({&strip->Info(), columns});
        }
    }
    std::vector<std::size_t> digital;
    for (const DiscreteStrip* strip : document_->DiscreteStrips()->DisplayList()) {
        const auto& columns = record.data.discrete;
        const auto recorded = std::find_if(columns.begin(), columns.end(), [strip](const auto& c) {
            return &c == strip->Columns();
        });
        if (!strip->isHidden() && recorded != columns.end()) {
            digital.push_back(static_cast<std::size_t>(recorded - columns.begin()));
        }
    }
    WriteCutCsv(record, range, {.analog = analog, .extra = extra, .digital = digital}, file);
}

void RecordWindow::ChannelView() {
    if (loading_ || !document_->Loaded()) {
        return;
    }
    if (visibilityWindow_ == nullptr) {
        const auto& x = document_->Record().data.xMs;
        visibilityWindow_ = new ChannelVisibilityWindow(settings_, this, messages_);
        visibilityWindow_->SetRecordStart(x.empty() ? 0.0 : x.front());
        visibilityWindow_->Init(document_->AnalogStrips(), document_->DiscreteStrips());
        visibilityWindow_->SetTemplate(document_->Template());
    }
    visibilityWindow_->show();
    visibilityWindow_->raise();
    visibilityWindow_->activateWindow();
}

void RecordWindow::ShowChangedOnly() {
    if (loading_ || !document_->Loaded()) {
        return;
    }
    // The open visibility window moves its lists and saves the view itself.
    if (visibilityWindow_ != nullptr) {
        visibilityWindow_->ShowOnlyChanged();
    } else {
        document_->ShowChangedOnly();
    }
}

void RecordWindow::RestorePlacement() {
    QWidget* frame = parentWidget();
    if (frame == nullptr) {
        return;
    }
    const WindowPlacement placement =
        store_.RestorePlacement({frame->geometry(), WindowState::Normal});
    // A placement stored in a larger main window must not leave the frame out of reach.
    const QWidget* area = frame->parentWidget();
    QRect rect = placement.rect;
    if (area != nullptr) {
        // A sliver stored by an older version opens at a usable size.
        rect.setSize(rect.size().expandedTo(UsableMinimum(area->size())));
        rect = FitIntoArea(rect, area->rect(), {});
    }
    frame->setGeometry(rect);
    normalFrame_ = rect;
    frame->installEventFilter(this);
    if (placement.state == WindowState::Maximized) {
        frame->showMaximized();
    }
}

void RecordWindow::StoreValues() {
    if (QWidget* frame = parentWidget(); frame != nullptr) {
        // Minimised or maximised, a window is remembered as it is when restored; an icon strip
        // or an empty rectangle is never what the next record should open at.
        const bool maximized = frame->isMaximized();
        const QRect rect = maximized || frame->isMinimized() ? normalFrame_ : frame->geometry();
        const QSize minimum = UsableMinimum(
            frame->parentWidget() != nullptr ? frame->parentWidget()->size() : rect.size());
        if (rect.width() >= minimum.width() && rect.height() >= minimum.height()) {
            store_.StorePlacement({rect, maximized ? WindowState::Maximized : WindowState::Normal});
        }
    }
    if (const int height = document_->AnalogStripHeight(); height > 0) {
        store_.WriteInteger(kAFrameGeightKey, height);
    }
    if (const int height = document_->DiscreteStripHeight(); height > 0) {
        store_.WriteInteger(kDFrameGeightKey, height);
    }
    if (settings_ == nullptr) {
        return;
    }
    try {
        settings_->UpdateFile();
    } catch (const SettingsError& e) {
        qWarning("%s", e.what());
    }
}

void RecordWindow::closeEvent(QCloseEvent* event) {
    if (loading_ || document_->Filling()) {
        // The load or analysis stops at its next pause and then closes the window.
        document_->Cancel();
        closeAfterLoad_ = true;
        event->ignore();
        return;
    }
    StoreValues();
    event->accept();
}

}  // namespace faultscope
