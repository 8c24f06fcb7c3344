#pragma once

#include "core/analysis/zone_characteristic.h"
#include "core/analysis/zone_points_file.h"

#include <QDialog>
#include <QPointer>
#include <functional>
#include <vector>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QTableWidget;
class QToolButton;
class QWidget;

namespace faultscope {

class MessageSink;
class PhasorDiagram;

// The dialog "Добавить " of a vector diagram: a distance-protection zone of a chosen type drawn
// as a red ring with a green ring 5 % larger, and a polygon of points typed into a table, saved
// to and loaded from a points file. The zone follows every change of a parameter.
// Formerly TfrmOZ_DZ.
class ZoneDialog : public QDialog {
    Q_OBJECT

  public:
    // `owner` must be a vector diagram; raises std::invalid_argument otherwise. Messages about
    // points files go to `messages` (boxes over the active window when null).
    explicit ZoneDialog(QWidget* owner, MessageSink* messages = nullptr);
    // Clears the user polygon from the diagram; the zone stays.
    ~ZoneDialog() override;

    // Chooses the file of "Сохранить" (save = true) and "Загрузить"; an empty path cancels.
    // The file dialogs unless set.
    using FileChooser = std::function<QString(QWidget* parent, bool save)>;
    void SetFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }

    // Computes the chosen zone and draws it; rescales the diagram so it fits.
    void btnOkClick();
    // Redraws the user polygon from the posted rows.
    void RedrawPolygon();
    // The zone of the type and parameters chosen now (no points while no type is chosen).
    [[nodiscard]] Zone Characteristic() const;

    [[nodiscard]] const std::vector<ZoneTableRow>& Rows() const noexcept { return rows_; }
    [[nodiscard]] QComboBox* CbbType() const noexcept { return cbbType_; }
    [[nodiscard]] QDoubleSpinBox* Field(const char* name) const;
    [[nodiscard]] QTableWidget* Tbl() const noexcept { return tbl_; }
    [[nodiscard]] QLabel* LblError() const noexcept { return lblError_; }
    [[nodiscard]] QToolButton* Navigator(const char* name) const;
    [[nodiscard]] QPushButton* BtnSavePoints() const noexcept { return btnSavePoints_; }
    [[nodiscard]] QPushButton* BtnLoad() const noexcept { return btnLoad_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* BuildTable();
    QWidget* BuildParameters();
    QWidget* Panel(const char* name, std::initializer_list<QWidget*> rows);
    QWidget* ParamRow(const char* name, const QString& label, double step);
    void cbbTypeChange();
    void ShowRows();
    void Insert();
    void Delete();
    bool Post();
    void Cancel();
    void SavePoints();
    void LoadPoints();

    QPointer<PhasorDiagram> diagram_;
    QTableWidget* tbl_ = nullptr;
    QComboBox* cbbType_ = nullptr;
    QWidget* pnlZWork_ = nullptr;
    QWidget* pnlPolygon_ = nullptr;
    QWidget* pnlEllipse_ = nullptr;
    QLabel* lblError_ = nullptr;
    QPushButton* btnOk_ = nullptr;
    QPushButton* btnSavePoints_ = nullptr;
    QPushButton* btnLoad_ = nullptr;
    std::vector<ZoneTableRow> rows_;  // posted rows, in the order of entry
    int nextId_ = 1;
    bool centred_ = false;
    MessageSink* messages_ = nullptr;
    FileChooser chooser_;
};

// The zone dialog of `diagram`, or null while none was opened.
[[nodiscard]] ZoneDialog* ZoneDialogOf(const PhasorDiagram* diagram);
// Shows the zone dialog of `diagram`, a tool window over it, made on first use with `messages`;
// one per diagram.
ZoneDialog* ShowZoneDialog(PhasorDiagram* diagram, MessageSink* messages = nullptr);

}  // namespace faultscope
