// The program as a person uses it: records opened in the main window, clicks, zoom commands,
// panel commands and grips, remembered state, refused records.
#include <gtest/gtest.h>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTest>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <cmath>
#include <csignal>

#include "core/settings/form_state_store.h"
#include "core/settings/ini_store.h"
#include "gui/app/main_window.h"
#include "gui/app/record_window.h"
#include "gui/app/termination_signals.h"
#include "gui/app/translations.h"
#include "gui/app/window_fit.h"
#include "gui/chart/chart.h"
#include "gui/chart/chart_test_support.h"
#include "gui/chart/line_series.h"
#include "gui/document/record_document.h"
#include "gui/views/analog_strip.h"
#include "large_record.h"
#include "record_writer.h"
#include "support/main_window_fixture.h"
#include "support/modal_dialog.h"
#include "support/test_paths.h"

namespace faultscope {
namespace {

using test::DemoRecord;

// A small record whose currents carry the recorder's 999999 gap marker; channel IB is nothing
// but gaps.
QString GapMarkers() {
    return QString::fromStdString(
        (test::SourceDir() / "tests" / "data" / "gap_markers.cfg").string());
}

QString Sample(const char* file) {
    return QString::fromStdString((test::SamplesDir() / file).string());
}

using AppTest = test::MainWindowFixture;

TEST_F(AppTest, OpeningTheDemoShowsItsPanelsAndTheCursorAtTheTrigger) {
    RecordWindow* w = Open(DemoRecord());
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(messages_.texts.empty());
    EXPECT_EQ(w->windowTitle(), "РЗА ВЛ-110 Северная-Заречная_ПС 110 кВ Северная — demo.cfg");
    EXPECT_TRUE(w->PnlA()->isVisible());
    EXPECT_TRUE(w->PnlD()->isVisible());
    EXPECT_TRUE(w->PnlTimeLine()->isVisible());
    RecordDocument* d = w->Document();
    ASSERT_TRUE(d->Loaded());
    ASSERT_EQ(d->AnalogStrips()->ChtList().size(), 8u);
    for (const AnalogStrip* strip : d->AnalogStrips()->ChtList()) {
        EXPECT_EQ(strip->CursorPoint(), 200);  // sample 201 is at the trigger
        EXPECT_TRUE(strip->ReadoutText().startsWith("Y = ")) << strip->ReadoutText().toStdString();
    }
}

TEST(RecordTitle, NamesAreTrimmedAndTheFileNameEndsThem) {
    const struct {
        const char* device;
        const char* station;
        const char* file;
        const char* title;
    } cases[] = {
        {"", "Sub1", "1999-ascii-pq.cfg", "Sub1 — 1999-ascii-pq.cfg"},
        {"  DFR01  ", " 189 ", "a.cfg", "DFR01_189 — a.cfg"},
        {"_Relay", "", "b.DAT", "Relay — b.DAT"},
        {" ", " ", "c.cfg", "c.cfg"},
    };
    for (const auto& item : cases) {
        RecordConfig cfg;
        cfg.rec_dev_id = item.device;
        cfg.station_name = item.station;
        EXPECT_EQ(RecordWindowTitle(cfg, item.file), QString::fromUtf8(item.title));
    }
}

TEST_F(AppTest, AClickOnAStripMovesEveryCursorToTheNearestSample) {
    RecordWindow* w = Open(DemoRecord());
    RecordDocument* d = w->Document();
    AnalogStrip* first = d->AnalogStrips()->ChtList()[0];
    Chart* cht = first->Cht();
    const double x = 50.2;  // between samples at 50.0 and 50.5: the nearer is 50.0
    const QPoint pos(static_cast<int>(std::lround(cht->XToPixel(x))), cht->height() / 2);
    QTest::mouseClick(cht, Qt::LeftButton, {}, pos);
    QApplication::processEvents();
    const std::ptrdiff_t p = first->CursorPoint();
    EXPECT_NEAR(d->Record().data.xMs[p], x, 0.5);
    for (const AnalogStrip* strip : d->AnalogStrips()->ChtList()) {
        EXPECT_EQ(strip->CursorPoint(), p);
    }
    const QString before = first->ReadoutText();
    QTest::mouseClick(cht, Qt::LeftButton, {}, QPoint(static_cast<int>(cht->XToPixel(-50)), 10));
    EXPECT_NE(first->ReadoutText(), before);
}

TEST_F(AppTest, ZoomCommandsChangeTheVisibleRanges) {
    RecordWindow* w = Open(DemoRecord());
    RecordDocument* d = w->Document();
    Axis* time = d->TimeLineView()->BottomAxis();
    EXPECT_DOUBLE_EQ(time->Minimum(), -100);
    EXPECT_DOUBLE_EQ(time->Maximum(), 399.5);
    Trigger("actXZoomIn");
    EXPECT_NEAR(time->Maximum() - time->Minimum(), 0.8 * 499.5, 1e-9);
    Trigger("actXZoomReset");
    EXPECT_DOUBLE_EQ(time->Minimum(), -100);
    const AmplitudeZoom full = d->AnalogStrips()->Zoom();
    Trigger("actYZoomIn");
    EXPECT_DOUBLE_EQ(d->AnalogStrips()->Zoom().max, full.max * 0.8);
    EXPECT_DOUBLE_EQ(d->AnalogStrips()->ChtList()[3]->Cht()->LeftAxis()->Maximum(), full.max * 0.8);
    // Ctrl+Alt+R resets the value zoom.
    QTest::keyClick(main_.get(), Qt::Key_R, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_DOUBLE_EQ(d->AnalogStrips()->Zoom().max, full.max);
}

TEST_F(AppTest, GapMarkersStayOutOfTheCommonValueRange) {
    RecordWindow* w = Open(GapMarkers());
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(w->Document()->Loaded());
    const AmplitudeZoom& zoom = w->Document()->AnalogStrips()->Zoom();
    // The largest current is 1000 A (raw 10000 × 0.1); the markers would give 999999.
    EXPECT_NEAR(zoom.fullMax, 1000, 1);
    EXPECT_NEAR(zoom.fullMin, -1000, 1);
    for (const AnalogStrip* strip : w->Document()->AnalogStrips()->ChtList()) {
        EXPECT_NEAR(strip->Cht()->LeftAxis()->Maximum(), 1000, 1);
    }
}

TEST_F(AppTest, TheStatusBarNamesTheChannelsWithSamplesOutsideTheirRange) {
    Open(GapMarkers());
    EXPECT_TRUE(main_->LblGaps()->isVisible());
    EXPECT_EQ(main_->LblGaps()->text(),
              "Вне диапазона: IA of the outgoing line to the northern "
              "substation 20 из 200, IB 200 из 200");
    RecordWindow* demo = Open(DemoRecord());
    EXPECT_FALSE(main_->LblGaps()->isVisible());
    RecordWindow* pq = Open(Sample("tshort__COMTRADE.jl/1999-ascii-pq.cfg"));
    EXPECT_TRUE(main_->LblGaps()->text().contains("из 3584"))
        << main_->LblGaps()->text().toStdString();
    main_->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(demo->parentWidget()));
    EXPECT_FALSE(main_->LblGaps()->isVisible());
    main_->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(pq->parentWidget()));
    EXPECT_TRUE(main_->LblGaps()->isVisible());
}

TEST_F(AppTest, EveryUnitGetsItsOwnRangeWithoutTheCommonScale) {
    RecordWindow* w = Open(GapMarkers());
    AnalogStripList* list = w->Document()->AnalogStrips();
    const auto maxOf = [list](std::size_t strip) {
        return list->ChtList()[strip]->Cht()->LeftAxis()->Maximum();
    };
    QAction* common = main_->Action("actYCommonScale");
    ASSERT_TRUE(common->isChecked());
    EXPECT_NEAR(maxOf(3), 1000, 1);  // the kV strip shares the currents' range
    common->trigger();
    EXPECT_NEAR(maxOf(0), 1000, 1);
    EXPECT_NEAR(maxOf(2), 1000, 1);  // IC (800 A at most) shares the range of IA
    EXPECT_NEAR(maxOf(3), 60, 0.1);  // UA, kV: raw 12000 × 0.005
    Trigger("actYZoomIn");
    EXPECT_NEAR(maxOf(3), 48, 0.1);
    EXPECT_NEAR(maxOf(0), 800, 1);
    Trigger("actYZoomReset");
    EXPECT_NEAR(maxOf(3), 60, 0.1);

    // Remembered, and applied to records opened later.
    main_->close();
    NewMain();
    EXPECT_FALSE(main_->Action("actYCommonScale")->isChecked());
    RecordWindow* again = Open(GapMarkers());
    EXPECT_NEAR(again->Document()->AnalogStrips()->ChtList()[3]->Cht()->LeftAxis()->Maximum(), 60,
                0.1);
    main_->Action("actYCommonScale")->trigger();
    EXPECT_NEAR(again->Document()->AnalogStrips()->ChtList()[3]->Cht()->LeftAxis()->Maximum(), 1000,
                1);
}

TEST_F(AppTest, ArrowKeysStepTheCursorAndXZoomKeepsItInView) {
    RecordWindow* w = Open(DemoRecord());
    RecordDocument* d = w->Document();
    QWidget* cht = d->AnalogStrips()->ChtList()[0]->Cht();
    ASSERT_EQ(d->CursorSample(), 200);
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        std::ptrdiff_t sample;
    } steps[] = {
        {Qt::Key_Right, {}, 201},
        {Qt::Key_Left, {}, 200},
        {Qt::Key_Right, Qt::ShiftModifier, 210},
        {Qt::Key_Left, Qt::ShiftModifier, 200},
        {Qt::Key_End, {}, 999},
        {Qt::Key_Right, {}, 999},
        {Qt::Key_Home, {}, 0},
        {Qt::Key_Left, Qt::ShiftModifier, 0},
    };
    for (const auto& step : steps) {
        QTest::keyClick(cht, step.key, step.modifiers);
        EXPECT_EQ(d->CursorSample(), step.sample) << step.key;
        EXPECT_EQ(d->AnalogStrips()->ChtList()[3]->CursorPoint(), step.sample);
    }
    // The cursor at the record's start stays in view while zooming in about the middle.
    Axis* time = d->TimeLineView()->BottomAxis();
    for (int i = 0; i < 5; ++i) {
        Trigger("actXZoomIn");
        EXPECT_LE(time->Minimum(), d->Record().data.xMs[0]);
    }
    EXPECT_LT(time->Maximum() - time->Minimum(), 0.5 * 499.5);
    // Stepping past the visible range scrolls it along.
    QTest::keyClick(cht, Qt::Key_End);
    EXPECT_GE(time->Maximum(), 399.5);
}

