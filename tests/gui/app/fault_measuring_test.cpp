// The engineer's questions about a fault on the demo record, asked in the window: the values at
// a time label's two lines, the list of events, cutting a fragment out, the cursor's date-time.
#include <gtest/gtest.h>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <cmath>
#include <sstream>

#include "cli/cli.h"
#include "core/analysis/harmonics_at.h"
#include "core/session/record_session.h"
#include "gui/chart/axis.h"
#include "gui/chart/chart.h"
#include "gui/chart/vertical_line.h"
#include "gui/dialogs/event_list_window.h"
#include "gui/dialogs/label_values_window.h"
#include "gui/dialogs/save_fragment_dialog.h"
#include "gui/views/analog_strip.h"
#include "gui/views/analog_strip_list.h"
#include "gui/views/discrete_strip_list.h"
#include "gui/views/time_label.h"
#include "gui/views/time_label_list.h"
#include "gui/views/time_line.h"
#include "support/main_window_fixture.h"

namespace faultscope {
namespace {

class FaultMeasuringTest : public test::MainWindowFixture {
  protected:
    QString RecordToOpen() const override { return test::DemoRecord(); }

    TimeLabel* AddLabel() {
        Trigger("actAddTimeLabel");
        return doc_->TimeLabels()->List().back();
    }
    QPoint At(TimeLabel* label, double ms) {
        return {static_cast<int>(std::lround(label->Cht()->XToPixel(ms))),
                label->Cht()->height() / 2};
    }
    void DragLine(TimeLabel* label, VerticalLine* line, double ms) {
        QTest::mousePress(label->Cht(), Qt::LeftButton, {}, At(label, line->Value()));
        QTest::mouseMove(label->Cht(), At(label, ms));
        QTest::mouseRelease(label->Cht(), Qt::LeftButton, {}, At(label, ms));
    }
    std::size_t SampleAt(double ms) const {
        return static_cast<std::size_t>(std::lround((ms + 100.0) / 0.5));
    }
    static QString Cell(const QTableWidget* table, int row, int column) {
        return table->item(row, column)->text();
    }
    static int RowOf(const QTableWidget* table, const QString& channel) {
        for (int r = 0; r < table->rowCount(); ++r) {
            if (Cell(table, r, 0) == channel) {
                return r;
            }
        }
        return -1;
    }
};

TEST_F(FaultMeasuringTest, ALabelsValueTableReadsBothLinesAndFollowsADrag) {
    TimeLabel* label = AddLabel();
    DragLine(label, label->LineLeft(), -10.0);
    DragLine(label, label->LineRight(), 30.0);
    QTest::mouseClick(label->BtnValues(), Qt::LeftButton);
    ASSERT_EQ(window_->LabelValuesWindows().size(), 1u);
    LabelValuesWindow* values = window_->LabelValuesWindows().front();
    ASSERT_TRUE(values->isVisible());
    EXPECT_TRUE(values->windowTitle().startsWith("Значения — "));
    const QTableWidget* table = values->Table();
    EXPECT_EQ(table->rowCount(), 8 + 15);  // every shown strip; the spare channel has none

    const LoadedRecord& r = doc_->Record();
    const auto expectRow = [&](double leftMs, double rightMs) {
        const int row = RowOf(table, "IA ВЛ-110");
        ASSERT_GE(row, 0);
        const std::size_t left = SampleAt(leftMs);
        const std::size_t right = SampleAt(rightMs);
        const AnalogColumns& ia = r.data.analog[0];
        const auto rms = [&](std::size_t i) {
            return ReadHarmonicsAt(r.data.xMs, ia, r.cfg.freq, i, "IA").value().rms[0];
        };
        EXPECT_EQ(Cell(table, row, 1), "А");
        EXPECT_DOUBLE_EQ(QLocale().toDouble(Cell(table, row, 2)), ia.Value(left));
        EXPECT_NEAR(QLocale().toDouble(Cell(table, row, 3)), rms(left), 5e-4);
        EXPECT_DOUBLE_EQ(QLocale().toDouble(Cell(table, row, 4)), ia.Value(right));
        EXPECT_NEAR(QLocale().toDouble(Cell(table, row, 7)), rms(right) - rms(left), 1e-3);
    };
    expectRow(-10.0, 30.0);
    // The trip of phase A shows as a change between the lines.
    const int trip = RowOf(table, "Отключение ф. А");
    ASSERT_GE(trip, 0);
    EXPECT_EQ(Cell(table, trip, 2), "0");
    EXPECT_EQ(Cell(table, trip, 4), "1");
    EXPECT_NE(values->Times()->text().indexOf("14:23:05.213000"), -1)
        << values->Times()->text().toStdString();
    EXPECT_NE(values->Times()->text().indexOf("∆T = 40"), -1);

    DragLine(label, label->LineLeft(), 20.0);
    expectRow(20.0, 30.0);

    QApplication::clipboard()->clear();
    QTest::keyClick(values->Table(), Qt::Key_C, Qt::ControlModifier);
    const QString copied = QApplication::clipboard()->text();
    EXPECT_TRUE(copied.contains("Канал\tЕд. изм.\tY лев.")) << copied.toStdString();
    EXPECT_TRUE(copied.contains("IA ВЛ-110\tА\t")) << copied.toStdString();

    // The label goes, and its table with it.
    QTest::mouseClick(label->BtnClose2(), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([this] { return window_->LabelValuesWindows().empty(); }));
}

TEST_F(FaultMeasuringTest, TheEventListMatchesTheCommandLineFiltersAndMovesTheCursor) {
    ASSERT_NE(main_->Action("actEvents"), nullptr);
    Trigger("actEvents");
    EventListWindow* events = window_->EventsWindow();
    ASSERT_NE(events, nullptr);
    ASSERT_TRUE(events->isVisible());

    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(cli::Run({"events", test::DemoRecord().toStdString()}, QString(), out, err), 0);
    std::istringstream lines(out.str());
    std::string line;
    std::getline(lines, line);
    std::vector<std::string> channels;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string field;
        for (int k = 0; k < 4; ++k) {
            std::getline(fields, field, ',');
        }
        channels.push_back(field);
    }
    QTableWidget* table = events->Table();
    ASSERT_EQ(static_cast<std::size_t>(table->rowCount()), channels.size());
    for (int r = 0; r < table->rowCount(); ++r) {
        EXPECT_EQ(Cell(table, r, 2).toStdString(), channels[static_cast<std::size_t>(r)]);
    }
    EXPECT_EQ(Cell(table, 0, 0), "8.000");
    EXPECT_TRUE(Cell(table, 0, 1).endsWith("05.231000")) << Cell(table, 0, 1).toStdString();
    EXPECT_EQ(Cell(table, 0, 3), "↑ 1");

