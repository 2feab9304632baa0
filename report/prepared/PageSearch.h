#pragma once

#include "platform/EmfReader.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pv {

struct TextHit {
    std::size_t record = 0; // the record's index in the metafile
    EmfRect bounds;         // the record's bounds, as stored (inclusive edges)
    bool operator==(const TextHit&) const = default;
};

// The first text-output record of a page's metafile after record `after`
// (from the first record when none) whose text contains `text` (1251). Not
// case-sensitive, record texts are upper-cased before comparing; `text` is
// expected upper-cased already, as the find dialog stores it.
std::optional<TextHit> findTextOnPage(std::span<const std::uint8_t> metafile,
                                      const std::string& text, bool caseSensitive,
                                      std::optional<std::size_t> after = std::nullopt);

struct PageHit {
    int page = 0; // 1-based
    TextHit hit;
    bool operator==(const PageHit&) const = default;
};

// Search through the pages of a prepared report. Each page is recorded on
// request (its metafile in report pixels); a hit is remembered so that the
// next search continues after it on the same page, then on the following
// pages from their first record. After the last page nothing is found and
// the last hit stays where it was.
class PageSearch {
public:
    using PageRecorder = std::function<std::vector<std::uint8_t>(int page)>;
    PageSearch(PageRecorder recordPage, int pageCount);

    // The find dialog's text and case box; without the case box the text is
    // kept upper-cased.
    void setText(const std::string& text, bool caseSensitive);
    const std::string& text() const { return text_; }
    bool caseSensitive() const { return caseSensitive_; }
    bool hasText() const { return !text_.empty(); }

    // Searches from the first record of `startPage` (1 for "from the start",
    // the current page to continue).
    std::optional<PageHit> findFrom(int startPage);
    // Searches again after the last hit (F3); from the start page when there
    // was none.
    std::optional<PageHit> findNext();
    const std::optional<PageHit>& lastHit() const { return last_; }

private:
    std::optional<PageHit> run(int page, std::optional<std::size_t> after);

    PageRecorder recordPage_;
    int pageCount_;
    std::string text_;
    bool caseSensitive_ = false;
    int startPage_ = 1;
    std::optional<PageHit> last_;
};

} // namespace pv