TEST(WindowFit, WindowsStayInsideTheirArea) {
    const QRect screen(0, 0, 1024, 738);
    const QMargins frame(4, 30, 4, 4);
    const struct {
        QRect stored, fitted;
    } cases[] = {
        {{100, 100, 600, 400}, {100, 100, 600, 400}},
        {{0, 0, 1600, 1000}, {4, 30, 1016, 704}},
        {{-300, -50, 800, 600}, {4, 30, 800, 600}},
        {{900, 700, 800, 600}, {220, 134, 800, 600}},
    };
    for (const auto& item : cases) {
        EXPECT_EQ(FitIntoArea(item.stored, screen, frame), item.fitted) << item.stored.x();
    }
    const QRect area(0, 0, 800, 600);
    const QList<QPoint> taken = {{0, 0}, {24, 24}};
    EXPECT_EQ(CascadeRect(area, area, taken, 24), QRect(48, 48, 752, 552));
    EXPECT_EQ(CascadeRect(QRect(100, 0, 300, 200), area, taken, 24), QRect(100, 0, 300, 200));
    // Past the middle the cascade starts again at the top left.
    EXPECT_EQ(CascadeRect(QRect(400, 300, 200, 100), area, {{400, 300}}, 24),
              QRect(0, 0, 200, 100));
}

