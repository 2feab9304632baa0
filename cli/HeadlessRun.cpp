#include "cli/HeadlessRun.h"

#include "program/ProgramSettingsReader.h"
#include "cli/TableDump.h"
#include "platform/CodePage.h"
#include "report/value/Variables.h"

#include <algorithm>
#include <filesystem>

namespace pv::cli {

HeadlessRun::HeadlessRun(const CommonOptions& options, const std::string& batchPath, bool prepare)
    : driver_(context_, ui_, *this), formTables_(ui_, [this] { return driver_.DocType(); }),
      parsers_(formTables_) {
    driver_.setParsers(&parsers_);
    context_.ProgramDir = options.programDir;
    context_.TemplateDirs = options.templateDirs;
    context_.commandLineArg = batchPath;
    context_.settings = readProgramSettings(options.programDir);
    regionWarning_.setAnswer(options.regionWarning == "stop"
                                 ? ScriptedRegionWarning::Answer::Exit
                                 : ScriptedRegionWarning::Answer::Ignore);
    if (!options.regionWarning.empty()) driver_.setRegionCheck(&regionCheck_);
    if (prepare) {
        formSources_ = std::make_unique<FormDataSources>(formTables_, sources_);
        engine_ = std::make_unique<PreparingReportService>(sources_, ui_,
                                                           static_cast<ReportPresenter&>(*this));
    }
}

bool HeadlessRun::run() {
    driver_.BitBtn13Click();
    const auto own = parsers_.tablesOf(driver_.DocType());
    for (const FormTables::Entry& e : formTables_.all()) {
        TRxMemoryData& table = *e.table;
        const bool filled = std::find(own.begin(), own.end(), &table) != own.end();
        if (filled || (table.Active() && table.RecordCount() > 0))
            tables_[table.Name()] = dumpTable(table);
    }
    return shown_;
}

void HeadlessRun::LoadFromFile(ReportId report, const std::string& path) {
    templates_.push_back(std::filesystem::path(path).filename().string());
    loaded_[report] = templates_.back();
    if (engine_) engine_->LoadFromFile(report, path);
}

void HeadlessRun::PrepareAndPreview(ReportId report) {
    shown_ = true;
    if (report == ReportId::frCompositeReport1) {
        auto reports = nlohmann::ordered_json::array();
        auto templates = nlohmann::ordered_json::array();
        for (ReportId member : members_) {
            reports.push_back(reportName(member));
            auto it = loaded_.find(member);
            templates.push_back(it == loaded_.end() ? "" : it->second);
        }
        composite_ = {
            {"DoublePassReport", doublePass_}, {"reports", reports}, {"templates", templates}};
    }
    variables_ = nlohmann::ordered_json::object();
    const TfrVariables& vars = frVariables();
    for (int i = 0; i < vars.Count(); ++i)
        variables_[cp1251ToUtf8(vars.Name(i))] = cp1251ToUtf8(vars.ValueAt(i).toText());
    if (engine_) {
        engine_->SetDoublePassReport(doublePass_);
        engine_->ClearCompositeReports();
        for (ReportId member : members_)
            engine_->AddCompositeReport(member);
        engine_->PrepareAndPreview(report);
    }
}

std::string HeadlessRun::messagesText() const {
    std::string out;
    for (const auto& m : ui_.messages())
        out += cp1251ToTerminal(m.caption) + ": " + cp1251ToTerminal(m.text) + "\n";
    return out;
}

nlohmann::ordered_json HeadlessRun::toJson() const {
    nlohmann::ordered_json out;
    out["docType"] = cp1251ToUtf8(driver_.DocType());
    out["templates"] = templates_;
    out["variables"] = variables_;
    out["tables"] = tables_;
    auto messages = nlohmann::ordered_json::array();
    for (const auto& m : ui_.messages())
        messages.push_back({{"caption", cp1251ToUtf8(m.caption)},
                            {"text", cp1251ToUtf8(m.text)},
                            {"icon", iconName(m.icon)}});
    out["messages"] = messages;
    out["shown"] = shown_;
    if (!composite_.is_null()) out["composite"] = composite_;
    return out;
}

} // namespace pv::cli
