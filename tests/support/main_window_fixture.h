#pragma once

#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QSize>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

#include "core/settings/ini_store.h"
#include "gui/app/main_window.h"
#include "gui/app/record_window.h"
#include "gui/chart/chart_test_support.h"
#include "gui/document/record_document.h"
#include "support/recorded_messages.h"
#include "support/test_paths.h"

namespace faultscope::test {

// The demo record: 8 analog channels sampled every 0.5 ms from -100 ms to 399.5 ms.
inline QString DemoRecord() {
    return QString::fromStdString((SourceDir() / "examples" / "demo.cfg").string());
}

// The main window shown over a settings file of its own in dir_, with every message it and its
// record windows would show recorded in messages_ and, when a suite names one, a record open in
// window_ and doc_.
class MainWindowFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ini_ = std::make_unique<IniStore>(QDir(dir_.path()).filePath("Config.ini"));
        ASSERT_NO_FATAL_FAILURE(NewMain());
        if (const QString record = RecordToOpen(); !record.isEmpty()) {
            OpenLoaded(record);
        }
    }
    void TearDown() override { main_.reset(); }

    // The record SetUp opens; none when empty.
    virtual QString RecordToOpen() const { return {}; }
    virtual QSize WindowSize() const { return {1234, 700}; }

    // A new main window in place of the one there was, over the same settings.
    void NewMain() {
        window_ = nullptr;
        doc_ = nullptr;
        main_.reset();
        main_ = std::make_unique<MainWindow>(ini_.get(), &messages_);
        main_->resize(WindowSize());
        main_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main_.get()));
        QApplication::processEvents();
    }
    // Opens `path` as the open command does; returns the active record window, which is the new
    // one unless the record was refused.
    RecordWindow* Open(const QString& path) {
        main_->OpenRecord(path);
        QApplication::processEvents();
        window_ = main_->ActiveRecordWindow();
        doc_ = window_ != nullptr ? window_->Document() : nullptr;
        return window_;
    }
    void OpenLoaded(const QString& path) {
        Open(path);
        ASSERT_NE(window_, nullptr);
        ASSERT_TRUE(doc_->Loaded());
    }
    void Trigger(const char* action) {
        main_->Action(action)->trigger();
        QApplication::processEvents();
    }

    QTemporaryDir dir_;
    std::unique_ptr<IniStore> ini_;
    // Before the window, which shows its messages here until it goes.
    RecordedMessages messages_;
    std::unique_ptr<MainWindow> main_;
    RecordWindow* window_ = nullptr;
    RecordDocument* doc_ = nullptr;
};

}  // namespace faultscope::test