TEST_F(AppTest, TheMainWindowOpensOnTheScreenWhateverWasStored) {
    FormStateStore(ini_.get(), "%FORM_NAME%", "frmMain")
        .StorePlacement({QRect(-400, -200, 5000, 4000), WindowState::Normal});
    main_.reset();
    MainWindow restored(ini_.get());
    restored.show();
    QApplication::processEvents();
    const QRect screen = restored.screen()->availableGeometry();
    // The frame, title bar included, lies on the screen.
    EXPECT_TRUE(screen.contains(restored.frameGeometry())) << restored.frameGeometry().width();
}

TEST_F(AppTest, RecordWindowsCascadeAndTile) {
    const QString files[] = {DemoRecord(), GapMarkers(),
                             Sample("tshort__COMTRADE.jl/1999-ascii-pq.cfg")};
    for (const QString& file : files) {
        Open(file);
    }
    const QList<QMdiSubWindow*> frames = main_->MdiArea()->subWindowList();
    ASSERT_EQ(frames.size(), 3);
    const QRect area = main_->MdiArea()->viewport()->rect();
    QSet<QPair<int, int>> corners;
    for (const QMdiSubWindow* frame : frames) {
        EXPECT_TRUE(area.contains(frame->geometry())) << frame->windowTitle().toStdString();
        corners.insert({frame->x(), frame->y()});
    }
    EXPECT_EQ(corners.size(), 3);

    const QList<QAction*> view = main_->menuBar()->actions()[1]->menu()->actions();
    EXPECT_TRUE(view.contains(main_->Action("actCascade")));
    EXPECT_TRUE(view.contains(main_->Action("actTile")));
    Trigger("actTile");
    QTest::qWait(50);
    for (int i = 0; i < 3; ++i) {
        // Every tile is whole, time line included.
        EXPECT_TRUE(area.contains(frames[i]->geometry())) << i;
        auto* w = qobject_cast<RecordWindow*>(frames[i]->widget());
        const QRect line(w->PnlTimeLine()->mapTo(frames[i], QPoint(0, 0)),
                         w->PnlTimeLine()->size());
        EXPECT_TRUE(frames[i]->rect().contains(line)) << i;
        for (int j = i + 1; j < 3; ++j) {
            EXPECT_FALSE(frames[i]->geometry().intersects(frames[j]->geometry()));
        }
    }
    Trigger("actCascade");
    QApplication::processEvents();
    EXPECT_LT(frames[0]->y(), frames[1]->y());
    EXPECT_LT(frames[1]->y(), frames[2]->y());
}

