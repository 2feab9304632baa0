#pragma once

namespace pv {

// Follows an export page by page, and may stop it: the pages after a cancel
// are not exported, but the document is still ended.
class ExportProgress {
public:
    virtual ~ExportProgress() = default;
    // After each page: its number (1-based) and the number of pages.
    virtual void PageExported(int page, int total) = 0;
    // Asked before each page.
    virtual bool Cancelled() const { return false; }
};

} // namespace pv
