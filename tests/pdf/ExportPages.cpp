#include "ExportPages.h"

#include "tests/support/PreparedPagesSupport.h"

namespace pv::test {

void addPaperPage(TfrEMFPages& pages, int widthPixels, int heightPixels) {
    PreparedPage& page = pages.AppendPage(templatePage());
    page.pageInfo.paperWidth = widthPixels;
    page.pageInfo.paperHeight = heightPixels;
}

void addTextPage(TfrEMFPages& pages, const std::string& text, int orientation) {
    pages.AppendPage(templatePage(9, 2100, 2970, orientation));
    const int index = pages.Count() - 1;
    TfrMemoView box = memo("Memo1", 50, 60, 300, 40, {text});
    box.FrameTyp = frftLeft | frftRight | frftTop | frftBottom;
    pages.AddObject(index, box);
    pages.AddObject(index, line("Line1", 100, 200, 300));
}

void addSilentPage(TfrEMFPages& pages) {
    pages.AppendPage(templatePage());
    pages.AddObject(pages.Count() - 1, memo("Memo1", 10, 10, 100, 20, {}));
}

} // namespace pv::test