TEST_F(AppTest, ArrangingAndClosingKeepWindowsUsable) {
    for (int i = 0; i < 4; ++i) {
        Open(DemoRecord());
    }
    const QList<QMdiSubWindow*> frames = main_->MdiArea()->subWindowList();
    ASSERT_EQ(frames.size(), 4);
    const QRect area = main_->MdiArea()->viewport()->rect();
    Trigger("actCascade");
    for (const QMdiSubWindow* frame : frames) {
        EXPECT_GE(frame->width(), 400);
        EXPECT_GE(frame->height(), 300);
        EXPECT_TRUE(area.contains(frame->geometry()));
    }
    // Closing a minimised or maximised window stores the placement it has when restored.
    const QRect usable = frames[0]->geometry();
    const auto stored = [this] {
        return QRect(ini_->ReadInteger("AllOscillForm", "Left", -1),
                     ini_->ReadInteger("AllOscillForm", "Top", -1),
                     ini_->ReadInteger("AllOscillForm", "Width", -1),
                     ini_->ReadInteger("AllOscillForm", "Height", -1));
    };
    frames[0]->showMinimized();
    QApplication::processEvents();
    frames[0]->close();
    QApplication::processEvents();
    EXPECT_EQ(stored().size(), usable.size());
    frames[1]->showMaximized();
    QApplication::processEvents();
    frames[1]->close();
    QApplication::processEvents();
    EXPECT_GE(stored().width(), 400);
    EXPECT_GE(stored().height(), 300);
    // The next record opens at a usable size.
    Open(DemoRecord());
    EXPECT_GE(main_->MdiArea()->activeSubWindow()->width(), 400);
}

TEST_F(AppTest, TheOpenDialogFiltersRecordsAndStartsInTheLastFolder) {
    const QString folder = QFileInfo(GapMarkers()).absolutePath();
    QStringList filters;
    QString start;
    const auto answer = [&](const QString& file) {
        test::OnModal<QFileDialog>([&, file](QFileDialog* dialog) {
            filters = dialog->nameFilters();
            start = dialog->directory().absolutePath();
            // Typed as a person would: choosing the file in the list depends on the dialog
            // having read the folder yet, which it does in a thread of its own.
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(name, nullptr);
            name->setText(file);
            static_cast<QDialog*>(dialog)->accept();
        });
        Trigger("acOpen");
        QApplication::processEvents();
    };
    answer(GapMarkers());
    EXPECT_EQ(filters, QStringList({"Осциллограммы (*.cfg *.dat *.CFG *.DAT)", "Все файлы (*)"}));
    ASSERT_EQ(main_->MdiArea()->subWindowList().size(), 1);
    main_->close();
    NewMain();
    answer(DemoRecord());
    EXPECT_EQ(start, folder);
    EXPECT_EQ(main_->MdiArea()->subWindowList().size(), 1);
}

