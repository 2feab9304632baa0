#include "report/prepare/ReportPreparation.h"

#include "platform/CodePage.h"
#include "platform/Ui.h"
#include "report/model/BandView.h"
#include "report/model/ByteStream.h"
#include "report/prepare/DataSourceContext.h"
#include "report/prepare/PageFormation.h"
#include "report/prepare/PageRuntime.h"
#include "report/prepare/PreparationEvents.h"
#include "report/prepare/RunningBandObjects.h"
#include "report/prepare/UnsupportedTemplateError.h"
#include "report/prepare/WholeFieldBinding.h"
#include "report/prepared/PreparedPages.h"
#include "report/script/ExpressionEngine.h"
#include "report/script/ExpressionErrorMessage.h"
#include "report/script/ScriptInterpreter.h"
#include "report/template/CompositeReport.h"
#include "report/template/Report.h"
#include "report/template/ReportObjects.h"
#include "report/value/ExpressionError.h"
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

// A group condition that did not compile stops the preparation as a failing
// one would: printing without it would print a different report. A script
// with a syntax error runs what compiled before it, silently, as templates
// made for the designer expect.
void throwCompileErrors(const PageRuntime& runtime, PassState& pass) {
    if (runtime.conditionErrors().empty()) return;
    const PageRuntime::ConditionError& first = runtime.conditionErrors().front();
    pass.currentObject = first.band;
    throw ExpressionError(first.message);
}

std::vector<TfrView*> pageObjects(TfrReport& report) {
    std::vector<TfrView*> objects;
    for (auto& page : report.Pages)
        for (auto& view : page->Objects)
            objects.push_back(view.get());
    return objects;
}

// Cross-tab bands are not printed by this engine; a template that has them
// is refused as a whole rather than printed with its cross objects misplaced.
void refuseCrossBands(const TfrReport& report) {
    for (const auto& page : report.Pages)
        for (const auto& view : page->Objects) {
            const auto* band = dynamic_cast<const TfrBandView*>(view.get());
            if (band && band->typeCode() == gtBand && band->bandType() >= btCrossHeader &&
                band->bandType() <= btCrossFooter)
                throw UnsupportedTemplateError(
                    ru("Перекрёстные полосы не поддерживаются: полоса ") + band->Name +
                    ru(" на странице ") + page->Name);
        }
}

void call(const std::function<void()>& handler) {
    if (handler) handler();
}

// The handlers of OnGetValue and OnUserFunction, as the expression engine asks them.
ExpressionEngine::UserHandlers userHandlers(const TfrReportEvents& events) {
    ExpressionEngine::UserHandlers handlers;
    if (events.OnGetValue)
        handlers.getValue = [&events](const std::string& name) { return events.OnGetValue(name); };
    if (events.OnUserFunction)
        handlers.userFunction = [&events](const std::string& name, const std::string& p1,
                                          const std::string& p2, const std::string& p3) {
            return events.OnUserFunction(name, p1, p2, p3);
        };
    return handlers;
}

std::string firstPassLabel() {
    return ru("Выполняется 1-й проход:");
}

std::string finalPassLabel() {
    return ru("Формируется страница:");
}

} // namespace

ReportPreparation::ReportPreparation(TfrReport& report, const DataSourceRegistry& sources)
    : report_(report), sources_(sources) {
    if (auto* composite = dynamic_cast<TfrCompositeReport*>(&report)) {
        composite_ = true;
        for (const TfrCompositeReport::Member& m : composite->Reports())
            if (m.report && m.report != &report) members_.push_back({m.report, m.componentName});
    } else {
        members_.push_back({&report, "frReport1"});
    }
}

void ReportPreparation::setComponentName(std::string name) {
    if (!composite_ && !members_.empty()) members_.front().componentName = std::move(name);
}

bool ReportPreparation::Prepare() {
    error_.reset();
    startTime_ = report_.now();
    // Saving the template for its restoring stamps a new last-change date on
    // the copy in memory; the report information scripts read is the template's.
    info_ = report_.Info;
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
    bool completed = true;
    std::vector<std::unique_ptr<TemplateRestorer>> restorers;
    for (const Member& m : members_) {
        restorers.push_back(std::make_unique<TemplateRestorer>(*m.report));
        if (composite_) call(m.report->Events.OnBeginDoc);
    }
    call(report_.Events.OnBeginDoc);
    try {
        for (const Member& m : members_)
            refuseCrossBands(*m.report);
        int total = 0;
        if (report_.DoublePass) {
            completed = runPass(false, 0, progress);
            total = pages.Count();
            pages.ClearPages();
            if (completed) {
                for (auto& restorer : restorers)
                    restorer->reload();
                progress.setLabelText(finalPassLabel());
            }
        }
        if (completed) completed = runPass(true, total, progress);
    } catch (const ExpressionError&) {
        pages.ClearPages();
    } catch (const UnsupportedTemplateError& e) {
        error_ = e.text();
        pages.ClearPages();
    }
    call(report_.Events.OnEndDoc);
    if (composite_)
        for (const Member& m : members_)
            call(m.report->Events.OnEndDoc);
    return completed;
}

