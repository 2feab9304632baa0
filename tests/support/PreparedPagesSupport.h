#pragma once

// Prepared pages built the way preparation builds them, on the virtual
// printer's A4 paper, for the page-list, file and export tests.

#include "platform/CodePage.h"
#include "report/prepared/PreparedPages.h"
#include "report/model/LineView.h"
#include "report/model/MemoView.h"
#include "report/model/Page.h"
#include "report/model/PictureView.h"
#include "report/printer/Printer.h"
#include "report/template/Report.h"

#include <atomic>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace pv::test {

// A4 on the virtual printer, in report pixels.
constexpr int kA4Width = 758, kA4Height = 1071;

inline TfrPage templatePage(int size = 9, int width = 2100, int height = 2970,
                            int orientation = 0) {
    TfrPage page;
    page.ChangePaper(size, width, height, orientation, -1);
    return page;
}

inline TfrMemoView memo(const std::string& name, int left, int top, int width, int height,
                        Lines text) {
    TfrMemoView m;
    m.Name = name;
    m.Left = left, m.Top = top, m.Width = width, m.Height = height;
    m.Memo = std::move(text);
    return m;
}

inline TfrLineView line(const std::string& name, int left, int top, int width) {
    TfrLineView l;
    l.Name = name;
    l.Left = left, l.Top = top, l.Width = width, l.Height = 0;
    l.FrameTyp = kLineHorizontal;
    return l;
}

// A page holding a text box and a line.
inline void addSamplePage(TfrEMFPages& pages, const std::string& text) {
    pages.AppendPage(templatePage());
    const int index = pages.Count() - 1;
    pages.AddObject(index, memo("Memo1", 50, 60, 200, 40, {text}));
    pages.AddObject(index, line("Line1", 100, 200, 300));
}

// A directory of its own for one test, removed with everything in it.
class ScratchDir {
public:
    ScratchDir() {
        static std::atomic<int> counter{0};
        path_ = std::filesystem::temp_directory_path() /
                ("pv-prepared-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

} // namespace pv::test