TEST(Executable, HelpAndVersionNeedNoDisplay) {
    const auto run = [](const QString& option) {
        QProcess app;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("QT_QPA_PLATFORM");
        app.setProcessEnvironment(environment);
        app.start(FAULTSCOPE_APP, {option});
        EXPECT_TRUE(app.waitForFinished(10000));
        EXPECT_EQ(app.exitCode(), 0) << option.toStdString();
        return QString::fromUtf8(app.readAllStandardOutput());
    };
    EXPECT_EQ(run("--version"), QString("faultscope ") + FAULTSCOPE_VERSION + "\n");
    EXPECT_TRUE(run("--help").startsWith("Usage: faultscope [RECORD ...]\n"));
}

// The session ending or Ctrl+C closes the window as the user would; the next signal after the
// watcher is gone ends the process as before.
TEST(TerminationSignals, ASignalClosesTheWindowInsteadOfKillingTheProcess) {
    QWidget window;
    window.show();
    {
        TerminationSignals closeOnSignal(&window);
        for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
            window.show();
            ASSERT_EQ(::raise(signal), 0);
            EXPECT_TRUE(QTest::qWaitFor([&window] { return !window.isVisible(); })) << signal;
        }
    }
    struct sigaction now = {};
    ::sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}

TEST(Translations, TheToolkitSpeaksRussian) {
    QObject owner;
    ASSERT_TRUE(InstallToolkitTranslation(&owner));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "All Files (*)"), "Все файлы (*)");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Отмена");
}

TEST_F(AppTest, LoadingNamesItsStepsAndOffersCancel) {
    QStringList texts;
    bool cancelShown = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (RecordWindow* w = main_->ActiveRecordWindow(); w != nullptr && w->Loading()) {
            if (!texts.contains(w->Pb()->format())) {
                texts.push_back(w->Pb()->format());
            }
            cancelShown = cancelShown || w->BtnCancel()->isVisible();
        }
    });
    watch.start(0);
    RecordWindow* w = Open(DemoRecord());
    watch.stop();
    ASSERT_TRUE(w->Document()->Loaded());
    EXPECT_TRUE(cancelShown);
    EXPECT_TRUE(texts.contains("Расчёт гармоник…")) << texts.join("|").toStdString();
    EXPECT_TRUE(texts.contains("Построение графиков…")) << texts.join("|").toStdString();
    EXPECT_FALSE(w->BtnCancel()->isVisible());

    QTimer::singleShot(0, [this] {
        if (RecordWindow* loading = main_->ActiveRecordWindow(); loading != nullptr) {
            QTest::mouseClick(loading->BtnCancel(), Qt::LeftButton);
        }
    });
    Open(GapMarkers());
    QApplication::processEvents();
    EXPECT_EQ(main_->MdiArea()->subWindowList().size(), 1);
    EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(AppTest, PanelCommandsNeverHideBothPanels) {
    RecordWindow* w = Open(DemoRecord());
    Trigger("actDChanelView");
    EXPECT_FALSE(w->PnlD()->isVisible());
    EXPECT_FALSE(main_->Action("actDChanelView")->isChecked());
    Trigger("actAChanelView");  // the analog panel cannot go too
    EXPECT_TRUE(w->PnlA()->isVisible());
    Trigger("actDChanelView");
    EXPECT_TRUE(w->PnlD()->isVisible());
    Trigger("actAChanelView");
    EXPECT_FALSE(w->PnlA()->isVisible());
    Trigger("actDChanelView");
    EXPECT_TRUE(w->PnlD()->isVisible());
}

TEST_F(AppTest, HarmonicCommandsShowTheCurvesOnEveryStrip) {
    RecordWindow* w = Open(DemoRecord());
    // The channels are analysed only when a curve is first asked for.
    EXPECT_EQ(w->Document()->Record().data.analog[0].harmonics.size(), 0U);
    Trigger("actACht3");
    for (const AnalogStrip* strip : w->Document()->AnalogStrips()->ChtList()) {
        EXPECT_TRUE(strip->HarmonicVisible(3));
        EXPECT_FALSE(strip->HarmonicVisible(1));
        EXPECT_EQ(strip->SCurrent3()->size(), strip->Series()->size());
    }
    emit main_->PmAchl()->aboutToShow();
    EXPECT_TRUE(main_->Action("actACht3")->isChecked());
    EXPECT_FALSE(main_->Action("actACht1")->isChecked());
    Trigger("actACht3");
    EXPECT_FALSE(w->Document()->AnalogStrips()->ChtList()[0]->HarmonicVisible(3));
}

