#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>

#include "core/settings/color_table.h"
#include "core/settings/form_state_store.h"

class QAction;
class QComboBox;
class QLabel;
class QMdiArea;
class QMenu;
class QMdiSubWindow;

namespace faultscope {

class IniStore;
class LabelColorPool;
class MessageSink;
class RecordWindow;

// The main window: menus, the tool bar with the encoding choice, and the record windows inside
// it. Every command but opening acts on the active record window and does nothing without one.
// Formerly TfrmMain.
class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    // `settings` may be null: nothing is then remembered. Every message of this window and its
    // record windows goes to `messages` (boxes over the active window when null), which must
    // outlive the window; time labels take their colours from `labelColors` (the default table
    // when null), which must outlive the window too.
    explicit MainWindow(IniStore* settings, MessageSink* messages = nullptr,
                        const ColorTable* labelColors = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Opens a record in a new record window with the chosen encoding, as "Открыть" does after its
    // dialog (also for files given on the command line or dropped onto the window).
    void OpenRecord(const QString& path);

    // Where record windows write the trace files of traced channels; none while empty.
    void SetTraceFolder(const QString& folder) { traceFolder_ = folder; }

    // The record window that commands act on, or null.
    [[nodiscard]] RecordWindow* ActiveRecordWindow() const;

    // Replaces the file dialog of "Открыть" (tests); returns an empty path to cancel.
    void SetFileChooser(std::function<QString()> chooser) { chooser_ = std::move(chooser); }

    [[nodiscard]] QMdiArea* MdiArea() const noexcept { return mdiArea_; }
    [[nodiscard]] QComboBox* CbbCharPage() const noexcept { return cbbCharPage_; }
    // A command by its name (acOpen, actXZoomIn, actACht1…).
    [[nodiscard]] QAction* Action(const QString& name) const;
    [[nodiscard]] QMenu* PmAchl() const noexcept { return pmAchl_; }
    [[nodiscard]] QLabel* LblGaps() const noexcept { return lblGaps_; }
    [[nodiscard]] QMenu* PhasorPanelMenu() const noexcept { return phasorPanelMenu_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void ShowActiveToolWindows();
    // "Каскадом": every record window the same usable size, one title bar apart.
    void CascadeFrames();
    QAction* MakeAction(const char* name, const QString& caption, const QString& hint,
                        const QKeySequence& shortcut, int icon);
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void RestoreState();
    void StoreState();
    void OpenFromDialog();
    // Runs the open dialog in the last folder used; an empty path when cancelled.
    QString ChooseRecordFile();
    void PmAchlPopup();
    void FillWindowList();
    // Shows the active record's word about samples outside their ranges.
    void UpdateGapLabel();
    // "Назад" serves while the active record has a time range to return to.
    void UpdateBackAction();
    // Gives the record window's strips one value range, or one per unit, as the command says.
    void ApplyCommonScale(RecordWindow& window);
    // Keeps the window, title bar included, on the free area of its screen.
    void FitToScreen();
    // Puts a new record window's frame inside the area, off the corners of the others.
    void PlaceNewFrame(QMdiSubWindow& frame, const QRect& area);
    // Runs `command` on the active record window's document when it is loaded.
    void WithRecord(const std::function<void(RecordWindow&)>& command);

    FormStateStore store_;
    IniStore* settings_;
    MessageSink* messages_;
    std::shared_ptr<LabelColorPool> labelColors_;
    QMdiArea* mdiArea_ = nullptr;
    QComboBox* cbbCharPage_ = nullptr;
    QMenu* pmAchl_ = nullptr;
    QMenu* phasorPanelMenu_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    QLabel* lblGaps_ = nullptr;
    QList<QAction*> windowListActions_;
    std::function<QString()> chooser_;
    QString traceFolder_;
    bool closePending_ = false;
};

}  // namespace faultscope
