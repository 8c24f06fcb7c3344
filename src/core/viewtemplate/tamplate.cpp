#include "core/viewtemplate/tamplate.h"

#include <stdexcept>

#include "core/settings/ini_store.h"
#include "core/settings/settings_error.h"
#include "core/viewtemplate/channel_view_list.h"
#include "core/viewtemplate/create_new_chart.h"
#include "core/viewtemplate/formula_channel_host.h"
#include "core/viewtemplate/template_file.h"
#include "core/viewtemplate/view_sections.h"

namespace faultscope {
namespace {

constexpr int kRealDigits = 15;

QString Real(double value) {
    return QString::number(value, 'g', kRealDigits);
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

void WriteChannelKeys(IniStore& ini, const QString& section, const TAnalog& info) {
    ini.WriteString(section, "ph", Text(info.ph));
    ini.WriteString(section, "ccbm", Text(info.ccbm));
    ini.WriteString(section, "uu", Text(info.uu));
    ini.WriteString(section, "a", Real(info.a));
    ini.WriteString(section, "b", Real(info.b));
    ini.WriteString(section, "skew", Real(info.skew));
    ini.WriteInteger(section, "min", info.min);
    ini.WriteInteger(section, "max", info.max);
    ini.WriteString(section, "primary", Real(info.primary));
    ini.WriteString(section, "secondory", Real(info.secondory));
    ini.WriteInteger(section, "PS", info.PS == TPS::S ? 1 : 0);
    ini.WriteString(section, "ReservChanel", info.ReservChanel ? "1" : "0");
}

TAnalog ReadChannelKeys(const IniStore& ini, const QString& section) {
    TAnalog info;
    info.ph = ini.ReadString(section, "ph").toStdString();
    info.ccbm = ini.ReadString(section, "ccbm").toStdString();
    info.uu = ini.ReadString(section, "uu").toStdString();
    info.a = ini.ReadFloat(section, "a", 1.0);
    info.b = ini.ReadFloat(section, "b", 0.0);
    info.skew = ini.ReadFloat(section, "skew", 0.0);
    info.min = ini.ReadInteger(section, "min", 0);
    info.max = ini.ReadInteger(section, "max", 0);
    info.primary = ini.ReadFloat(section, "primary", 1.0);
    info.secondory = ini.ReadFloat(section, "secondory", 1.0);
    info.PS = ini.ReadInteger(section, "PS", 0) == 1 ? TPS::S : TPS::P;
    info.ReservChanel = ini.ReadBool(section, "ReservChanel", false);
    return info;
}

}  // namespace

std::optional<SavedChart> ReadSavedChart(const IniStore& ini, const QString& section) {
    if (section.trimmed().isEmpty() || !ini.SectionExists(section)) {
        return std::nullopt;
    }
    const QString sources = ini.ReadString(section, "SourceChartName");
    const QString infoStr = ini.ReadString(section, "ChartInfoStr");
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

void SaveCreateChart(const QStringList& chartsNameAr, const TAnalog& analogInfo,
                     const QString& formulaValue, const QString& formulaAngle, IniStore* ini) {
    if (ini == nullptr) {
        throw std::invalid_argument("Ini file not assigned");
    }
    const QString name = Text(analogInfo.ch_id);
    ini->WriteString(kChartCreateSection, ViewKey("Chart_" + name), name);
    ini->EraseSection(name);
    ini->WriteString(name, "SourceChartName", chartsNameAr.join(u','));
    ini->WriteString(name, "ChartInfoStr",
                     name + u'@' + formulaValue.trimmed() + u'@' + formulaAngle.trimmed() + u'@');
    WriteChannelKeys(*ini, name, analogInfo);
}

QString ReadOnlyTemplateWarning(const QString& iniFileName) {
    return QStringLiteral(
               "Папка осциллограммы недоступна для записи: вид осциллограммы и созданные "
               "графики не будут сохранены в файл \"%1\". Они действуют, пока осциллограмма "
               "открыта.")
        .arg(iniFileName);
}

TTamplate::TTamplate(const QString& fileName, const QString& modelExtension) {
    if (fileName.isEmpty()) {
        throw std::invalid_argument("FileName is impty");
    }
    fFileName = fileName;
    fIni = std::make_unique<IniStore>(TemplateFilePath(fileName, modelExtension));
    fIni->SetTextEncoding(IniTextEncoding::Windows1251);
    Inp.SetOnGetValue([this](const TInterpreterProgram* sender, std::string_view identifier,
                             Variant& value, const TInterpreterArgs& args, bool& done) {
        CalckValue(fAChartAr, sender, identifier, value, args, done);
    });
}

TTamplate::~TTamplate() = default;

const QString& TTamplate::IniFileName() const noexcept {
    return fIni->FileName();
}

void TTamplate::Say(MessageIcon icon, const QString& caption, const QString& text) const {
    if (say_) {
        say_(icon, caption, text);
    }
}

bool TTamplate::CheckWritable() {
    if (canSave_ && !CanWriteFile(IniFileName())) {
        canSave_ = false;
        Say(MessageIcon::Warning, QStringLiteral("Внимание"),
            ReadOnlyTemplateWarning(IniFileName()));
    }
    return canSave_;
}

void TTamplate::Flush() {
    if (!canSave_) {
        return;
    }
    try {
        fIni->UpdateFile();
    } catch (const SettingsError&) {
        // A disk that filled up or went read-only since the record was opened: one warning,
        // then the view lives on in memory as it does for a read-only folder.
        canSave_ = false;
        Say(MessageIcon::Warning, QStringLiteral("Внимание"),
            ReadOnlyTemplateWarning(IniFileName()));
    }
}

void TTamplate::LoadAnalogChanelView() {
    LoadChanelView(fIni.get(), kAnalogViewSection, fAFrameList);
}

void TTamplate::SaveAnalogChanelView() {
    SaveChanelView(fIni.get(), kAnalogViewSection, VisibleChannelKeys(fAFrameList));
    Flush();
}

void TTamplate::LoadDiscretChanelView() {
    LoadChanelView(fIni.get(), kDiscreteViewSection, fDFrameList);
}

void TTamplate::SaveDiscretChanelView() {
    SaveChanelView(fIni.get(), kDiscreteViewSection, VisibleChannelKeys(fDFrameList));
    Flush();
}

void TTamplate::SaveCreateChart(const QStringList& chartsNameAr, const TAnalog& analogInfo,
                                const QString& formulaValue, const QString& formulaAngle) {
    faultscope::SaveCreateChart(chartsNameAr, analogInfo, formulaValue, formulaAngle, fIni.get());
    Flush();
}

void TTamplate::CreateSavedChart() {
    CreateSavedChart(*fIni);
}

void TTamplate::CreateSavedChart(const IniStore& ini) {
    for (const QString& key : ini.ReadSection(kChartCreateSection)) {
        const std::optional<SavedChart> saved =
            ReadSavedChart(ini, ini.ReadString(kChartCreateSection, key));
        if (!saved) {
            Say(MessageIcon::None, {}, "График " + key + " не создан");
            continue;
        }
        TAnalog info = saved->info;
        info.An = static_cast<std::uint32_t>((fAddNewCht ? fAddNewCht->ChannelCount() : 0) + 1);
        try {
            CreateSavedChart(saved->sourceNames, info, saved->formulaValue, saved->formulaAngle);
        } catch (const std::exception& e) {
            // One channel that cannot be made must not cost the user the whole record.
            Say(MessageIcon::Error, QStringLiteral("Ошибка"), QString::fromUtf8(e.what()));
        }
    }
}

bool TTamplate::CreateSavedChart(const QStringList& chartsNameAr, const TAnalog& analogInfo,
                                 const QString& formulaValue, const QString& formulaAngle) {
    fAChartAr.assign(static_cast<std::size_t>(chartsNameAr.size()), FormulaSlot{});
    for (qsizetype i = 0; i < chartsNameAr.size(); ++i) {
        const QString& name = chartsNameAr[i];
        if (name.isEmpty()) {
            continue;
        }
        fAChartAr[static_cast<std::size_t>(i)] = FindChartByName(name);
        if (fAChartAr[static_cast<std::size_t>(i)].Empty()) {
            fAChartAr.clear();
            Say(MessageIcon::None, {},
                "Графика с именем " + name + " нет в открытой осцилограмме.");
            return false;
        }
    }
    if (fAChartAr.empty()) {
        throw std::invalid_argument("Массив исходных графиков не заполнен");
    }
    if (fAChartAr.front().Empty()) {
        // Slot 1 gives the new channel its samples' times; without it there is nothing to build.
        Say(MessageIcon::None, {}, "График " + Text(analogInfo.ch_id) + " не создан");
        return false;
    }
    return CreateNewChart(analogInfo, Inp, formulaValue.toStdString(), formulaAngle.toStdString(),
                          *fAddNewCht,
                          [this](MessageIcon icon, const QString& caption, const QString& text) {
                              Say(icon, caption, text);
                          });
}

FormulaSlot TTamplate::FindChartByName(const QString& chartName) const {
    if (fAddNewCht == nullptr) {
        throw std::invalid_argument("AFrameList not Assigned");
    }
    if (chartName.isEmpty()) {
        throw std::invalid_argument("ChartName is empty");
    }
    return fAddNewCht->FindChartByName(chartName.toStdString());
}

}  // namespace faultscope