// Times that go back load, but cannot be analysed: asking for a curve then shows why.
TEST_F(AppTest, AHarmonicCommandTheRecordCannotServeShowsItsMessage) {
    const QString base = QDir(dir_.path()).filePath("back");
    QFile cfg(base + ".cfg");
    ASSERT_TRUE(cfg.open(QIODevice::WriteOnly));
    cfg.write(
        "S,D,1999\r\n1,1A,0D\r\n1,Ua,A,,kV,1,0,0,-100,100,1,1,P\r\n50\r\n1\r\n"
        "0,40\r\n10/12/2026,14:23:05.000000\r\n10/12/2026,14:23:05.010000\r\n"
        "ASCII\r\n1\r\n");
    cfg.close();
    QFile dat(base + ".dat");
    ASSERT_TRUE(dat.open(QIODevice::WriteOnly));
    for (int i = 1; i <= 40; ++i) {
        // The time stamps of samples 21 to 40 repeat those of samples 1 to 20.
        dat.write(QByteArray::number(i) + "," + QByteArray::number(((i - 1) % 20) * 1000) + "," +
                  QByteArray::number(i % 7) + "\r\n");
    }
    dat.close();
    main_->CbbCharPage()->setCurrentIndex(0);
    RecordWindow* w = Open(base + ".cfg");
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(messages_.texts.empty()) << messages_.texts[0].toStdString();
    Trigger("actACht1");
    ASSERT_EQ(messages_.texts.size(), 1U);
    EXPECT_TRUE(messages_.texts[0].startsWith("Ошибка расчёта гармоник канала «Ua»"))
        << messages_.texts[0].toStdString();
}

TEST_F(AppTest, GripShareAndStripHeightsAreRemembered) {
    RecordWindow* w = Open(DemoRecord());
    QWidget* grip = w->PnlResize();
    const int before = w->PnlA()->height();
    QTest::mousePress(grip, Qt::LeftButton, {}, QPoint(5, 1));
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 1 - 60), grip->mapToGlobal(QPointF(5, 1 - 60)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grip, &move);
    QTest::mouseRelease(grip, Qt::LeftButton, {}, QPoint(5, -59));
    const int after = w->PnlA()->height();
    EXPECT_LT(after, before);
    w->Document()->AnalogStrips()->DisplayList()[0]->SetHeight(140);
    w->parentWidget()->close();
    QApplication::processEvents();
    EXPECT_NE(ini_->ReadString("AllOscillForm", "ADPnlRatio"), "");
    EXPECT_EQ(ini_->ReadInteger("AllOscillForm", "AFrameGeight", 0), 140);

    RecordWindow* again = Open(DemoRecord());
    EXPECT_EQ(again->Document()->AnalogStrips()->ChtList()[1]->height(), 140);
    EXPECT_NEAR(again->PnlA()->height(), after, 2);
}

TEST_F(AppTest, RefusedRecordsShowTheirMessageOnceAndLeaveNoWindow) {
    Open(Sample("yonwoo9__go-comtrade/test2.cfg"));
    QApplication::processEvents();
    ASSERT_EQ(messages_.texts.size(), 1u);
    EXPECT_EQ(messages_.texts[0], "Ошибка создания оси времени. nrates не равен одному");
    EXPECT_TRUE(main_->MdiArea()->subWindowList().isEmpty());
}

TEST_F(AppTest, AnUnknownEncodingLeavesAnEmptyWindowThatIgnoresCommands) {
    main_->CbbCharPage()->setEditText("KOI8");
    Open(DemoRecord());
    ASSERT_EQ(messages_.texts.size(), 1u);
    EXPECT_EQ(messages_.texts[0], "Неизвесная кодировка");
    ASSERT_EQ(main_->MdiArea()->subWindowList().size(), 1);
    for (const char* name :
         {"actXZoomIn", "actYZoomIn", "actAChanelView", "actDChanelView", "actACht1"}) {
        Trigger(name);
    }
    emit main_->PmAchl()->aboutToShow();
    EXPECT_EQ(messages_.texts.size(), 1u);
}

