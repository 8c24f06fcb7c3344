#pragma once

#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

#include "core/settings/ini_store.h"
#include "gui/app/main_window.h"
#include "gui/app/message_box.h"
#include "gui/app/record_window.h"
#include "gui/chart/chart_test_support.h"
#include "gui/dialogs/time_label_dialog.h"
#include "gui/document/record_document.h"
#include "gui/views/label_color_pool.h"
#include "support/test_paths.h"

namespace faultscope::test {

inline QString DemoRecord() {
    return QString::fromStdString((SourceDir() / "examples" / "demo.cfg").string());
}

// The main window over a settings file of its own, with the demo record open: 8 analog channels
// sampled every 0.5 ms from -100 ms to 399.5 ms.
class RecordFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        LabelColorPool::Clear();
        ini_ = std::make_unique<IniStore>(QDir(dir_.path()).filePath("Config.ini"));
        TimeLabelDialog::SetSettings(ini_.get());
        previous_ = SetErrorReporter(
            [this](QWidget*, const QString&, const QString& text) { errors_.push_back(text); });
        main_ = std::make_unique<MainWindow>(ini_.get());
        main_->resize(1234, 700);
        main_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main_.get()));
        main_->OpenRecord(DemoRecord());
        QApplication::processEvents();
        window_ = main_->ActiveRecordWindow();
        ASSERT_NE(window_, nullptr);
        ASSERT_TRUE(window_->Document()->Loaded());
        doc_ = window_->Document();
    }
    void TearDown() override {
        main_.reset();
        SetErrorReporter(previous_);
        TimeLabelDialog::SetSettings(nullptr);
        LabelColorPool::Clear();
    }
    void Trigger(const char* action) {
        main_->Action(action)->trigger();
        QApplication::processEvents();
    }

    QTemporaryDir dir_;
    std::unique_ptr<IniStore> ini_;
    std::unique_ptr<MainWindow> main_;
    RecordWindow* window_ = nullptr;
    RecordDocument* doc_ = nullptr;
    std::vector<QString> errors_;
    ErrorReporter previous_;
};

}  // namespace faultscope::test
