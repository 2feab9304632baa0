#include "report/prepare/PageRuntime.h"

#include "platform/TextCase.h"
#include "report/prepare/BandAlignPlacement.h"
#include "report/value/ExpressionError.h"
#include "report/model/Page.h"
#include "report/script/ExpressionParser.h"
#include "report/template/Report.h"
#include "report/model/SubReportView.h"

#include <algorithm>

namespace pv {
namespace {

constexpr uint16_t flRememberedObject = 0x8000;

TfrBandView* bandViewOf(TfrView& view) {
    if (view.typeCode() != gtBand) return nullptr;
    auto* band = dynamic_cast<TfrBandView*>(&view);
    if (!band || band->bandType() < btReportTitle || band->bandType() >= btNone) return nullptr;
    return band;
}

bool isCrossType(int type) {
    return type >= btCrossHeader && type <= btCrossFooter;
}

bool isSubReport(const TfrView& view) {
    return view.typeCode() == gtSubReport;
}

bool verticallyInside(const TfrView& view, const TfrBand& band) {
    return view.Top >= band.y && view.Top <= band.y + band.height;
}

} // namespace

PageRuntime::PageRuntime(TfrPage& page, bool subReportPage, const DataSourceRegistry& sources,
                               const TfrInterpretator& compiler)
    : page_(page), skip_(subReportPage) {
    compileObjects(compiler);
    buildCrossBands(sources, compiler);
    buildBands(sources, compiler);
    TfrBand& outside = addBand(btNone, nullptr);
    slots_[btNone] = &outside;
    for (auto& view : page_.Objects)
        if (view->typeCode() != gtBand && !inBand_.count(view.get()) && !inCross_.count(view.get()))
            outside.objects.push_back(view.get());
    pairHeadersAndFooters(btMasterHeader, btMasterData, btMasterFooter);
    pairHeadersAndFooters(btDetailHeader, btDetailData, btDetailFooter);
    pairHeadersAndFooters(btSubDetailHeader, btSubDetailData, btSubDetailFooter);
    pairGroups();
    assignCrossDataSources(sources);
    linkChildren();
    attachGroups();
    computeColumns();
    for (const auto& band : bands_)
        for (const std::string& error : band->script.errors)
            errors_.push_back(band->name + ": " + error);
    for (const auto& view : page_.Objects)
        if (const CompiledScript* script = objectScript(*view))
            for (const std::string& error : script->errors)
                errors_.push_back(view->Name + ": " + error);
}

TfrBand& PageRuntime::addBand(int type, TfrBandView* view) {
    bands_.push_back(std::make_unique<TfrBand>(type, page_, view));
    return *bands_.back();
}

TfrBand& PageRuntime::addBand(int type, TfrBandView* view, const TfrInterpretator& compiler) {
    TfrBand& band = addBand(type, view);
    band.name = view->Name;
    band.memo = view->Memo;
    band.script = compiler.CompileScript(view->Script);
    band.x = view->Left;
    band.width = view->Width;
    band.flags = view->Flags;
    band.visible = view->Visible != 0;
    return band;
}

std::vector<TfrBand*> PageRuntime::chain(int type) const {
    std::vector<TfrBand*> result;
    for (TfrBand* band = slots_.at(type); band; band = band->next)
        result.push_back(band);
    return result;
}

TfrBand* PageRuntime::findBand(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (const auto& band : bands_)
        if (band->view && equalsNoCase(band->name, name)) return band.get();
    return nullptr;
}

const CompiledScript* PageRuntime::objectScript(const TfrView& view) const {
    auto it = scripts_.find(&view);
    return it == scripts_.end() ? nullptr : &it->second;
}

void PageRuntime::compileObjects(const TfrInterpretator& compiler) {
    for (auto& view : page_.Objects) {
        if (view->flag(flRememberedObject)) flagged_.push_back(view.get());
        if (view->typeCode() != gtBand && !view->Script.empty())
            scripts_[view.get()] = compiler.CompileScript(view->Script);
    }
}

void PageRuntime::buildCrossBands(const DataSourceRegistry& sources,
                                     const TfrInterpretator& compiler) {
    for (int type = btCrossHeader; type <= btCrossFooter; ++type) {
        for (auto& candidate : page_.Objects) {
            TfrBandView* view = bandViewOf(*candidate);
            if (!view || view->bandType() != type) continue;
            TfrBand& band = addBand(type, view, compiler);
            band.dataSource = resolveBandDataSource(view->FormatStr, sources);
            for (auto& object : page_.Objects) {
                TfrView& o = *object;
                if (o.typeCode() == gtBand || inCross_.count(&o)) continue;
                if (o.Left < band.x || o.Left + o.Width > band.x + band.width) continue;
                o.Left -= band.x;
                inCross_.insert(&o);
                band.objects.push_back(&o);
            }
        }
        linkChain(type);
    }
}

void PageRuntime::buildBands(const DataSourceRegistry& sources,
                                const TfrInterpretator& compiler) {
    const bool subReport = skip_;
    for (auto& candidate : page_.Objects)
        if (TfrBandView* view = bandViewOf(*candidate); view && !isCrossType(view->bandType()))
            bandTops_.insert(view->Top);
    for (int type = btReportTitle; type < btNone; ++type) {
        if (isCrossType(type)) continue;
        for (auto& candidate : page_.Objects) {
            TfrBandView* view = bandViewOf(*candidate);
            if (!view || view->bandType() != type) continue;
            TfrBand& band = addBand(type, view, compiler);
            band.y = view->Top;
            band.height = view->Height;
            band.stretched = view->flag(flStretched);
            band.printIfSubsetEmpty = view->flag(flBandPrintIfSubsetEmpty);
            band.printChildIfInvisible = view->flag(flBandPrintChildIfInvisible);
            // A sub-report is played into its parent's band: it neither
            // breaks pages after a band nor splits one.
            band.newPageAfter = !subReport && view->flag(flBandNewPageAfter);
            band.pageBreakAllowed = !subReport && view->flag(flBandBreaked);
            if (type == btGroupHeader) {
                try {
                    band.groupCondition = TfrParser().Compile(view->FormatStr);
                } catch (const ExpressionError& e) {
                    errors_.push_back(band.name + ": " + e.text());
                    conditionErrors_.push_back({view, e.text()});
                }
            } else {
                band.dataSource = resolveBandDataSource(view->FormatStr, sources);
            }
            takeObjects(band);
        }
        linkChain(type);
    }
}

void PageRuntime::takeObjects(TfrBand& band) {
    auto take = [&](TfrView& view) {
        inBand_.insert(&view);
        band.objects.push_back(&view);
    };
    // An object on the band's bottom edge belongs to the band that starts
    // there, if one does: a child band drawn right under its band keeps its
    // objects, and stretches with them.
    auto inside = [&](const TfrView& o) {
        return verticallyInside(o, band) &&
               (o.Top < band.y + band.height || !bandTops_.count(o.Top));
    };
    for (auto& object : page_.Objects) {
        TfrView& o = *object;
        if (o.typeCode() != gtBand && !isSubReport(o) && !inBand_.count(&o) &&
            !inCross_.count(&o) && inside(o))
            take(o);
    }
    // An object of a cross band prints in this band too; one already in another
    // band has its Top relative to that band and is left there.
    for (auto& object : page_.Objects) {
        TfrView& o = *object;
        if (inCross_.count(&o) && !inBand_.count(&o) && inside(o)) take(o);
    }
    for (auto& object : page_.Objects) {
        TfrView& o = *object;
        if (isSubReport(o) && !inBand_.count(&o) && !inCross_.count(&o) && inside(o)) take(o);
    }
    for (TfrView* view : band.objects)
        view->Top -= band.y;
}

void PageRuntime::linkChain(int type) {
    std::vector<TfrBand*> chain;
    for (const auto& band : bands_)
        if (band->type == type) chain.push_back(band.get());
    if (!isCrossType(type))
        std::stable_sort(chain.begin(), chain.end(),
                         [](const TfrBand* a, const TfrBand* b) { return a->y < b->y; });
    slots_[type] = chain.empty() ? nullptr : chain.front();
    for (size_t i = 0; i < chain.size(); ++i) {
        chain[i]->prev = i > 0 ? chain[i - 1] : nullptr;
        chain[i]->next = i + 1 < chain.size() ? chain[i + 1] : nullptr;
    }
}

void PageRuntime::pairHeadersAndFooters(int header, int data, int footer) {
    const std::vector<TfrBand*> dataBands = chain(data);
    for (TfrBand* h : chain(header)) {
        for (TfrBand* d : dataBands) {
            if (d->y < h->y + h->height) continue;
            if (!d->headerBand) {
                d->headerBand = h;
                h->dataBand = d;
            }
            break;
        }
    }
    for (TfrBand* f : chain(footer)) {
        // The last data band that ends above the footer.
        TfrBand* owner = nullptr;
        for (TfrBand* d : dataBands) {
            if (d->y + d->height > f->y) break;
            owner = d;
        }
        if (owner && !owner->footerBand) {
            owner->footerBand = f;
            f->dataBand = owner;
        }
    }
}

void PageRuntime::pairGroups() {
    std::vector<TfrBand*> headers = chain(btGroupHeader), footers = chain(btGroupFooter);
    for (size_t i = 0; i < headers.size() && i < footers.size(); ++i) {
        headers[i]->footerBand = footers[i];
        footers[i]->headerBand = headers[i];
    }
}

void PageRuntime::assignCrossDataSources(const DataSourceRegistry& sources) {
    for (TfrBand* cross : chain(btCrossData)) {
        const std::string& list = cross->view->FormatStr;
        if (list.find(';') == std::string::npos) continue;
        size_t start = 0;
        for (size_t end; (end = list.find(';', start)) != std::string::npos; start = end + 1) {
            std::string entry = list.substr(start, end - start);
            size_t equals = entry.find('=');
            if (equals == std::string::npos) continue;
            TfrBand* band = findBand(trim(entry.substr(0, equals)));
            if (band && band->type >= btMasterHeader && band->type < btNone)
                band->crossDataSource = sources.find(entry.substr(equals + 1));
        }
    }
}

void PageRuntime::linkChildren() {
    for (const auto& band : bands_)
        if (band->view && !band->view->ChildBand.empty())
            band->child = findBand(band->view->ChildBand);
}

void PageRuntime::attachGroups() {
    for (TfrBand* group : chain(btGroupHeader)) {
        TfrBand* owner = findBand(group->view->Master);
        if (!owner || !owner->isData()) owner = slots_[btMasterData];
        if (!owner) continue;
        group->dataBand = owner;
        if (group->footerBand) group->footerBand->dataBand = owner;
        group->prevGroup = owner->lastGroup;
        if (owner->lastGroup)
            owner->lastGroup->nextGroup = group;
        else
            owner->firstGroup = group;
        owner->lastGroup = group;
    }
}

void PageRuntime::computeColumns() {
    columns_ = page_.Columns > 0 ? page_.Columns : 1;
    const TfrPageInfo& info = page_.PageInfo;
    PlacementLimits limits =
        placementLimits(page_.UseMargins != 0, info.paperWidth, page_.LeftMargin, page_.RightMargin,
                        info.offsetX, info.printableWidth);
    columnWidth_ = (limits.right - limits.left - (columns_ - 1) * page_.ColumnGap) / columns_;
}

std::vector<bool> subReportPages(const TfrReport& report) {
    std::vector<bool> marked(report.Pages.size(), false);
    for (const auto& page : report.Pages)
        for (const auto& view : page->Objects)
            if (const auto* sub = dynamic_cast<const TfrSubReportView*>(view.get()))
                if (sub->SubPage >= 0 && size_t(sub->SubPage) < marked.size())
                    marked[sub->SubPage] = true;
    return marked;
}

} // namespace pv
