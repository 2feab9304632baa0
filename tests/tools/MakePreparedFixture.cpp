// Writes the prepared-report fixtures into a directory: two-pages.frp, two
// pages, portrait and landscape, with framed Cyrillic text boxes, a line and
// a picture, as preparation would have written them; truncated.frp, the same
// file cut off inside its first page. Run it again after a change of the
// prepared-object records:
//     build/bin/make_prepared_fixture tests/fixtures/prepared
#include "platform/CodePage.h"
#include "report/prepared/PreparedPages.h"
#include "report/model/LineView.h"
#include "report/model/MemoView.h"
#include "report/model/Page.h"
#include "report/model/PictureView.h"
#include "report/printer/Printer.h"
#include "report/template/Report.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace pv {
namespace {

constexpr uint16_t kAllSides = frftLeft | frftRight | frftTop | frftBottom;

TfrPage templatePage(int orientation) {
    TfrPage page;
    page.ChangePaper(9, 2100, 2970, orientation, -1);
    return page;
}

TfrMemoView textBox(const std::string& name, int left, int top, int width, int height, Lines text) {
    TfrMemoView m;
    m.Name = name;
    m.Left = left, m.Top = top, m.Width = width, m.Height = height;
    m.Memo = std::move(text);
    m.FontName = "Arial";
    m.FontSize = 12;
    return m;
}

// A 24-bit bitmap file, a blue square with a red diagonal.
std::string bitmapFile(int side) {
    const int row = (side * 3 + 3) / 4 * 4;
    std::string d(54 + size_t(row) * size_t(side), '\0');
    const auto put = [&d](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            d[at + size_t(i)] = char((v >> (8 * i)) & 0xFF);
    };
    d[0] = 'B', d[1] = 'M';
    put(2, uint32_t(d.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, uint32_t(side), 4);
    put(22, uint32_t(side), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const size_t at = 54 + size_t(y) * size_t(row) + size_t(x) * 3;
            const bool diagonal = x == y;
            d[at] = char(diagonal ? 0x00 : 0xC0);     // blue
            d[at + 1] = char(diagonal ? 0x00 : 0x40); // green
            d[at + 2] = char(diagonal ? 0xFF : 0x20); // red
        }
    return d;
}

void portraitPage(TfrEMFPages& pages) {
    pages.AppendPage(templatePage(0));
    const int index = pages.Count() - 1;
    TfrMemoView title = textBox("Memo1", 60, 40, 600, 30, {ru("Индивидуальные сведения")});
    title.FrameTyp = kAllSides;
    title.FontStyle = fsBold;
    pages.AddObject(index, title);
    pages.AddObject(index,
                    textBox("Memo2", 60, 90, 400, 60, {ru("Фамилия: Иванов"), ru("Имя: Пётр")}));
    TfrLineView line;
    line.Name = "Line1";
    line.Left = 60, line.Top = 170, line.Width = 600, line.Height = 0;
    line.FrameTyp = kLineHorizontal;
    pages.AddObject(index, line);
    TfrPictureView picture;
    picture.Name = "Picture1";
    picture.Left = 500, picture.Top = 90, picture.Width = 64, picture.Height = 64;
    picture.Picture = {gkBitmap, bitmapFile(16)};
    pages.AddObject(index, picture);
}

void landscapePage(TfrEMFPages& pages) {
    pages.AppendPage(templatePage(1));
    const int index = pages.Count() - 1;
    TfrMemoView total = textBox("Memo3", 80, 80, 500, 30, {ru("Итого страховой стаж: 5 лет")});
    total.FrameTyp = frftTop | frftBottom;
    pages.AddObject(index, total);
}

} // namespace
} // namespace pv

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_prepared_fixture DIR\n";
        return 1;
    }
    const std::filesystem::path dir = argv[1];
    pv::frPrinter().setDevices({});
    pv::TfrReport report;
    pv::portraitPage(report.EMFPages());
    pv::landscapePage(report.EMFPages());
    const std::string whole = (dir / "two-pages.frp").string();
    if (!report.SavePreparedFile(whole)) {
        std::cerr << "make_prepared_fixture: cannot write " << whole << "\n";
        return 1;
    }
    std::ifstream in(whole, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string cut = bytes.str().substr(0, bytes.str().size() / 3);
    std::ofstream(dir / "truncated.frp", std::ios::binary) << cut;
    return 0;
}
