// Formula channels as a person makes them in the window: the formula dialog from the tool bar,
// saved functions, the new strip, the record's view template file and its return at the next
// opening.
#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "core/settings/ini_store.h"
#include "core/viewtemplate/saved_functions.h"
#include "core/viewtemplate/view_template.h"
#include "gui/app/main_window.h"
#include "gui/app/record_window.h"
#include "gui/chart/chart_test_support.h"
#include "gui/dialogs/formula_channel_dialog.h"
#include "gui/dialogs/formula_channel_name_dialog.h"
#include "gui/dialogs/function_editor_dialog.h"
#include "gui/document/record_document.h"
#include "gui/views/analog_strip.h"
#include "gui/views/analog_strip_list.h"
#include "support/main_window_fixture.h"
#include "support/modal_dialog.h"
#include "support/read_only_folder.h"
#include "support/test_paths.h"

namespace faultscope {
namespace {

const QString kIa = QStringLiteral("IA ВЛ-110");
const QString kIb = QStringLiteral("IB ВЛ-110");
const QString kIc = QStringLiteral("IC ВЛ-110");

// Types `text` into `widget` key by key; the test library's own typing knows only ASCII.
void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

void Click(QPushButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

// Saves a picture of `widget` as NAME.png in the folder named by FAULTSCOPE_SHOT_DIR, when set:
// the way the pictures of the documentation are taken.
void Shoot(QWidget* widget, const char* name) {
    const QString folder = qEnvironmentVariable("FAULTSCOPE_SHOT_DIR");
    if (!folder.isEmpty()) {
        widget->grab().save(QDir(folder).filePath(QString(name) + ".png"));
    }
}

// "Создать" in the formula dialog, answering the name dialog with `name`.
void CreateNamed(FormulaChannelDialog* d, const QString& name) {
    test::OnModal<FormulaChannelNameDialog>([name](FormulaChannelNameDialog* n) {
        Type(n->edt(), name);
        Click(n->btnOk());
    });
    Click(d->btnOk());
}

// Moves a closed drop-down list `steps` items down with the keyboard.
void PickDown(QComboBox* list, int steps) {
    list->setFocus();
    for (int i = 0; i < steps; ++i) {
        QTest::keyClick(list, Qt::Key_Down);
    }
}

// The records live in a folder of their own, which a test makes read-only while the settings
// stay writable.
class FormulaChannelWindowTest : public test::MainWindowFixture {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(MainWindowFixture::SetUp());
        for (const char* ext : {"cfg", "dat"}) {
            const auto from = test::SourceDir() / "examples" / (std::string("demo.") + ext);
            ASSERT_TRUE(QFile::copy(QString::fromStdString(from.string()),
                                    records_.filePath(QString("demo.") + ext)));
        }
    }
    QSize WindowSize() const override { return {1234, 800}; }

    RecordDocument* Open() {
        RecordWindow* w = MainWindowFixture::Open(records_.filePath("demo.cfg"));
        return w != nullptr ? w->Document() : nullptr;
    }
    void CloseRecord() {
        main_->MdiArea()->closeAllSubWindows();
        QApplication::processEvents();
    }
    QString LytPath() const { return records_.filePath("demo.lyt"); }

    // "Создать график" from the tool bar, as a click on its button.
    void ClickToolBarButton() {
        auto* bar = main_->findChild<QToolBar*>("ToolBar");
        QWidget* button = bar->widgetForAction(main_->Action("actAddCustomSeries"));
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Types a new saved function into the function dialog, with a slip first.
    static void TypeNewFunction(FunctionEditorDialog* f) {
        Type(f->edtName(), "Нулевая");
        QTest::keyClicks(f->mmBody(), "(S1+S2+S3");
        EXPECT_TRUE(f->lblFault()->text().startsWith("Ошибка в формуле значения, позиция 10"))
            << f->lblFault()->text().toStdString();
        EXPECT_FALSE(f->btnOk()->isEnabled());
        QTest::keyClicks(f->mmBody(), ")/3");
        EXPECT_TRUE(f->lblFault()->text().isEmpty());
        Type(f->mmDescription(), "Ток нулевой последовательности");
        Click(f->btnOk());
    }

    // The whole way from the tool bar to a new strip named `name`.
    void CreateZeroSequence(const QString& name) {
        test::OnModal<FormulaChannelDialog>([name](FormulaChannelDialog* d) {
            PickDown(d->cbbSeries(1), 1);
            PickDown(d->cbbSeries(2), 2);
            test::OnModal<FunctionEditorDialog>(&TypeNewFunction);
            Click(d->btnNewFunction());
            EXPECT_EQ(d->mmBody()->toPlainText(), "(S1+S2+S3)/3");
            EXPECT_TRUE(d->btnOk()->isEnabled());
            Shoot(d, "formula_dialog");
            CreateNamed(d, name);
        });
        ClickToolBarButton();
        QApplication::processEvents();
    }

    QTemporaryDir recordsDir_;
    QDir records_{recordsDir_.path()};
};

TEST_F(FormulaChannelWindowTest, AZeroSequenceChannelIsMadeSavedAndBackAtTheNextOpening) {
    RecordDocument* doc = Open();
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(doc->AnalogStrips()->ChtList().size(), 8u);
    CreateZeroSequence("I0");
    EXPECT_TRUE(messages_.texts.empty());

    ASSERT_EQ(doc->AnalogStrips()->ChtList().size(), 9u);
    const AnalogStrip* i0 = doc->AnalogStrips()->ChtList().back();
    EXPECT_EQ(i0->Info().ch_id, "I0");
    EXPECT_TRUE(i0->isVisible());
    const auto& analog = doc->Record().data.analog;
    const AnalogColumns* made = i0->Columns();
    ASSERT_NE(made, nullptr);
    for (std::size_t i : {0u, 199u, 200u, 517u, 999u}) {
        EXPECT_DOUBLE_EQ(made->Value(i),
                         (analog[0].Value(i) + analog[1].Value(i) + analog[2].Value(i)) / 3)
            << i;
    }
    // Analysed when its curves are first shown, as a recorded channel is.
    EXPECT_TRUE(made->harmonics.rms1.empty());
    doc->ChtVisible(1, true);
    EXPECT_EQ(made->harmonics.rms1.size(), made->size());
    doc->ChtVisible(1, false);
    EXPECT_EQ(i0->CursorPoint(), 200);
    EXPECT_TRUE(i0->ReadoutText().startsWith("Y = "));
    const std::vector<double> values = made->Values();
    doc->AnalogStrips()->verticalScrollBar()->setValue(
        doc->AnalogStrips()->verticalScrollBar()->maximum());
    QApplication::processEvents();
    Shoot(main_.get(), "formula_window");

    const IniStore lyt(LytPath());
    EXPECT_EQ(lyt.ReadSections(), QStringList({"ChartCreate", "I0", "AView"}));
    EXPECT_EQ(lyt.ReadString("I0", "SourceChartName"),
              QStringList({kIa, kIb, kIc, kIa, kIa}).join(','));
    EXPECT_EQ(lyt.ReadString("I0", "ChartInfoStr"), "I0@(S1+S2+S3)/3@@");
    EXPECT_EQ(lyt.ReadSection("AView").size(), 9);

    const IniStore config(ini_->FileName());
    EXPECT_EQ(DecodeFuncList(config.ReadString("frmCustomSeries", "FuncList")),
              QStringList({"Нулевая@(S1+S2+S3)/3@@Ток нулевой последовательности"}));

    CloseRecord();
    doc = Open();
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(messages_.texts.empty());
    ASSERT_EQ(doc->AnalogStrips()->ChtList().size(), 9u);
    const AnalogStrip* back = doc->AnalogStrips()->ChtList().back();
    EXPECT_EQ(back->Info().ch_id, "I0");
    EXPECT_EQ(back->Columns()->Values(), values);
    EXPECT_TRUE(back->isVisible());
}

TEST_F(FormulaChannelWindowTest, ASavedFunctionIsEditedAndDeletedInTheDialog) {
    ini_->WriteString("frmCustomSeries", "FuncList",
                      EncodeFuncList({"Сумма@S1+S2@@две фазы", "Разность@S1-S2@@"}));
    RecordDocument* doc = Open();
    ASSERT_NE(doc, nullptr);
    test::OnModal<FormulaChannelDialog>([](FormulaChannelDialog* d) {
        ASSERT_EQ(d->cbbFunction()->count(), 2);
        EXPECT_EQ(d->lblDescriptionInfo()->text(), "две фазы");
        test::OnModal<FunctionEditorDialog>([](FunctionEditorDialog* f) {
            EXPECT_TRUE(f->edtName()->isReadOnly());
            EXPECT_EQ(f->btnOk()->text(), "Сохранить");
            f->mmBody()->selectAll();
            QTest::keyClicks(f->mmBody(), "S1+S2+S3");
            Click(f->btnOk());
        });
        Click(d->btnEditFunction());
        EXPECT_EQ(d->mmBody()->toPlainText(), "S1+S2+S3");
        // Deleting the last of the list shows the one before it, formula and all.
        PickDown(d->cbbFunction(), 1);
        EXPECT_EQ(d->mmBody()->toPlainText(), "S1-S2");
        Click(d->btnDeleteFunction());
        ASSERT_EQ(d->cbbFunction()->count(), 1);
        EXPECT_EQ(d->cbbFunction()->currentText(), "Сумма");
        EXPECT_EQ(d->mmBody()->toPlainText(), "S1+S2+S3");
        EXPECT_EQ(d->lblDescriptionInfo()->text(), "две фазы");
        Click(d->btnDeleteFunction());
        EXPECT_EQ(d->cbbFunction()->count(), 0);
        EXPECT_EQ(d->cbbFunction()->toolTip(), "Нет сохраненных функций");
        EXPECT_FALSE(d->btnEditFunction()->isEnabled());
        EXPECT_FALSE(d->btnDeleteFunction()->isEnabled());
        EXPECT_FALSE(d->btnOk()->isEnabled());
        Click(d->btnCancel());
    });
    QTest::keyClick(main_.get(), Qt::Key_G, Qt::ControlModifier | Qt::AltModifier);
    QApplication::processEvents();
    EXPECT_EQ(doc->AnalogStrips()->ChtList().size(), 8u);
    const IniStore config(ini_->FileName());
    EXPECT_TRUE(config.ValueExists("frmCustomSeries", "FuncList"));
    EXPECT_EQ(DecodeFuncList(config.ReadString("frmCustomSeries", "FuncList")), QStringList());
    EXPECT_FALSE(QFile::exists(LytPath()));
}

TEST_F(FormulaChannelWindowTest, WhatCreatingWouldRefuseIsShownAndCreateWaits) {
    ini_->WriteString("frmCustomSeries", "FuncList",
                      EncodeFuncList({"Двойной@S1*2@@", "Чужая@foo(S1)@@", "Шестой@S6+1@@"}));
    ASSERT_NE(Open(), nullptr);
    test::OnModal<FormulaChannelDialog>([](FormulaChannelDialog* d) {
        const char* faults[] = {
            "",
            "Ошибка в формуле значения, позиция 1, отсчёт 0: Undeclared Identifier 'foo'",
            "Ошибка в формуле значения, позиция 1, отсчёт 0: Undeclared Identifier 'S6'",
        };
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(d->lblFault()->text(), QString::fromUtf8(faults[i])) << i;
            EXPECT_EQ(d->btnOk()->isEnabled(), i == 0) << i;
            PickDown(d->cbbFunction(), 1);
        }
        Click(d->btnCancel());
    });
    QTest::keyClick(main_.get(), Qt::Key_G, Qt::ControlModifier | Qt::AltModifier);
    QApplication::processEvents();
    EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(FormulaChannelWindowTest, TheNewChannelHasTheUnitGivenForItAndKeepsItInTheTemplate) {
    ini_->WriteString("frmCustomSeries", "FuncList", EncodeFuncList({"Сопротивление@S1/S2@@"}));
    RecordDocument* doc = Open();
    ASSERT_NE(doc, nullptr);
    test::OnModal<FormulaChannelDialog>([](FormulaChannelDialog* d) {
        EXPECT_EQ(d->edtUnit()->text(), "А");  // the first source's, IA ВЛ-110
        PickDown(d->cbbSeries(0), 3);          // UA СШ-110
        EXPECT_EQ(d->edtUnit()->text(), "кВ");
        d->edtUnit()->selectAll();
        Type(d->edtUnit(), "Ом");
        PickDown(d->cbbSeries(0), 1);  // typed, the unit no longer follows the source
        EXPECT_EQ(d->edtUnit()->text(), "Ом");
        PickDown(d->cbbSeries(1), 1);
        CreateNamed(d, "Z");
    });
    ClickToolBarButton();
    QApplication::processEvents();
    ASSERT_EQ(doc->AnalogStrips()->ChtList().size(), 9u);
    EXPECT_EQ(doc->AnalogStrips()->ChtList().back()->Info().uu, "Ом");
    EXPECT_EQ(IniStore(LytPath()).ReadString("Z", "uu"), "Ом");
}

TEST_F(FormulaChannelWindowTest, AFormulaThatFailsPartWayLeavesNothingBehind) {
    // The first sample passes the check; a later one is negative under the root.
    ini_->WriteString("frmCustomSeries", "FuncList", EncodeFuncList({"Корень@Sqrt(S1+200)@@"}));
    RecordDocument* doc = Open();
    ASSERT_NE(doc, nullptr);
    test::OnModal<FormulaChannelDialog>([](FormulaChannelDialog* d) {
        EXPECT_TRUE(d->btnOk()->isEnabled());
        CreateNamed(d, "R");
    });
    ClickToolBarButton();
    QApplication::processEvents();
    EXPECT_EQ(messages_.texts, std::vector<QString>({"Нельзя взять корень из отрицательного числа.",
                                                     "График не создан."}));
    EXPECT_EQ(doc->AnalogStrips()->ChtList().size(), 8u);
    EXPECT_EQ(doc->Session().FormulaChannels().size(), 0u);
    EXPECT_FALSE(QFile::exists(LytPath()));
}

TEST_F(FormulaChannelWindowTest, AFunctionListThatCannotBeReadIsToldAndKept) {
    ini_->WriteString("frmCustomSeries", "FuncList", "not a list");
    ini_->UpdateFile();
    ASSERT_NE(Open(), nullptr);
    test::OnModal<FormulaChannelDialog>([](FormulaChannelDialog* d) {
        EXPECT_EQ(d->cbbFunction()->count(), 0);
        Click(d->btnCancel());
    });
    QTest::keyClick(main_.get(), Qt::Key_G, Qt::ControlModifier | Qt::AltModifier);
    QApplication::processEvents();
    ASSERT_EQ(messages_.texts.size(), 1u);
    EXPECT_TRUE(messages_.texts[0].startsWith("Список сохранённых функций не удалось прочитать"));
    const IniStore config(ini_->FileName());
    EXPECT_EQ(config.ReadString("frmCustomSeries", "FuncList"), "not a list");
}

TEST_F(FormulaChannelWindowTest, AFormulaReadsTheSourcesHarmonicsThoughTheWindowHadNotAskedYet) {
    ini_->WriteString("frmCustomSeries", "FuncList", EncodeFuncList({"Двойной@D1*2@ANGLE1@"}));
    RecordDocument* doc = Open();
    ASSERT_NE(doc, nullptr);
    test::OnModal<FormulaChannelDialog>([](FormulaChannelDialog* d) {
        test::OnModal<FormulaChannelNameDialog>([](FormulaChannelNameDialog* n) {
            Type(n->edt(), "2D1");
            Click(n->btnOk());
        });
        Click(d->btnOk());
    });
    main_->Action("actAddCustomSeries")->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(messages_.texts.empty()) << messages_.texts.front().toStdString();
    ASSERT_EQ(doc->AnalogStrips()->ChtList().size(), 9u);
    const AnalogColumns& ia = doc->Record().data.analog[0];
    const AnalogColumns* made = doc->AnalogStrips()->ChtList().back()->Columns();
    // The formula read the fundamental in double; the curves' columns are still not needed.
    ASSERT_EQ(ia.fundamental.size(), ia.size());
    EXPECT_EQ(ia.harmonics.size(), 0U);
    for (std::size_t i : {0u, 250u, 999u}) {
        EXPECT_DOUBLE_EQ(made->Value(i), 2 * ia.fundamental.rms[i]) << i;
        EXPECT_DOUBLE_EQ(made->formulaAngle[i], ia.fundamental.angle[i]) << i;
    }
}

TEST_F(FormulaChannelWindowTest, AReadOnlyFolderOpensWithOneWarningAndStillMakesChannels) {
    test::ReadOnlyFolder readOnly(records_.path());
    RecordDocument* doc = Open();
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(doc->Loaded());
    ASSERT_EQ(messages_.texts.size(), 1u);
    EXPECT_EQ(messages_.texts[0], ReadOnlyTemplateWarning(LytPath()));
    CreateZeroSequence("I0");
    EXPECT_EQ(messages_.texts.size(), 1u);
    EXPECT_EQ(doc->AnalogStrips()->ChtList().size(), 9u);
    EXPECT_FALSE(QFile::exists(LytPath()));
}

TEST_F(FormulaChannelWindowTest, ATemplateWithABrokenSectionAndCommaDecimalsOpens) {
    QFile lyt(LytPath());
    ASSERT_TRUE(lyt.open(QIODevice::WriteOnly));
    lyt.write(QStringLiteral("[ChartCreate]\nChart_Bad=Bad\nChart_I0=I0\n"
                             "[I0]\nSourceChartName=%1,%2,%3\nChartInfoStr=I0@(S1+S2+S3)/3@@\n"
                             "uu=А\na=0,5\nb=0,25\nmin=-32767\nmax=32767\n"
                             "[AView]\n%1=1\nI0=1\n")
                  .arg(kIa, kIb, kIc)
                  .toUtf8());
    lyt.close();
    RecordDocument* doc = Open();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(messages_.texts, std::vector<QString>({"График Chart_Bad не создан"}));
    const auto& strips = doc->AnalogStrips()->ChtList();
    ASSERT_EQ(strips.size(), 9u);
    EXPECT_DOUBLE_EQ(strips.back()->Info().a, 0.5);
    EXPECT_DOUBLE_EQ(strips.back()->Info().b, 0.25);
    std::vector<QString> shown;
    for (const AnalogStrip* strip : strips) {
        if (strip->isVisible()) {
            shown.push_back(QString::fromStdString(strip->Info().ch_id));
        }
    }
    EXPECT_EQ(shown, std::vector<QString>({kIa, "I0"}));
}

TEST_F(FormulaChannelWindowTest, ManyTemplateChannelsAreStackedAtOnceAndTheirMakingCanBeStopped) {
    constexpr int kChannels = 300;
    QString lyt = "[ChartCreate]\n";
    for (int k = 0; k < kChannels; ++k) {
        lyt += QString("Chart_F%1=F%1\n").arg(k);
    }
    for (int k = 0; k < kChannels; ++k) {
        lyt += QString("[F%1]\nSourceChartName=%2\nChartInfoStr=F%1@S1*%1@@\n").arg(k).arg(kIa);
    }
    {
        QFile file(LytPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(lyt.toUtf8());
    }
    const QByteArray bytes = lyt.toUtf8();

    // What the load's panel shows while the channels are made; "Отмена" closes the window.
    const auto open = [this](bool cancel) {
        QStringList shown;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            RecordWindow* w = main_->ActiveRecordWindow();
            if (w == nullptr || !w->Loading() || !w->Pb()->format().startsWith("Формульные")) {
                return;
            }
            shown.append(w->Pb()->text());
            if (cancel && w->BtnCancel()->isVisible()) {
                w->BtnCancel()->click();
            }
        });
        watch.start(0);
        Open();
        watch.stop();
        return shown;
    };
    const QStringList progress = open(false);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.front(), QString("Формульные каналы: 0 из %1").arg(kChannels));
    ASSERT_NE(doc_, nullptr);
    const std::vector<AnalogStrip*>& strips = doc_->AnalogStrips()->DisplayList();
    ASSERT_EQ(strips.size(), 8u + kChannels);
    EXPECT_TRUE(messages_.texts.empty()) << messages_.texts.front().toStdString();
    for (std::size_t i = 1; i < strips.size(); ++i) {
        ASSERT_EQ(strips[i]->y(), strips[i - 1]->y() + strips[i - 1]->height()) << i;
    }
    EXPECT_EQ(strips.back()->Info().ch_id, "F299");
    CloseRecord();

    EXPECT_FALSE(open(true).empty());
    EXPECT_TRUE(main_->MdiArea()->subWindowList().empty());
    EXPECT_TRUE(messages_.texts.empty()) << messages_.texts.front().toStdString();
    QFile file(LytPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), bytes);
}

}  // namespace
}  // namespace faultscope
