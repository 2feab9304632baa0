// The prepared-report file: the pages of a prepared report with their paper
// and object streams, saved from and loaded into the preview.
#include "report/prepared/PreparedPages.h"

#include "platform/FileBytes.h"
#include "report/model/FrfError.h"
#include "report/model/FrfPrimitives.h"
#include "report/model/Page.h"
#include "report/model/PictureView.h"
#include "report/prepared/PreparedObject.h"
#include "report/template/Report.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace pv {
namespace {

constexpr uint8_t kFileEdition = 25;
// Editions outside this range are no edition byte at all: the oldest files
// start with their compression flag.
constexpr int kFirstEdition = 24, kLastEdition = 31;
constexpr uint8_t kUncompressed = 0, kCompressed = 1, kUncompressedToo = 255;
// Bins and margins arrived with this edition.
constexpr int kBinEdition = 23;

bool isCurrentLayout(uint8_t compression) {
    return compression == kUncompressed || compression == kCompressed ||
           compression == kUncompressedToo;
}

size_t endOffset(ByteStream& s, int pageNumber) {
    const int32_t end = s.readI32();
    // The paper fields that follow are still to be read: the page ends after them.
    if (end < 0 || size_t(end) > s.size())
        throw FrfFormatError("prepared page " + std::to_string(pageNumber) + " ends at offset " +
                             std::to_string(end) + ", outside the file of " +
                             std::to_string(s.size()) + " bytes");
    return size_t(end);
}

std::string bytesUpTo(ByteStream& s, size_t end, int pageNumber) {
    if (end < s.position())
        throw FrfFormatError("prepared page " + std::to_string(pageNumber) + " ends at offset " +
                             std::to_string(end) + ", before its own paper fields");
    return s.readBytes(end - s.position());
}

// Checks the records now, so that a bad page is refused with the file and
// not when it is first shown.
void checkObjects(const std::string& stream, int pageNumber) {
    ByteStream s(stream);
    try {
        ReadPreparedObjects(s);
    } catch (const FrfFormatError& e) {
        throw FrfFormatError("prepared page " + std::to_string(pageNumber) + ": " + e.what());
    }
}

// The metafile of a whole page, as the oldest files hold it: one picture
// covering the paper.
// Size code, width, height, orientation, the bin where the layout has one,
// and the use-margins switch, as every layout stores them.
void readPaper(ByteStream& s, PreparedPage& page, bool withBin) {
    page.size = s.readU16();
    page.width = s.readI32();
    page.height = s.readI32();
    page.orientation = s.readU8();
    page.bin = withBin ? s.readI32() : -1;
    page.useMargins = s.readU8();
}

ByteStream pictureStream(const PreparedPage& page, std::string metafile) {
    TfrPictureView picture;
    picture.Flags = flStretched;
    picture.Width = page.paperWidthPixels();
    picture.Height = page.paperHeightPixels();
    picture.Picture.kind = gkMetafile;
    picture.Picture.data = std::move(metafile);
    ByteStream s;
    BeginPreparedStream(s);
    WritePrepared(s, picture);
    return s;
}

} // namespace

void TfrEMFPages::WritePreparedFile(ByteStream& s) const {
    s.writeU8(kFileEdition);
    s.writeU8(kUncompressed);
    writeFrfText(s, report_.selectedPrinterText());
    s.writeI32(Count());
    for (const auto& page : pages_) {
        const size_t at = s.position();
        s.writeI32(0);
        s.writeU16(uint16_t(page->size));
        s.writeI32(page->width);
        s.writeI32(page->height);
        s.writeU8(page->orientation);
        s.writeI32(page->bin);
        s.writeU8(page->useMargins);
        s.writeI32(page->leftMargin);
        s.writeI32(page->topMargin);
        s.writeI32(page->rightMargin);
        s.writeI32(page->bottomMargin);
        s.writeBytes(page->stream.bytes());
        s.patchI32(at, int32_t(s.position()));
    }
    s.writeU8(report_.Info.GeneratorVersion);
}

void TfrEMFPages::ReadPreparedFile(ByteStream& s) {
    ClearPages();
    const size_t start = s.position();
    int edition = s.readU8();
    if (edition < kFirstEdition || edition > kLastEdition) {
        s.seek(start);
        edition = 0;
    }
    try {
        const uint8_t compression = s.readU8();
        if (isCurrentLayout(compression)) {
            readCurrentLayout(s, edition, compression);
        } else {
            s.seek(start);
            readOldestLayout(s);
        }
    } catch (...) {
        ClearPages();
        throw;
    }
}

void TfrEMFPages::takePaper(PreparedPage& page) const {
    TfrPrinter& printer = frPrinter();
    printer.SetPaper(page.size, page.width, page.height, page.orientation, page.bin, false);
    page.pageInfo = printer.GetPageInfo();
}

void TfrEMFPages::readCurrentLayout(ByteStream& s, int edition, uint8_t compression) {
    // No decompressor exists for compressed pages; showing them empty would
    // pass off a report that lost its contents as loaded.
    if (compression == kCompressed)
        throw FrfFormatError("the prepared report is compressed, which is not supported");
    report_.SelectPrinterByName(readFrfText(s, edition));
    const int32_t count = s.readI32();
    // A file always holds at least one page, whatever its count says.
    for (int i = 0; i == 0 || i < count; ++i) {
        auto page = std::make_unique<PreparedPage>();
        const size_t end = endOffset(s, i + 1);
        readPaper(s, *page, edition > kBinEdition);
        if (edition > kBinEdition) {
            page->leftMargin = s.readI32();
            page->topMargin = s.readI32();
            page->rightMargin = s.readI32();
            page->bottomMargin = s.readI32();
        }
        std::string objects = bytesUpTo(s, end, i + 1);
        checkObjects(objects, i + 1);
        page->stream = ByteStream(std::move(objects));
        takePaper(*page);
        pages_.push_back(std::move(page));
    }
    report_.Info.GeneratorVersion = s.readU8();
}

void TfrEMFPages::readOldestLayout(ByteStream& s) {
    const Lines header = readFrfLines(s, 0);
    report_.SelectPrinterByName(header.empty() ? std::string() : header.front());
    const int32_t count = s.readI32();
    for (int i = 0; i == 0 || i < count; ++i) {
        auto page = std::make_unique<PreparedPage>();
        const size_t end = endOffset(s, i + 1);
        readPaper(s, *page, false);
        std::string metafile = bytesUpTo(s, end, i + 1);
        takePaper(*page);
        page->stream = pictureStream(*page, std::move(metafile));
        pages_.push_back(std::move(page));
    }
}

} // namespace pv
