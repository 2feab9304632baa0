#include "pdf/EmfPageTranslator.h"
#include "pdf/PDFDocument.h"
#include "platform/FontService.h"
#include "tests/pdf/PdfTestSupport.h"

#include <gtest/gtest.h>

extern "C" {
#include <uemf.h>
#include <uemf_utf.h>
}

#include <cstdlib>
#include <vector>

namespace pv {
namespace {

// A page written by another metafile writer: shapes, a path, pens, brushes
// and a wide-string text as that writer lays the records out.
std::string writeForeignMetafile(const std::string& path) {
    EMFTRACK* et = nullptr;
    EMFHANDLES* eht = nullptr;
    EXPECT_EQ(emf_start(path.c_str(), 4096, 4096, &et), 0);
    EXPECT_EQ(emf_htable_create(128, 128, &eht), 0);
    const U_RECTL bounds = rectl_set(point_set(0, 0), point_set(399, 299));
    const U_RECTL frame = rectl_set(point_set(0, 0), point_set(10583, 7937)); // 400 x 300 at 96 dpi
    emf_append(reinterpret_cast<U_ENHMETARECORD*>(U_EMRHEADER_set(bounds, frame, nullptr, 0,
                                                                  nullptr, sizel_set(1920, 1080),
                                                                  sizel_set(508, 286), 0)),
               et, 1);
    auto add = [&](char* record) { emf_append(reinterpret_cast<U_ENHMETARECORD*>(record), et, 1); };

    std::uint32_t pen = 0, brush = 0, font = 0;
    add(createpen_set(&pen, eht, logpen_set(U_PS_DASH, point_set(3, 3), colorref_set(200, 0, 0))));
    add(selectobject_set(pen, eht));
    add(createbrushindirect_set(&brush, eht,
                                logbrush_set(U_BS_SOLID, colorref_set(255, 230, 120), 0)));
    add(selectobject_set(brush, eht));
    add(U_EMRELLIPSE_set(rectl_set(point_set(20, 20), point_set(140, 100))));
    add(U_EMRROUNDRECT_set(rectl_set(point_set(160, 20), point_set(280, 100)), sizel_set(30, 30)));
    add(U_EMRPIE_set(rectl_set(point_set(300, 20), point_set(380, 100)), point_set(380, 60),
                     point_set(340, 20)));
    const U_POINT16 curve[] = {point16_set(20, 200), point16_set(60, 120), point16_set(100, 280),
                               point16_set(140, 200)};
    add(U_EMRPOLYBEZIER16_set(bounds, 4, curve));
    add(U_EMRSETPOLYFILLMODE_set(U_WINDING));
    add(U_EMRBEGINPATH_set());
    const U_POINT16 star[] = {point16_set(200, 130), point16_set(230, 220), point16_set(160, 165),
                              point16_set(240, 165), point16_set(170, 220)};
    add(U_EMRPOLYGON16_set(bounds, 5, star));
    add(U_EMRCLOSEFIGURE_set());
    add(U_EMRENDPATH_set());
    add(U_EMRSTROKEANDFILLPATH_set(bounds));

    uint16_t* face = U_Utf8ToUtf16le("Arial", 0, nullptr);
    U_LOGFONT lf =
        logfont_set(-24, 0, 0, 0, U_FW_BOLD, 0, 0, 0, U_ANSI_CHARSET, U_OUT_DEFAULT_PRECIS,
                    U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY, U_DEFAULT_PITCH, face);
    std::free(face);
    add(extcreatefontindirectw_set(&font, eht, reinterpret_cast<char*>(&lf), nullptr));
    add(selectobject_set(font, eht));
    add(U_EMRSETTEXTCOLOR_set(colorref_set(0, 0, 128)));
    add(U_EMRSETBKMODE_set(U_TRANSPARENT));
    const char* utf8 = "Written elsewhere";
    size_t length = 0;
    uint16_t* text = U_Utf8ToUtf16le(utf8, 0, &length);
    std::vector<uint32_t> dx(length, 13);
    char* emrtext = emrtext_set(point_set(20, 250), U_NUM_STR(length), 2, text, U_ETO_NONE,
                                U_RCL_DEF, dx.data());
    add(U_EMREXTTEXTOUTW_set(rectl_set(point_set(20, 250), point_set(20 + 13 * int(length), 275)),
                             U_GM_COMPATIBLE, 1, 1, reinterpret_cast<PU_EMRTEXT>(emrtext)));
    std::free(emrtext);
    std::free(text);
    add(U_EMREOF_set(0, nullptr, et));
    EXPECT_EQ(emf_finish(et, eht), 0);
    emf_free(&et);
    emf_htable_free(&eht);
    return test::readFile(path);
}

TEST(ForeignMetafile, AnotherWritersPageTranslatesIntoAValidFile) {
    test::TempDir dir;
    const std::string emf = writeForeignMetafile(std::string(PV_BINARY_DIR) + "/foreign-page.emf");
    ASSERT_GT(emf.size(), 200u);

    struct Replay : PageRecording {
        std::string bytes;
        void Resize(int, int) override {}
        std::string Finish() override { return bytes; }
    };
    struct ReplayFactory : PageRecordingFactory {
        std::string bytes;
        std::unique_ptr<PageRecording> Create(int, int) override {
            auto r = std::make_unique<Replay>();
            r->bytes = bytes;
            return r;
        }
    } factory;
    factory.bytes = emf;
    EmfPageTranslator translator(FontService::shared());
    TPDFDocument doc(test::fixedClock());
    doc.SetResolution(96);
    doc.SetRecordingFactory(&factory);
    doc.SetTranslator(&translator);
    doc.SetFileName(dir.file("foreign.pdf").string());
    doc.BeginDoc();
    doc.CurrentPage()->SetWidth(400);
    doc.CurrentPage()->SetHeight(300);
    doc.EndDoc();

    const auto check = test::qpdfCheck(dir.file("foreign.pdf"));
    EXPECT_EQ(check.status, 0) << check.output;
    const auto text = test::run("pdftotext " + test::quoted(dir.file("foreign.pdf")) + " -");
    EXPECT_NE(text.output.find("Written elsewhere"), std::string::npos) << text.output;
    const auto content = test::run("qpdf --qdf --object-streams=disable " +
                                   test::quoted(dir.file("foreign.pdf")) + " -");
    // The winding path is filled and stroked by the non-zero rule; the dashed pen is kept.
    EXPECT_TRUE(content.output.find("\nB\r\n") != std::string::npos ||
                content.output.find("\nB\n") != std::string::npos);
    EXPECT_NE(content.output.find("[8 8] 0 d"), std::string::npos);
}

} // namespace
} // namespace pv
