#include "report/prepared/PageSearch.h"

#include "platform/CodePage.h"
#include "platform/EmfRecords.h"
#include "platform/TextCase.h"

namespace pv {

std::optional<TextHit> findTextOnPage(std::span<const std::uint8_t> metafile,
                                      const std::string& text, bool caseSensitive,
                                      std::optional<std::size_t> after) {
    for (const EmfRecord& record : EmfReader(metafile)) {
        if (record.type() != emf::EMR_EXTTEXTOUTW) continue;
        if (after && record.index() <= *after) continue;
        const EmfTextOut out = decodeExtTextOutW(record);
        std::string shown = codepage::fromUtf16(out.text, codepage::kWindows1251);
        if (!caseSensitive) shown = upper1251(shown);
        if (shown.find(text) != std::string::npos) return TextHit{record.index(), out.bounds};
    }
    return std::nullopt;
}

PageSearch::PageSearch(PageRecorder recordPage, int pageCount)
    : recordPage_(std::move(recordPage)), pageCount_(pageCount) {}

void PageSearch::setText(const std::string& text, bool caseSensitive) {
    caseSensitive_ = caseSensitive;
    text_ = caseSensitive ? text : upper1251(text);
    last_.reset();
}

std::optional<PageHit> PageSearch::findFrom(int startPage) {
    startPage_ = startPage;
    last_.reset();
    return run(startPage, std::nullopt);
}

std::optional<PageHit> PageSearch::findNext() {
    if (!last_) return run(startPage_, std::nullopt);
    return run(last_->page, last_->hit.record);
}

std::optional<PageHit> PageSearch::run(int page, std::optional<std::size_t> after) {
    // An empty text would match every record and never move on.
    if (text_.empty()) return std::nullopt;
    for (page = std::max(page, 1); page <= pageCount_; ++page, after.reset()) {
        const std::vector<std::uint8_t> metafile = recordPage_(page);
        if (auto hit = findTextOnPage(metafile, text_, caseSensitive_, after)) {
            last_ = PageHit{page, *hit};
            return last_;
        }
    }
    return std::nullopt;
}

} // namespace pv