bool ReportPreparation::runPass(bool finalPass, int totalPages, ReportProgress& progress) {
    TfrEMFPages& pages = report_.EMFPages();
    pages.ClearPages();
    PassState pass;
    pass.finalPass = finalPass;
    pass.twoPass = report_.DoublePass != 0;
    pass.totalPages = totalPages;
    pass.printIfEmpty = printIfEmpty_;
    if (scriptSteps_) pass.scriptSteps = *scriptSteps_;
    pass.pageLimit = pageLimit_;
    std::optional<int> shownTotal;
    if (pass.twoPass && finalPass) shownTotal = totalPages;
    pass.progress = [&](int sheet) { progress.page(sheet, shownTotal); };
    pass.cancelled = [&] { return progress.cancelled(); };
    SheetContinuation continuation;
    for (size_t i = 0; i < members_.size() && !pass.terminated; ++i) {
        const bool intoNext =
            i + 1 < members_.size() && continuesInto(members_[i], members_[i + 1]);
        runMember(members_[i], pass, continuation, intoNext);
    }
    return !pass.userCancelled;
}

// A member goes on the sheet the previous one ended on only when its first
// page asks for that and the paper is the same: a sheet has one paper.
bool ReportPreparation::continuesInto(const Member& member, const Member& next) const {
    if (next.report->Pages.empty() || member.report->Pages.empty()) return false;
    const TfrPage& first = *next.report->Pages.front();
    if (!first.PrintToPrevPage) return false;
    const TfrEMFPages& pages = report_.EMFPages();
    if (pages.Count() > 0) {
        const PreparedPage& last = pages.Page(pages.Count() - 1);
        return last.size == first.Size && last.orientation == first.Orientation;
    }
    const TfrPage& last = *member.report->Pages.back();
    return last.Size == first.Size && last.Orientation == first.Orientation;
}

void ReportPreparation::runMember(const Member& member, PassState& pass,
                                  SheetContinuation& continuation, bool continueIntoNext) {
    TfrReport& report = *member.report;
    TfrEMFPages& pages = report_.EMFPages();
    DataSourceContext data(sources_, &report.Dictionary);
    ReportObjects objects(report);
    PreparationEvents events(report.Events, report_.Events);
    pass.data = &data;
    // The report information a member's scripts read is its own template's.
    pass.info = member.report == &report_ ? &info_ : &report.Info;
    pass.events = &events;

    ExpressionEngine engine({&data, nullptr, &objects, nullptr, report_.ui()});
    engine.setStartTime(startTime_);
    engine.setUserHandlers(userHandlers(report.Events));
    objects.setEngine(&engine);
    TfrInterpretator interpretator(engine);

    try {
        std::vector<bool> subPages = subReportPages(report);
        std::vector<std::unique_ptr<PageRuntime>> runtimes;
        for (size_t i = 0; i < report.Pages.size(); ++i) {
            TfrPage& page = *report.Pages[i];
            if (page.isDialog()) {
                runtimes.push_back(nullptr);
                continue;
            }
            runtimes.push_back(
                std::make_unique<PageRuntime>(page, subPages[i], sources_, interpretator));
            throwCompileErrors(*runtimes.back(), pass);
        }
        // The template is reloaded between the passes, so its objects are
        // new ones in the final pass and are bound again.
        WholeFieldBindings bindings;
        bindings.bind(pageObjects(report), data);
        pass.bindings = &bindings;

        for (size_t i = 0; i < report.Pages.size() && !pass.terminated; ++i) {
            TfrPage& page = *report.Pages[i];
            PageRuntime* runtime = runtimes[i].get();
            if (runtime && !runtime->skip()) {
                PageFormation formation(*runtime, pages, engine, interpretator, pass);
                RunningBandObjects bands(objects, *runtime);
                engine.setContext({&data, &formation, &bands, &formation, report_.ui()});
                pass.currentObject = nullptr;
                // Every pass builds its bands anew, so every pass collects.
                formation.CollectAggregates();
                if (!page.Script.empty())
                    interpretator.RunScript(interpretator.CompileScript(page.Script),
                                            pass.scriptSteps);
                if (page.Visible) formation.Form(continuation);
                engine.setContext({&data, nullptr, &objects, nullptr, report_.ui()});
            }
            const bool last = i + 1 == report.Pages.size();
            const bool nextOnSameSheet =
                last ? continueIntoNext : report.Pages[i + 1]->PrintToPrevPage != 0;
            continuation.active = nextOnSameSheet && pages.Count() > 0;
            if (!nextOnSameSheet) pass.currentPage = pages.Count();
        }
    } catch (const ExpressionError& e) {
        const TfrView* object = pass.currentObject;
        error_ = expressionErrorMessage(object ? object->Memo : Lines{}, member.componentName,
                                        object ? object->Name : std::string(), e.text());
        pass.data = nullptr;
        pass.events = nullptr;
        throw;
    }
    // The sheet the next member goes on is not finished yet.
    if (!continueIntoNext) pass.endPages(pages.Count());
    pass.data = nullptr;
    pass.events = nullptr;
    pass.bindings = nullptr;
}

} // namespace pv
