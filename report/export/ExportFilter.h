#pragma once

#include "platform/Geometry.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace pv {

class TfrEMFPages;
class TfrView;

// One text line kept by a filter that collects a page's text before writing it.
struct TfrTextRec {
    int X = 0, Y = 0;
    std::string Text;      // 1251, as laid out
    uint16_t FrameTyp = 0; // the frame sides handed over with the line
};

// The text records of one row (or whatever a filter groups together), in order.
using TfrTextChain = std::vector<TfrTextRec>;

// The base of every export filter. The engine sets the file name and the
// output stream, walks the prepared pages and calls the operations below;
// a filter overrides those it needs. The base does nothing and accepts its
// options without asking.
class TfrExportFilter {
public:
    TfrExportFilter() = default;
    virtual ~TfrExportFilter() = default;
    TfrExportFilter(const TfrExportFilter&) = delete;
    TfrExportFilter& operator=(const TfrExportFilter&) = delete;

    // May change the file name; clearing `proceed` cancels the export.
    using BeforeExportEvent = std::function<void(std::string& fileName, bool& proceed)>;
    using AfterExportEvent = std::function<void(const std::string& fileName)>;

    bool Default = false;    // marks a preferred filter
    bool ShowDialog = false; // whether OptionsDialog asks the user anything
    BeforeExportEvent OnBeforeExport;
    AfterExportEvent OnAfterExport;

    // The output file's name (UTF-8 path), set by the engine before the export.
    const std::string& fileName() const { return fileName_; }
    void setFileName(std::string name) { fileName_ = std::move(name); }

    // The output file, open only while an export runs; null otherwise.
    std::ostream* stream() const { return stream_; }
    void setStream(std::ostream* stream) { stream_ = stream; }

    // The prepared pages being exported, set with the stream; null otherwise.
    const TfrEMFPages* exportedPages() const { return exportedPages_; }
    void setExportedPages(const TfrEMFPages* pages) { exportedPages_ = pages; }

    // The text chains a collecting filter keeps, page by page.
    const std::vector<TfrTextChain>& lines() const { return lines_; }

    virtual void ClearLines();
    // The modal result of the filter's options dialog: 1 goes on with the export.
    virtual int OptionsDialog();
    virtual void BeginDocument();
    virtual void EndDocument();
    virtual void BeginPage();
    virtual void EndPage();
    // Every object of a page, at its position in report pixels.
    virtual void ObjectData(int x, int y, TfrView& view);
    // One laid-out line of a text box: the rectangle its text is clipped to,
    // where it starts, and the box's frame sides that belong to this line.
    virtual void TextLine(const Rect& textRect, int x, int y, std::string_view text,
                          uint16_t frameSides, TfrView& view);

protected:
    std::vector<TfrTextChain>& mutableLines() { return lines_; }

private:
    std::string fileName_;
    std::ostream* stream_ = nullptr;
    const TfrEMFPages* exportedPages_ = nullptr;
    std::vector<TfrTextChain> lines_;
};

} // namespace pv
