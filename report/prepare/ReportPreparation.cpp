#include "report/prepare/ReportPreparation.h"

#include "platform/Ui.h"
#include "report/model/ByteStream.h"
#include "report/prepare/DataSourceContext.h"
#include "report/prepared/PreparedPages.h"
#include "report/script/ExpressionEngine.h"
#include "report/value/ExpressionError.h"
#include "report/script/ExpressionErrorMessage.h"
#include "report/script/ScriptInterpreter.h"
#include "report/prepare/PageFormation.h"
#include "report/prepare/PageRuntime.h"
#include "report/template/Report.h"
#include "report/template/ReportObjects.h"
#include "report/prepare/WholeFieldBinding.h"
#include "platform/CodePage.h"
#include "report/template/ReportProgress.h"

#include <memory>
#include <vector>

namespace pv {

namespace {

// Puts the template back as it was saved, however the preparation ends;
// the report information and file name are the template's own, not those
// of the copy kept in memory.
class TemplateRestorer {
public:
    explicit TemplateRestorer(TfrReport& report)
        : report_(report), info_(report.Info), fileName_(report.FileName) {
        report.SaveToStream(saved_);
    }
    ~TemplateRestorer() { reload(); }
    TemplateRestorer(const TemplateRestorer&) = delete;
    TemplateRestorer& operator=(const TemplateRestorer&) = delete;

    void reload() {
        ByteStream copy(saved_.bytes());
        report_.LoadFromStream(copy);
        report_.Info = info_;
        report_.FileName = fileName_;
    }

private:
    TfrReport& report_;
    ByteStream saved_;
    TfrReportInfo info_;
    std::string fileName_;
};

// A script or group condition that did not compile stops the preparation as
// a failing one would: printing without it would print a different report.
void throwCompileErrors(const PageRuntime& runtime) {
    if (!runtime.errors().empty()) throw ExpressionError(runtime.errors().front());
}

std::vector<TfrView*> pageObjects(TfrReport& report) {
    std::vector<TfrView*> objects;
    for (auto& page : report.Pages)
        for (auto& view : page->Objects)
            objects.push_back(view.get());
    return objects;
}

std::string firstPassLabel() {
    return ru("Выполняется 1-й проход:");
}

std::string finalPassLabel() {
    return ru("Формируется страница:");
}

} // namespace

ReportPreparation::ReportPreparation(TfrReport& report, const DataSourceRegistry& sources)
    : report_(report), sources_(sources) {}

bool ReportPreparation::Prepare() {
    error_.reset();
    startTime_ = report_.now();
    report_.EMFPages().ClearPages();
    ReportProgress progress(report_, report_.DoublePass ? firstPassLabel() : finalPassLabel());
    bool completed = true;
    progress.run([&] { completed = runPasses(progress); });
    if (error_ && report_.ui())
        report_.ui()->messageBox(*error_, expressionErrorCaption(), MsgIcon::Error, MsgButtons::Ok);
    return completed;
}

bool ReportPreparation::runPasses(ReportProgress& progress) {
    TfrEMFPages& pages = report_.EMFPages();
    TemplateRestorer restorer(report_);
    try {
        int total = 0;
        if (report_.DoublePass) {
            const bool counted = runPass(false, 0, progress);
            total = pages.Count();
            pages.ClearPages();
            if (!counted) return false;
            restorer.reload();
            progress.setLabelText(finalPassLabel());
        }
        return runPass(true, total, progress);
    } catch (const ExpressionError&) {
        pages.ClearPages();
    }
    return true;
}

bool ReportPreparation::runPass(bool finalPass, int totalPages, ReportProgress& progress) {
    TfrEMFPages& pages = report_.EMFPages();
    pages.ClearPages();
    DataSourceContext data(sources_, &report_.Dictionary);
    ReportObjects objects(report_);
    PassState pass;
    pass.finalPass = finalPass;
    pass.twoPass = report_.DoublePass != 0;
    pass.totalPages = totalPages;
    pass.printIfEmpty = printIfEmpty_;
    pass.data = &data;
    std::optional<int> shownTotal;
    if (pass.twoPass && finalPass) shownTotal = totalPages;
    pass.progress = [&](int sheet) { progress.page(sheet, shownTotal); };
    pass.cancelled = [&] { return progress.cancelled(); };

    ExpressionEngine engine({&data, nullptr, &objects, nullptr, report_.ui()});
    engine.setStartTime(startTime_);
    objects.setEngine(&engine);
    TfrInterpretator interpretator(engine);

    try {
        std::vector<bool> subPages = subReportPages(report_);
        std::vector<std::unique_ptr<PageRuntime>> runtimes;
        for (size_t i = 0; i < report_.Pages.size(); ++i) {
            TfrPage& page = *report_.Pages[i];
            if (page.isDialog()) {
                runtimes.push_back(nullptr);
                continue;
            }
            runtimes.push_back(
                std::make_unique<PageRuntime>(page, subPages[i], sources_, interpretator));
            throwCompileErrors(*runtimes.back());
        }
        // The template is reloaded between the passes, so its objects are
        // new ones in the final pass and are bound again.
        WholeFieldBindings bindings;
        bindings.bind(pageObjects(report_), data);
        pass.bindings = &bindings;

        SheetContinuation continuation;
        for (size_t i = 0; i < report_.Pages.size() && !pass.terminated; ++i) {
            TfrPage& page = *report_.Pages[i];
            PageRuntime* runtime = runtimes[i].get();
            if (runtime && !runtime->skip()) {
                PageFormation formation(*runtime, pages, engine, interpretator, pass);
                engine.setContext({&data, &formation, &objects, &formation, report_.ui()});
                pass.currentObject = nullptr;
                // Every pass builds its bands anew, so every pass collects.
                formation.CollectAggregates();
                if (!page.Script.empty())
                    interpretator.RunScript(interpretator.CompileScript(page.Script),
                                            PageFormation::kScriptStepLimit);
                if (page.Visible) formation.Form(continuation);
                engine.setContext({&data, nullptr, &objects, nullptr, report_.ui()});
            }
            const bool nextOnSameSheet =
                i + 1 < report_.Pages.size() && report_.Pages[i + 1]->PrintToPrevPage != 0;
            continuation.active = nextOnSameSheet && pages.Count() > 0;
            if (!nextOnSameSheet) pass.currentPage = pages.Count();
        }
    } catch (const ExpressionError& e) {
        const TfrView* object = pass.currentObject;
        error_ = expressionErrorMessage(object ? object->Memo : Lines{}, componentName_,
                                        object ? object->Name : std::string(), e.text());
        throw;
    }
    return !pass.userCancelled;
}

} // namespace pv
