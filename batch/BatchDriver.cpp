#include "batch/BatchDriver.h"

#include "batch/BatchText.h"
#include "platform/ConversionError.h"
#include "platform/CodePage.h"
#include "platform/UnhandledError.h"
#include "platform/TextCase.h"
#include "platform/Ui.h"
#include "report/data/DatabaseError.h"
#include "report/value/Variables.h"

#include <filesystem>

namespace pv {
namespace {

bool isIndividualRecords(const std::string& docType) {
    static const std::string codes[] = {ru("ИН41"), ru("ИН42"), ru("ИНДС"), ru("ИН20"),
                                        ru("ИН30")};
    for (const auto& code : codes)
        if (docType == code) return true;
    return false;
}

void publish(const char* name, const std::string& value) {
    frVariables().SetValue(name, Variant(value));
}

// The first directory that holds the template; when none does, the first
// directory's path, so that the report keeps its template as for a missing file.
std::string templatePath(const DriverContext& context, const std::string& name) {
    const std::string file = cp1251ToUtf8(name);
    if (context.TemplateDirs.empty()) return context.ProgramDir + "TempPlay/" + file;
    for (const std::string& dir : context.TemplateDirs) {
        std::error_code ec;
        if (std::filesystem::exists(std::filesystem::u8path(dir + file), ec)) return dir + file;
    }
    return context.TemplateDirs.front() + file;
}

} // namespace

const char* BatchDriver::kFileFilter = "Пачки ПФР|*.*";

BatchDriver::BatchDriver(DriverContext& context, Ui& ui, ReportService& reports)
    : context_(context), ui_(ui), reports_(reports) {}

void BatchDriver::showPlain(const std::string& text) {
    ui_.messageBox(text, programName(), MsgIcon::None, MsgButtons::Ok);
}

void BatchDriver::showError(const std::string& text) {
    ui_.messageBox(text, ru("Ошибка!"), MsgIcon::Error, MsgButtons::Ok);
}

bool BatchDriver::openBatchFile() {
    std::string path;
    if (!context_.commandLineArg.empty()) {
        path = trim(context_.commandLineArg);
    } else {
        auto chosen = ui_.chooseFileToOpen(ru(kFileFilter));
        if (!chosen) return false;
        path = trim(*chosen);
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec)) {
            showPlain(ru("Нет файла ") + utf8ToCp1251(path));
            return false;
        }
    }
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec) || !file_.open(path)) {
        showPlain(ru("Аварийное завершение. Невозможно прочитать файл ") + utf8ToCp1251(path));
        return false;
    }
    return true;
}

void BatchDriver::publishSignatures() {
    const ProgramSettings& s = context_.settings;
    publish("DolRuk", s.DolRuk);
    publish("FIORuk", s.FIORuk);
    publish("DolIsp", s.DolIsp);
    publish("FIOIsp", s.FIOIsp);
    publish("FIOBug", s.FIOBug);
    publish("OKPO", s.OKPO);
}

bool BatchDriver::readHeader() {
    std::string line = file_.ReadBatchLine();
    if (ExtractField(line, 2) != "04.00") {
        showError(ru("Формат данных не совпадает с редакцией 4.0"));
        return false;
    }

    line = file_.ReadBatchLine();
    header_.reg_nom = ExtractField(line, 3);
    publish("reg_nom", header_.reg_nom);
    if (!switchedOff(context_.settings.regionCheck) && regionCheck_ &&
        !regionCheck_->allows(header_.reg_nom))
        return false;
    header_.inn = StripLeadingZeros(ExtractField(line, 4));
    publish("inn", header_.inn);
    header_.kpp = StripLeadingZeros(ExtractField(line, 5));
    publish("kpp", header_.kpp);
    header_.nazvan = ExtractField(line, 6);
    publish("nazvan", header_.nazvan);

    line = file_.ReadBatchLine();
    header_.nom_pach = ExtractField(line, 2);
    publish("nom_pach", header_.nom_pach);
    header_.DefaultKod = ExtractField(line, 7);
    publish("cYear", ExtractField(line, 14));
    publish("kvart", ExtractField(line, 13));
    if (ExtractField(line, 5).empty()) {
        publish("dat", ExtractField(line, 3));
    } else if (ExtractField(line, 8).empty()) {
        publish("dat", ExtractField(line, 5));
    } else {
        publish("dat", ExtractField(line, 5));
        publish("god", ExtractField(line, 7));
        publish("kateg", ExtractField(line, 8));
        publish("doptar", ExtractField(line, 9));
        publish("terusl", ExtractField(line, 10));
        publish("tip", ExtractField(line, 11));
        publish("korr", ExtractField(line, 12));
        publish("itog_strx", PointToDecimalSeparator(ExtractField(line, 17)));
        publish("itog_nakop", PointToDecimalSeparator(ExtractField(line, 18)));
        publish("itog_dop", PointToDecimalSeparator(ExtractField(line, 19)));
    }

    line = file_.ReadBatchLine();
    publish("kolvo", ExtractField(line, 3));
    docType_ = ExtractField(line, 2);
    return true;
}

