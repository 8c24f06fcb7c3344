#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/formula/formula_library.h"
#include "core/formula/formula_program.h"
#include "core/record/record_config.h"
#include "core/viewtemplate/fault_location_settings.h"
#include "core/viewtemplate/message_sink.h"

namespace faultscope {

class ChannelViewList;
class FormulaChannelHost;
class IniStore;

inline constexpr char kChartCreateSection[] = "ChartCreate";

// One formula channel as its section of a template file holds it.
struct SavedChart {
    QStringList sourceNames;  // slot 1 first; an empty name leaves its slot empty
    AnalogChannel info;       // An is left 0: it is given when the channel is made
    QString formulaValue;
    QString formulaAngle;
};

// Reads the formula channel section `section`; none when the section is missing or its source
// list or formula text is empty.
std::optional<SavedChart> ReadSavedChart(const IniStore& ini, const QString& section);

// Writes one formula channel: its "Chart_" key in "ChartCreate" and its own section, erased and
// written again (so a channel saved twice keeps its last definition). Reals are written with ".".
// Throws std::invalid_argument("Ini file not assigned") without a file.
void SaveCreateChart(const QStringList& chartsNameAr, const AnalogChannel& analogInfo,
                     const QString& formulaValue, const QString& formulaAngle, IniStore* ini);

// The template and formula engine of one open record: its view template file (".lyt" beside the
// record), the view sections of its strips and its saved formula channels.
//
// The file is written through a temporary file renamed over it after every change, and keeps
// the sections and keys it does not know. A record whose folder cannot be written is normal:
// CheckWritable says so once, and from then on changes are kept for as long as the record is
// open but not written.
// Formerly TTamplate.
class ViewTemplate {
  public:
    // Opens the template file of the record whose path without extension is `fileName` (see
    // TemplateFilePath). Throws std::invalid_argument("FileName is impty") for an empty path.
    explicit ViewTemplate(const QString& fileName,
                          const QString& modelExtension = QStringLiteral("cfg"));
    ~ViewTemplate();

    ViewTemplate(const ViewTemplate&) = delete;
    ViewTemplate& operator=(const ViewTemplate&) = delete;

    [[nodiscard]] const QString& FileName() const noexcept { return fileName_; }
    [[nodiscard]] const QString& IniFileName() const noexcept;
    [[nodiscard]] IniStore& Ini() noexcept { return *ini_; }

    void SetAnalogViews(ChannelViewList* list) noexcept { analogViews_ = list; }
    void SetDiscreteViews(ChannelViewList* list) noexcept { discreteViews_ = list; }
    void SetAddNewCht(FormulaChannelHost* host) noexcept { formulaHost_ = host; }
    // Where the engine's messages go; none are shown without a sink.
    void SetMessages(MessageSink* say) noexcept { say_ = say; }

    // Finds out whether the file can be written; when it cannot, shows one warning and keeps
    // later changes in memory only. Returns whether it can.
    bool CheckWritable();
    // The file is not used at all (see UnusableTemplateWarning).
    [[nodiscard]] bool Unusable() const noexcept;
    [[nodiscard]] bool CanSave() const noexcept { return canSave_; }

    void LoadAnalogChannelView();
    void SaveAnalogChannelView();
    void LoadDiscreteChannelView();
    void SaveDiscreteChannelView();

    void SaveCreateChart(const QStringList& chartsNameAr, const AnalogChannel& analogInfo,
                         const QString& formulaValue, const QString& formulaAngle);

    // The line data of the record's fault location; none until they were saved.
    [[nodiscard]] std::optional<FaultLocationSettings> FaultLocation() const;
    void SaveFaultLocation(const FaultLocationSettings& settings);

    // Called before each formula channel is made and once after the last, with the channels
    // made (or tried) so far and their number; it may throw to stop the making.
    using MakingProgress = std::function<void(std::size_t done, std::size_t total)>;
    // Makes every formula channel of the "ChartCreate" section again, in file order. A channel
    // that cannot be made is reported and skipped; its section stays in the file. When all of
    // them would not fit into memory, that is said once and none is made.
    void CreateSavedChart(const MakingProgress& progress = {});
    void CreateSavedChart(const IniStore& ini, const MakingProgress& progress = {});
    // The bytes the formula channels may take; 0 (the default): what the system has available.
    void SetMemoryBudget(std::uint64_t bytes) noexcept { memoryBudget_ = bytes; }
    // Makes one formula channel from the names of its sources. False, after a message, when a
    // source is not in the record or the computation fails.
    bool CreateSavedChart(const QStringList& chartsNameAr, const AnalogChannel& analogInfo,
                          const QString& formulaValue, const QString& formulaAngle);

    // The analog channel, formula channels included, named exactly `chartName`, or none.
    // Throws std::invalid_argument without a host ("AFrameList not Assigned") or a name.
    [[nodiscard]] FormulaSlot FindChartByName(const QString& chartName) const;

  private:
    void Say(MessageIcon icon, const QString& caption, const QString& text) const;
    // Writes the file after a change, unless it cannot be written.
    void Flush();
    // Says once that the file is not used; false when it is usable.
    bool TellUnusable();

    FormulaProgram program_;
    std::unique_ptr<IniStore> ini_;
    QString fileName_;
    ChannelViewList* analogViews_ = nullptr;
    ChannelViewList* discreteViews_ = nullptr;
    std::vector<FormulaSlot> formulaSlots_;
    FormulaChannelHost* formulaHost_ = nullptr;
    MessageSink* say_ = nullptr;
    std::uint64_t memoryBudget_ = 0;
    bool canSave_ = true;
    bool toldUnusable_ = false;
};

// The warning shown when a record's view cannot be saved beside it.
QString ReadOnlyTemplateWarning(const QString& iniFileName);
// The warning shown when the view template's name holds no plain file of the record's folder (a
// link, a folder, a device or pipe) or a file too large or unreadable: it is neither read nor
// written.
QString UnusableTemplateWarning(const QString& iniFileName);

}  // namespace faultscope