int ThreadCount() {
    // Qt's own pool keeps idle threads for a while after some drawing; they are not ours.
    QThreadPool::globalInstance()->waitForDone();
    // A thread that has finished may take a moment to leave the system's list: count until two
    // counts a little apart agree.
    int count = -1;
    for (int round = 0; round < 50; ++round) {
        const auto now = static_cast<int>(
            QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
        if (now == count) {
            break;
        }
        count = now;
        QThread::msleep(20);
    }
    return count;
}

// Whether the process is back to at most `threads` threads; a thread left behind never leaves.
bool NoThreadAbove(int threads) {
    QElapsedTimer waited;
    waited.start();
    while (ThreadCount() > threads) {
        if (waited.elapsed() > 2000) {
            return false;
        }
        QThread::msleep(10);
    }
    return true;
}

// A long record whose channels "Ia" and "Ib" are analysed during every load, for their trace;
// when not `traced`, its channels are voltages that nothing analyses before it is asked to.
bool WriteTracedRecord(const QString& base, std::uint32_t samples, bool traced = true) {
    tools::RecordSpec spec;
    spec.station = "Test";
    spec.device = "Traced";
    spec.analog = {{traced ? "Ia" : "Uc", "A", "Bay", "A"},
                   {traced ? "Ib" : "Ub", "B", "Bay", "A"},
                   {"Ua", "A", "Bay", "kV"}};
    spec.rate = 10000.0;
    spec.samples = samples;
    spec.firstTime = "10/12/2026,14:23:05.000000";
    spec.triggerTime = "10/12/2026,14:23:05.100000";
    return tools::WriteRecord(
        base, spec, [](std::uint32_t i, std::vector<int>& raw, std::vector<int>&) {
            for (std::size_t c = 0; c < raw.size(); ++c) {
                raw[c] = static_cast<int>(1000.0 * std::sin(0.0314159 * i + 2.0 * c));
            }
        });
}

// Closing the record window and then the main window while a large record loads, from inside
// the load's progress callback: once while lines are read, once while its traced channels are
// analysed on worker threads. The load stops, both windows close, and no thread is left behind.
TEST_F(AppTest, ClosingWhileALargeRecordLoadsEndsTheLoadAndEveryThread) {
    const QString base = QDir(dir_.path()).filePath("large");
    ASSERT_TRUE(WriteTracedRecord(base, 400000));
    for (const bool whileAnalysing : {false, true}) {
        main_->SetTraceFolder(dir_.path());
        const int threads = ThreadCount();
        bool closed = false;
        QTimer closer;
        closer.setInterval(0);
        QObject::connect(&closer, &QTimer::timeout, [&] {
            RecordWindow* w = main_->ActiveRecordWindow();
            if (closed || w == nullptr || !w->Loading()) {
                return;
            }
            if (whileAnalysing && w->Pb()->value() < w->Pb()->maximum()) {
                return;
            }
            w->parentWidget()->close();
            main_->close();
            closed = true;
        });
        closer.start();
        main_->OpenRecord(base + ".cfg");
        closer.stop();
        for (int i = 0; i < 3; ++i) {
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QApplication::processEvents();
        }
        EXPECT_TRUE(closed) << whileAnalysing;
        EXPECT_TRUE(main_->MdiArea()->subWindowList().isEmpty()) << whileAnalysing;
        EXPECT_FALSE(main_->isVisible()) << whileAnalysing;
        EXPECT_TRUE(NoThreadAbove(threads)) << whileAnalysing;
        // The load ended before its end: the traces of a cancelled load are not written.
        EXPECT_FALSE(QFile::exists(QDir(dir_.path()).filePath("Ia.csv"))) << whileAnalysing;
        EXPECT_TRUE(messages_.texts.empty());
        NewMain();
    }
}

// The first harmonic curve analyses the channels on worker threads with its progress and
// "Отмена": a cancel leaves the record usable with the curve hidden, and the next request
// analyses again; closing the record window, or the main window, from the progress callback ends
// the analysis and closes them, and no thread is left behind.
TEST_F(AppTest, TheFirstHarmonicCurveCanBeCancelledOrItsWindowClosedWhileAnalysed) {
    const QString base = QDir(dir_.path()).filePath("voltages");
    ASSERT_TRUE(WriteTracedRecord(base, 400000, false));
    enum class Stop { Cancel, CloseRecord, CloseMain };
    for (const Stop stop : {Stop::Cancel, Stop::CloseRecord, Stop::CloseMain}) {
        const int threads = ThreadCount();
        RecordWindow* w = Open(base + ".cfg");
        ASSERT_NE(w, nullptr);
        bool stopped = false;
        QTimer stopper;
        stopper.setInterval(0);
        QObject::connect(&stopper, &QTimer::timeout, [&] {
            if (stopped || !w->Document()->Filling()) {
                return;
            }
            stopped = true;
            if (stop == Stop::Cancel) {
                ASSERT_NE(w->FillProgress(), nullptr);
                auto* cancel = w->FillProgress()->findChild<QPushButton*>();
                ASSERT_NE(cancel, nullptr);
                EXPECT_EQ(cancel->text(), "Отмена");
                cancel->click();
            } else if (stop == Stop::CloseRecord) {
                w->parentWidget()->close();
            } else {
                main_->close();
            }
        });
        stopper.start();
        // The menu shows the new record's curves hidden; its first entry shows one.
        emit main_->PmAchl()->aboutToShow();
        Trigger("actACht1");
        stopper.stop();
        ASSERT_TRUE(stopped) << static_cast<int>(stop);
        if (stop == Stop::Cancel) {
            EXPECT_EQ(w->FillProgress(), nullptr);
            EXPECT_FALSE(w->Document()->ChtIsVisible(1));
            EXPECT_FALSE(main_->Action("actACht1")->isChecked());
            EXPECT_EQ(w->Document()->Record().data.analog[0].harmonics.size(), 0U);
            EXPECT_TRUE(NoThreadAbove(threads));
            Trigger("actACht1");
            EXPECT_TRUE(w->Document()->ChtIsVisible(1));
            EXPECT_TRUE(main_->Action("actACht1")->isChecked());
            EXPECT_EQ(w->Document()->Record().data.analog[0].harmonics.size(), 400000U);
            w->parentWidget()->close();
        }
        for (int i = 0; i < 3; ++i) {
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QApplication::processEvents();
        }
        EXPECT_TRUE(main_->MdiArea()->subWindowList().isEmpty()) << static_cast<int>(stop);
        EXPECT_EQ(main_->isVisible(), stop != Stop::CloseMain);
        EXPECT_TRUE(NoThreadAbove(threads)) << static_cast<int>(stop);
        EXPECT_TRUE(messages_.texts.empty()) << messages_.texts.front().toStdString();
        if (stop == Stop::CloseMain) {
            NewMain();
        }
    }
}

TEST_F(AppTest, CommandsWithoutARecordWindowDoNothing) {
    for (const char* name :
         {"actXZoomIn", "actXZoomOut", "actXZoomReset", "actYZoomIn", "actYZoomOut",
          "actYZoomReset", "actAChanelView", "actDChanelView", "actACht1"}) {
        Trigger(name);
    }
    EXPECT_TRUE(main_->Action("actAChanelView")->isChecked());
    EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(AppTest, TheEncodingChoiceIsRemembered) {
    main_->CbbCharPage()->setCurrentIndex(1);
    main_->close();
    NewMain();
    EXPECT_EQ(main_->CbbCharPage()->currentIndex(), 1);
}

TEST_F(AppTest, EveryAcceptedSampleRecordOpens) {
    main_->CbbCharPage()->setCurrentIndex(0);
    for (const char* file :
         {"commander-apemanx__Comtrade-DC-Offset/Sample.cfg",
          "tshort__COMTRADE.jl/1999-ascii-pq.cfg", "tshort__COMTRADE.jl/1991-ascii-sel.dat",
          "Nazir__COMTRADE/test.cfg"}) {
        RecordWindow* w = Open(Sample(file));
        ASSERT_NE(w, nullptr) << file;
        EXPECT_TRUE(w->Document()->Loaded()) << file;
    }
    EXPECT_TRUE(messages_.texts.empty()) << messages_.texts.front().toStdString();
    EXPECT_EQ(main_->MdiArea()->subWindowList().size(), 4);
}

}  // namespace
}  // namespace faultscope
