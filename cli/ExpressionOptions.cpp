#include "cli/ExpressionOptions.h"

#include "cli/TemplateLoading.h"
#include "platform/CodePage.h"
#include "report/script/ExpressionContext.h"
#include "report/template/Report.h"
#include "report/template/ReportObjects.h"
#include "report/value/Variables.h"

namespace pv::cli {

ExpressionOptions::ExpressionOptions() = default;
ExpressionOptions::~ExpressionOptions() = default;

void ExpressionOptions::addTo(CLI::App& command) {
    format.addTo(command);
    command.add_option("--var", vars, "A global variable NAME=VALUE (text)");
    command.add_option("--template", templateFile,
                       "A template (.frf) whose objects expressions address (Memo1.Font.Size)");
}

int ExpressionOptions::attachTemplate(ExpressionContext& context, ScriptedUi& ui) {
    if (templateFile.empty()) return 0;
    report_ = std::make_unique<TfrReport>();
    if (int rc = loadTemplateFile(templateFile, std::nullopt, *report_, ui)) return rc;
    objects_ = std::make_unique<ReportObjects>(*report_);
    context.objects = objects_.get();
    return 0;
}

void ExpressionOptions::bind(ExpressionEngine& engine) {
    if (objects_) objects_->setEngine(&engine);
}

void ExpressionOptions::apply() const {
    format.apply();
    for (const auto& var : vars) {
        size_t eq = var.find('=');
        if (eq == std::string::npos || eq == 0)
            throw CLI::ValidationError("--var", "expected NAME=VALUE, got " + var);
        frVariables().SetValue(utf8ToCp1251(var.substr(0, eq)),
                               Variant(utf8ToCp1251(var.substr(eq + 1))));
    }
}

} // namespace pv::cli