    events->Filter()->setText("пуск");
    for (int r = 0; r < table->rowCount(); ++r) {
        EXPECT_TRUE(Cell(table, r, 2).startsWith("Пуск")) << Cell(table, r, 2).toStdString();
    }
    EXPECT_GE(table->rowCount(), 3);
    const int filtered = table->rowCount();
    events->FirstStatesBox()->click();
    EXPECT_EQ(table->rowCount(), filtered + 3);  // "Пуск ДЗ", "Пуск ТЗНП", "Пуск ОАПВ"
    events->FirstStatesBox()->click();
    events->Filter()->clear();

    // Zoomed away from the fault, a double click on the trip brings the cursor and the view
    // there.
    doc_->MoveCursorToSample(900);
    for (int i = 0; i < 4; ++i) {
        Trigger("actXZoomIn");
    }
    int row = 0;
    while (row < table->rowCount() && Cell(table, row, 2) != "Отключение ф. А") {
        ++row;
    }
    ASSERT_LT(row, table->rowCount());
    table->scrollToItem(table->item(row, 0));
    const QRect cell = table->visualItemRect(table->item(row, 0));
    // A double click as the system delivers it: a press and release, then the second press.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    const std::size_t sample = events->Rows()[static_cast<std::size_t>(row)].sample;
    EXPECT_EQ(doc_->CursorSample(), static_cast<std::ptrdiff_t>(sample));
    const Axis* axis = doc_->TimeLineView()->BottomAxis();
    const double x = doc_->Record().data.xMs[sample];
    EXPECT_TRUE(axis->Minimum() <= x && x <= axis->Maximum());
    EXPECT_TRUE(doc_->TimeLineView()->CursorTimeText().endsWith("05.247000"))
        << doc_->TimeLineView()->CursorTimeText().toStdString();