std::vector<std::pair<ReportId, std::string>>
BatchDriver::templatesFor(const std::string& docType) const {
    const ProgramSettings& s = context_.settings;
    const bool noList = switchedOff(s.personList);
    auto one = [](const std::string& name) {
        return std::vector<std::pair<ReportId, std::string>>{{ReportId::frReport1, ru(name)}};
    };
    if (docType == ru("ИН41")) return one("szv_4_1.frf");
    if (docType == ru("ИН42")) return one("szv_4_2.frf");
    if (docType == ru("ИНДС") || docType == ru("ИН20") || docType == ru("ИН30"))
        return one("szv_3.frf");
    if (docType == ru("ВУПЛ"))
        return one(switchedOff(s.kopecks) ? "adv_11коп.frf" : "adv_11.frf");
    if (docType == ru("КОНВ"))
        return {{ReportId::frReport1, ru("advk.frf")},
                {ReportId::frReport2, ru("listk.frf")},
                {ReportId::frReport3, ru("szv_k.frf")}};
    if (docType == ru("АНКТ")) return one(noList ? "adv_1s.frf" : "adv_1.frf");
    if (docType == ru("ОБМН")) return one(noList ? "adv_2s.frf" : "adv_2.frf");
    if (docType == ru("ДУБЛ")) return one(noList ? "adv_3s.frf" : "adv_3.frf");
    if (docType == ru("СВОД")) return one("adv_10.frf");
    return {};
}

void BatchDriver::loadTemplates(const std::vector<std::pair<ReportId, std::string>>& templates) {
    for (const auto& [report, name] : templates)
        reports_.LoadFromFile(report, templatePath(context_, name));
}

void BatchDriver::abortWithConversionError(const std::string& text) {
    file_.close();
    ShowException(ui_, text);
}

void BatchDriver::runParser() {
    const bool individual = isIndividualRecords(docType_);
    if (parsers_) parsers_->parse(docType_, *this);
    if (!individual) {
        // A parser that ends the run itself has done so; without one, end it here.
        if (!parsers_) endOfRun(ReportId::frReport1);
        return;
    }
    endOfRun(ReportId::frReport1, [this] {
        if (parsers_) parsers_->finishIndividualRecords();
    });
}

void BatchDriver::endOfRun(ReportId report, const std::function<void()>& postPending) {
    if (postPending) postPending();
    file_.close();
    reports_.PrepareAndPreview(report);
    frVariables().Clear();
    if (!context_.commandLineArg.empty()) context_.closeMainWindow();
}

void BatchDriver::BitBtn13Click() {
    if (parsers_) parsers_->emptyRunTables();
    if (!openBatchFile()) return;
    processOpenedFile();
}

void BatchDriver::processOpenedFile() {
    try {
        publishSignatures();
        if (regionCheck_) regionCheck_->clearStopRequested();
        if (!readHeader()) {
            file_.close();
            return;
        }
        auto templates = templatesFor(docType_);
        if (templates.empty()) {
            showError(ru("Файл не является пачкой документов ПФР"));
            file_.close();
            return;
        }
        loadTemplates(templates);
        runParser();
    } catch (const ConversionError& e) {
        abortWithConversionError(e.text());
    } catch (const DatabaseError& e) {
        // A table refusing a batch value aborts the run the same way.
        abortWithConversionError(e.text());
    }
}

} // namespace pv
