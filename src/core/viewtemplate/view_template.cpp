#include "core/viewtemplate/view_template.h"

#include <QFileInfo>
#include <cstdint>
#include <stdexcept>

#include "core/record/load_error.h"
#include "core/record/memory_budget.h"
#include "core/settings/ini_store.h"
#include "core/settings/settings_error.h"
#include "core/viewtemplate/channel_view_list.h"
#include "core/viewtemplate/formula_channel_host.h"
#include "core/viewtemplate/make_formula_channel.h"
#include "core/viewtemplate/template_file.h"
#include "core/viewtemplate/view_sections.h"

namespace faultscope {
namespace {

// Keys of a formula channel's section in the view template file.
constexpr char kCcbmKey[] = "ccbm";
constexpr char kSkewKey[] = "skew";
constexpr char kPrimaryKey[] = "primary";
constexpr char kSecondoryKey[] = "secondory";
constexpr char kReservChanelKey[] = "ReservChanel";
constexpr char kSourceChartNameKey[] = "SourceChartName";
constexpr char kChartInfoStrKey[] = "ChartInfoStr";

constexpr int kRealDigits = 15;

QString Real(double value) {
    return QString::number(value, 'g', kRealDigits);
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

void WriteChannelKeys(IniStore& ini, const QString& section, const AnalogChannel& info) {
    ini.WriteString(section, "ph", Text(info.ph));
    ini.WriteString(section, kCcbmKey, Text(info.ccbm));
    ini.WriteString(section, "uu", Text(info.uu));
    ini.WriteString(section, "a", Real(info.a));
    ini.WriteString(section, "b", Real(info.b));
    ini.WriteString(section, kSkewKey, Real(info.skew));
    ini.WriteInteger(section, "min", info.min);
    ini.WriteInteger(section, "max", info.max);
    ini.WriteString(section, kPrimaryKey, Real(info.primary));
    ini.WriteString(section, kSecondoryKey, Real(info.secondary));
    ini.WriteInteger(section, "PS", info.PS == TPS::S ? 1 : 0);
    ini.WriteString(section, kReservChanelKey, info.ReserveChannel ? "1" : "0");
}

AnalogChannel ReadChannelKeys(const IniStore& ini, const QString& section) {
    AnalogChannel info;
    info.ph = ini.ReadString(section, "ph").toStdString();
    info.ccbm = ini.ReadString(section, kCcbmKey).toStdString();
    info.uu = ini.ReadString(section, "uu").toStdString();
    info.a = ini.ReadFloat(section, "a", 1.0);
    info.b = ini.ReadFloat(section, "b", 0.0);
    info.skew = ini.ReadFloat(section, kSkewKey, 0.0);
    info.min = ini.ReadInteger(section, "min", 0);
    info.max = ini.ReadInteger(section, "max", 0);
    info.primary = ini.ReadFloat(section, kPrimaryKey, 1.0);
    info.secondary = ini.ReadFloat(section, kSecondoryKey, 1.0);
    info.PS = ini.ReadInteger(section, "PS", 0) == 1 ? TPS::S : TPS::P;
    info.ReserveChannel = ini.ReadBool(section, kReservChanelKey, false);
    return info;
}

}  // namespace

std::optional<SavedChart> ReadSavedChart(const IniStore& ini, const QString& section) {
    if (section.trimmed().isEmpty() || !ini.SectionExists(section)) {
        return std::nullopt;
    }
    const QString sources = ini.ReadString(section, kSourceChartNameKey);
    const QString infoStr = ini.ReadString(section, kChartInfoStrKey);
    if (sources.isEmpty() || infoStr.isEmpty()) {
        return std::nullopt;
    }
    SavedChart chart;
    chart.sourceNames = sources.split(u',');
    const QStringList parts = infoStr.split(u'@');
    chart.info = ReadChannelKeys(ini, section);
    chart.info.ch_id = parts.value(0).toStdString();
    chart.formulaValue = parts.value(1);
    chart.formulaAngle = parts.value(2);
    return chart;
}

void SaveCreateChart(const QStringList& chartsNameAr, const AnalogChannel& analogInfo,
                     const QString& formulaValue, const QString& formulaAngle, IniStore* ini) {
    if (ini == nullptr) {
        throw std::invalid_argument("Ini file not assigned");
    }
    const QString name = Text(analogInfo.ch_id);
    ini->WriteString(kChartCreateSection, ViewKey("Chart_" + name), name);
    ini->EraseSection(name);
    ini->WriteString(name, kSourceChartNameKey, chartsNameAr.join(u','));
    ini->WriteString(name, kChartInfoStrKey,
                     name + u'@' + formulaValue.trimmed() + u'@' + formulaAngle.trimmed() + u'@');
    WriteChannelKeys(*ini, name, analogInfo);
}

QString UnusableTemplateWarning(const QString& iniFileName) {
    return QStringLiteral(
               "Файл вида осциллограммы \"%1\" не является обычным файлом папки осциллограммы "
               "или не читается: он не будет прочитан и перезаписан. Вид осциллограммы и созданные "
               "графики действуют, пока осциллограмма открыта.")
        .arg(iniFileName);
}

namespace {

// A link (even one that leads nowhere), a folder, a device or a pipe in the template's place.
bool IsNoPlainFile(const QString& path) {
    const QFileInfo info(path);
    return info.isSymLink() || (info.exists() && !info.isFile());
}

}  // namespace

QString ReadOnlyTemplateWarning(const QString& iniFileName) {
    return QStringLiteral(
               "Папка осциллограммы недоступна для записи: вид осциллограммы и созданные "
               "графики не будут сохранены в файл \"%1\". Они действуют, пока осциллограмма "
               "открыта.")
        .arg(iniFileName);
}

ViewTemplate::ViewTemplate(const QString& fileName, const QString& modelExtension) {
    if (fileName.isEmpty()) {
        throw std::invalid_argument("FileName is impty");
    }
    fileName_ = fileName;
    ini_ = std::make_unique<IniStore>(TemplateFilePath(fileName, modelExtension));
    // Neither read through a link nor written through one: the lines written are built from the
    // record's channel names, and must not land in a file elsewhere.
    if (IsNoPlainFile(ini_->FileName())) {
        ini_->Refuse();
    }
    ini_->SetTextEncoding(IniTextEncoding::Windows1251);
    program_.SetOnGetValue([this](const FormulaProgram* sender, std::string_view identifier,
                                  Variant& value, const FormulaArguments& args, bool& done) {
        CalcValue(formulaSlots_, sender, identifier, value, args, done);
    });
}

ViewTemplate::~ViewTemplate() = default;

const QString& ViewTemplate::IniFileName() const noexcept {
    return ini_->FileName();
}

void ViewTemplate::Say(MessageIcon icon, const QString& caption, const QString& text) const {
    if (say_ != nullptr) {
        say_->Show(icon, caption, text);
    }
}

bool ViewTemplate::Unusable() const noexcept {
    return ini_->Unreadable();
}

bool ViewTemplate::TellUnusable() {
    if (!Unusable()) {
        return false;
    }
    canSave_ = false;
    if (!toldUnusable_) {
        toldUnusable_ = true;
        Say(MessageIcon::Warning, QStringLiteral("Внимание"),
            UnusableTemplateWarning(IniFileName()));
    }
    return true;
}

bool ViewTemplate::CheckWritable() {
    if (TellUnusable()) {
        return false;
    }
    if (canSave_ && !CanWriteFile(IniFileName())) {
        canSave_ = false;
        Say(MessageIcon::Warning, QStringLiteral("Внимание"),
            ReadOnlyTemplateWarning(IniFileName()));
    }
    return canSave_;
}

void ViewTemplate::Flush() {
    if (!canSave_) {
        return;
    }
    // A link or special file put in the template's place while the record is open.
    if (IsNoPlainFile(IniFileName())) {
        ini_->Refuse();
        TellUnusable();
        return;
    }
    try {
        ini_->UpdateFile();
    } catch (const SettingsError&) {
        // A disk that filled up or went read-only since the record was opened: one warning,
        // then the view lives on in memory as it does for a read-only folder.
        canSave_ = false;
        Say(MessageIcon::Warning, QStringLiteral("Внимание"),
            ReadOnlyTemplateWarning(IniFileName()));
    }
}

void ViewTemplate::LoadAnalogChannelView() {
    LoadChannelView(ini_.get(), kAnalogViewSection, analogViews_);
}

void ViewTemplate::SaveAnalogChannelView() {
    SaveChannelView(ini_.get(), kAnalogViewSection, VisibleChannelKeys(analogViews_));
    Flush();
}

void ViewTemplate::LoadDiscreteChannelView() {
    LoadChannelView(ini_.get(), kDiscreteViewSection, discreteViews_);
}

void ViewTemplate::SaveDiscreteChannelView() {
    SaveChannelView(ini_.get(), kDiscreteViewSection, VisibleChannelKeys(discreteViews_));
    Flush();
}

void ViewTemplate::SaveCreateChart(const QStringList& chartsNameAr, const AnalogChannel& analogInfo,
                                   const QString& formulaValue, const QString& formulaAngle) {
    faultscope::SaveCreateChart(chartsNameAr, analogInfo, formulaValue, formulaAngle, ini_.get());
    Flush();
}

std::optional<FaultLocationSettings> ViewTemplate::FaultLocation() const {
    return ReadFaultLocationSettings(*ini_);
}

void ViewTemplate::SaveFaultLocation(const FaultLocationSettings& settings) {
    WriteFaultLocationSettings(*ini_, settings);
    Flush();
}

void ViewTemplate::CreateSavedChart(const MakingProgress& progress) {
    // The command line never asks whether the file can be written: it hears of an unusable one
    // here.
    TellUnusable();
    CreateSavedChart(*ini_, progress);
}

void ViewTemplate::CreateSavedChart(const IniStore& ini, const MakingProgress& progress) {
    const QStringList keys = ini.ReadSection(kChartCreateSection);
    std::vector<std::optional<SavedChart>> saved;
    saved.reserve(static_cast<std::size_t>(keys.size()));
    std::uint64_t needed = 0;
    const std::uint64_t samples = formulaHost_ != nullptr ? formulaHost_->SampleCount() : 0;
    for (const QString& key : keys) {
        saved.push_back(ReadSavedChart(ini, ini.ReadString(kChartCreateSection, key)));
        if (saved.back()) {
            needed += samples * FormulaChannelBytesPerSample(!saved.back()->formulaAngle.isEmpty());
        }
    }
    // All of them or none: a record that opens with some of its channels missing would be
    // taken for the whole of it.
    try {
        CheckMemory(needed, memoryBudget_ != 0 ? memoryBudget_ : AvailableMemory(),
                    "формульным каналам шаблона");
    } catch (const LoadError& e) {
        Say(MessageIcon::Error, QStringLiteral("Ошибка"),
            QString::fromUtf8(e.what()) +
                QStringLiteral(". Формульные каналы шаблона не созданы."));
        return;
    }
    for (std::size_t i = 0; i < saved.size(); ++i) {
        if (progress) {
            progress(i, saved.size());
        }
        if (!saved[i]) {
            Say(MessageIcon::None, {}, "График " + keys[static_cast<qsizetype>(i)] + " не создан");
            continue;
        }
        AnalogChannel info = saved[i]->info;
        info.An = static_cast<std::uint32_t>((formulaHost_ ? formulaHost_->ChannelCount() : 0) + 1);
        try {
            CreateSavedChart(saved[i]->sourceNames, info, saved[i]->formulaValue,
                             saved[i]->formulaAngle);
        } catch (const std::exception& e) {
            // One channel that cannot be made must not cost the user the whole record.
            Say(MessageIcon::Error, QStringLiteral("Ошибка"), QString::fromUtf8(e.what()));
        }
    }
    if (progress) {
        progress(saved.size(), saved.size());
    }
}

bool ViewTemplate::CreateSavedChart(const QStringList& chartsNameAr,
                                    const AnalogChannel& analogInfo, const QString& formulaValue,
                                    const QString& formulaAngle) {
    formulaSlots_.assign(static_cast<std::size_t>(chartsNameAr.size()), FormulaSlot{});
    for (qsizetype i = 0; i < chartsNameAr.size(); ++i) {
        const QString& name = chartsNameAr[i];
        if (name.isEmpty()) {
            continue;
        }
        formulaSlots_[static_cast<std::size_t>(i)] = FindChartByName(name);
        if (formulaSlots_[static_cast<std::size_t>(i)].Empty()) {
            formulaSlots_.clear();
            Say(MessageIcon::None, {},
                "Графика с именем " + name + " нет в открытой осцилограмме.");
            return false;
        }
    }
    if (formulaSlots_.empty()) {
        throw std::invalid_argument("Массив исходных графиков не заполнен");
    }
    if (formulaSlots_.front().Empty()) {
        // Slot 1 gives the new channel its samples' times; without it there is nothing to build.
        Say(MessageIcon::None, {}, "График " + Text(analogInfo.ch_id) + " не создан");
        return false;
    }
    MessageCallback say([this](MessageIcon icon, const QString& caption, const QString& text) {
        Say(icon, caption, text);
    });
    return MakeFormulaChannel(analogInfo, program_, formulaValue.toStdString(),
                              formulaAngle.toStdString(), *formulaHost_, say);
}

FormulaSlot ViewTemplate::FindChartByName(const QString& chartName) const {
    if (formulaHost_ == nullptr) {
        throw std::invalid_argument("AFrameList not Assigned");
    }
    if (chartName.isEmpty()) {
        throw std::invalid_argument("ChartName is empty");
    }
    return formulaHost_->FindChartByName(chartName.toStdString());
}

}  // namespace faultscope