    table->clearSelection();
    QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
    const QStringList copied = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(copied.size(), table->rowCount() + 1);
    EXPECT_EQ(copied.front(), "Время, мс\tДата и время\tКанал\tСостояние");
}

TEST_F(FaultMeasuringTest, AFragmentOfALabelsIntervalOpensAgainWithItsSamples) {
    TimeLabel* label = AddLabel();
    DragLine(label, label->LineLeft(), -20.0);
    DragLine(label, label->LineRight(), 80.0);
    QString offered;
    const QString target = QDir(dir_.path()).filePath("fault.cfg");
    window_->SetFragmentChoosers(
        [](SaveFragmentDialog& dialog) {
            EXPECT_FALSE(dialog.FormulaBox()->isEnabled());  // the demo has no formula channel
            dialog.IntervalBox()->setCurrentIndex(1);
            return true;
        },
        [&](const QString& name) {
            offered = name;
            return target;
        });
    Trigger("actSaveFragment");
    EXPECT_EQ(offered, "demo_-20_80.cfg");
    ASSERT_TRUE(messages_.texts.empty()) << messages_.texts.front().toStdString();
    RecordSession cut{QString()};
    cut.Load(target, {});
    EXPECT_EQ(cut.Record().data.SampleCount(), 201u);
    EXPECT_EQ(cut.Record().data.analog[0].Value(0), doc_->Record().data.analog[0].Value(160));

    // The CSV holds the shown channels only.
    doc_->AnalogStrips()->DisplayList()[1]->hide();
    const QString csv = QDir(dir_.path()).filePath("fault.csv");
    window_->SetFragmentChoosers(
        [](SaveFragmentDialog& dialog) {
            dialog.CsvButton()->setChecked(true);
            return true;
        },
        [&](const QString& name) {
            offered = name;
            return csv;
        });
    Trigger("actSaveFragment");
    EXPECT_TRUE(offered.endsWith(".csv"));
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString header = QString::fromUtf8(file.readLine()).trimmed();
    EXPECT_TRUE(header.startsWith("time_ms,IA ВЛ-110,IC ВЛ-110")) << header.toStdString();

    // A folder that is not there: said, and nothing written.
    window_->SetFragmentChoosers(
        [](SaveFragmentDialog&) { return true; },
        [&](const QString&) { return QDir(dir_.path()).filePath("missing/fault.cfg"); });
    Trigger("actSaveFragment");
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].caption, "Ошибка");
    EXPECT_FALSE(QFileInfo::exists(QDir(dir_.path()).filePath("missing")));
}

TEST_F(FaultMeasuringTest, TheNewCommandsSitInTheirMenusAndOnTheToolBar) {
    const auto menuHas = [this](const QString& menu, const char* action) {
        for (QAction* m : main_->menuBar()->actions()) {
            if (m->text() == menu && m->menu()->actions().contains(main_->Action(action))) {
                return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(menuHas("Файл", "actSaveFragment"));
    EXPECT_EQ(main_->Action("actSaveFragment")->text(), "Сохранить фрагмент…");
    EXPECT_TRUE(menuHas("Инструменты", "actEvents"));
    EXPECT_EQ(main_->Action("actEvents")->text(), "События");
    const auto* bar = main_->findChild<QToolBar*>("ToolBar");
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->actions().contains(main_->Action("actEvents")));
    // The cursor opens at the trigger; its date-time is shown to the microsecond.
    EXPECT_EQ(doc_->TimeLineView()->CursorTimeText(),
              "Tкурс = " + RecordTimeText(doc_->TimeLineView()->CursorDateTime(), true));
    EXPECT_TRUE(doc_->TimeLineView()->CursorTimeText().endsWith("05.223000"));
}

}  // namespace
}  // namespace faultscope
