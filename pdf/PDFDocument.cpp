#include "pdf/PDFDocument.h"

#include "pdf/Md5.h"
#include "pdf/PDFException.h"
#include "pdf/PDFFormat.h"
#include "pdf/PlatformFontProvider.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace pv {

namespace {

const char* const kInProgress = "Generation PDF file in progress";
const char* const kNotActivated = "Generation PDF file not activated";

std::string idBytes(const std::string& hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

} // namespace

TPDFDocument::TPDFDocument(PdfClock clock) : clock_(std::move(clock)), fonts_(*this) {
    info_.CreationDate = clock_();
    fonts_.SetProvider(&PlatformFontProvider::shared());
}

TPDFDocument::~TPDFDocument() {
    if (generating_) {
        try {
            Abort();
        } catch (...) {
        }
    }
}

void TPDFDocument::checkNotGenerating() const {
    if (generating_) throw TPDFException(kInProgress);
}

void TPDFDocument::checkGenerating() const {
    if (!generating_) throw TPDFException(kNotActivated);
}

void TPDFDocument::SetFileName(const std::string& value) {
    checkNotGenerating();
    fileName_ = value;
}

void TPDFDocument::SetProtectionEnabled(bool value) {
    checkNotGenerating();
    protectionEnabled_ = value;
}

void TPDFDocument::SetProtectionOptions(TPDFCtiptoOptions value) {
    checkNotGenerating();
    protectionOptions_ = value;
}

void TPDFDocument::SetOwnerPassword(const std::string& value) {
    checkNotGenerating();
    ownerPassword_ = value;
}

void TPDFDocument::SetUserPassword(const std::string& value) {
    checkNotGenerating();
    userPassword_ = value;
}

void TPDFDocument::SetOnePass(bool value) {
    checkNotGenerating();
    onePass_ = value;
}

void TPDFDocument::SetOutputStream(std::ostream* stream) {
    checkNotGenerating();
    callerStream_ = stream;
}

void TPDFDocument::reset() {
    objectCount_ = 0;
    info_.ObjectNumber = 0;
    pagesNumber_ = catalogNumber_ = encryptNumber_ = 0;
    offsets_.clear();
    images_.Clear();
    fonts_.Clear();
    currentPage_ = nullptr;
    pages_.clear();
    actions_.Clear();
    output_.reset();
    position_ = 0;
    security_.reset();
}

void TPDFDocument::openOutput() {
    if (callerStream_) {
        output_ = std::make_unique<std::ostringstream>(std::ios::binary);
        return;
    }
    auto file = std::make_unique<std::ofstream>(std::filesystem::u8path(fileName_),
                                                std::ios::binary | std::ios::trunc);
    if (!*file)
        throw std::system_error(errno, std::generic_category(), "Cannot create file " + fileName_);
    output_ = std::move(file);
}

void TPDFDocument::BeginDoc() {
    checkNotGenerating();
    reset();
    aborted_ = false;
    documentId_ = Md5::hex(fileName_ + formatIdTime(clock_()));
    permissions_ = permissionValue(protectionOptions_);
    if (protectionEnabled_)
        security_.emplace(ownerPassword_, userPassword_, permissions_, idBytes(documentId_));
    openOutput();
    WriteLine(version_ == v14 ? "%PDF-1.4" : "%PDF-1.3");
    generating_ = true;
    pagesNumber_ = NewObjectNumber();
    addPage();
}

void TPDFDocument::addPage() {
    pages_.push_back(std::make_unique<TPDFPage>(*this));
    currentPage_ = pages_.back().get();
    currentPage_->CreateCanvas();
}

void TPDFDocument::closeCurrentPage() {
    if (!currentPage_) return;
    currentPage_->Close();
    if (onePass_) currentPage_->Write();
}

void TPDFDocument::NewPage() {
    checkGenerating();
    closeCurrentPage();
    addPage();
}

void TPDFDocument::EndDoc() {
    checkGenerating();
    try {
        writeTail();
        output_->flush();
        if (!*output_)
            throw std::system_error(errno, std::generic_category(), "Cannot write " + fileName_);
        if (callerStream_) {
            *callerStream_ << static_cast<std::ostringstream&>(*output_).str();
        }
    } catch (...) {
        Abort();
        throw;
    }
    const bool toFile = callerStream_ == nullptr;
    reset();
    generating_ = false;
    aborted_ = false;
    if (toFile && autoLaunch_ && launcher_) {
        try {
            launcher_(fileName_);
        } catch (...) {
        }
    }
}

void TPDFDocument::Abort() {
    checkGenerating();
    reset();
    if (!callerStream_) {
        std::error_code ignored;
        std::filesystem::remove(std::filesystem::u8path(fileName_), ignored);
    }
    aborted_ = true;
    generating_ = false;
}

void TPDFDocument::writeTail() {
    closeCurrentPage();
    writeInfo();
    actions_.AssignNumbers(*this);
    writePagesTree();
    if (!onePass_)
        for (auto& page : pages_)
            page->Write();
    actions_.WriteAll(*this);
    writeCatalog();
    if (protectionEnabled_) writeEncryption();
    fonts_.WriteFontFiles();
    fonts_.WriteFontDictionaries();
    if (!onePass_)
        for (int i = 0; i < images_.Count(); ++i)
            images_.Item(i).Write(*this);
    WriteLine(std::string("%This PDF file created by ") + kPdfMakerNotice + " " + kPdfMakerAddress);
    writeXrefAndTrailer();
}

void TPDFDocument::writeInfo() {
    BeginObject(info_.ObjectNumber);
    const int n = info_.ObjectNumber;
    auto entry = [&](const char* key, const std::string& value) {
        WriteLine(std::string(key) + pdf::escapeString(Encrypt(n, value)) + ")");
    };
    entry("/Creator (", info_.Creator);
    entry("/CreationDate (", "D:" + formatInfoDate(info_.CreationDate));
    entry("/Producer (", info_.Producer);
    entry("/Author (", info_.Author);
    entry("/Title (", info_.Title);
    entry("/Subject (", info_.Subject);
    entry("/Keywords (", info_.Keywords);
    EndDictionary();
    EndObject();
}

void TPDFDocument::writePagesTree() {
    BeginObject(pagesNumber_);
    WriteLine("/Type /Pages");
    WriteLine("/Kids [");
    for (auto& page : pages_)
        WriteLine(std::to_string(page->ObjectNumber()) + " 0 R");
    WriteLine("]");
    WriteLine("/Count " + std::to_string(pages_.size()));
    EndDictionary();
    EndObject();
}

void TPDFDocument::writeCatalog() {
    static const char* const layouts[] = {"/PageLayout /SinglePage", "/PageLayout /OneColumn",
                                          "/PageLayout /TwoColumnLeft",
                                          "/PageLayout /TwoColumnRight"};
    static const char* const preferences[] = {"/HideToolbar true", "/HideMenubar true",
                                              "/HideWindowUI true", "/FitWindow true",
                                              "/CenterWindow true"};
    static const char* const modes[] = {"/PageMode /UseNone", "/PageMode /UseOutlines",
                                        "/PageMode /UseThumbs", "/PageMode /FullScreen"};
    BeginObject(catalogNumber_);
    WriteLine("/Type /Catalog");
    WriteLine(" /Pages " + std::to_string(pagesNumber_) + " 0 R");
    WriteLine(layouts[pageLayout_]);
    if (viewerPreferences_ & 0x1F) {
        WriteLine("/ViewerPreferences <<");
        for (int v = vpHideToolBar; v <= vpCenterWindow; ++v)
            if (viewerPreferences_ & (1u << v)) WriteLine(preferences[v]);
        WriteLine(">>");
    }
    WriteLine(modes[pageMode_]);
    EndDictionary();
    EndObject();
}

void TPDFDocument::writeEncryption() {
    BeginObject(encryptNumber_);
    WriteLine("/Filter /Standard");
    WriteLine("/V 1");
    WriteLine("/R 2");
    WriteLine("/P " + std::to_string(static_cast<std::uint32_t>(permissions_)));
    WriteLine("/O (" + pdf::escapeString(security_->O()) + ")");
    WriteLine("/U (" + pdf::escapeString(security_->U()) + ")");
    EndDictionary();
    EndObject();
}

void TPDFDocument::writeXrefAndTrailer() {
    xrefPosition_ = position_;
    WriteLine("xref");
    WriteLine("0 " + std::to_string(objectCount_ + 1));
    WriteLine("0000000000 65535 f");
    for (auto offset : offsets_)
        WriteLine(pdf::zeroPad(offset, 10) + " 00000 n");
    WriteLine("trailer");
    WriteLine("<<");
    WriteLine("/Size " + std::to_string(objectCount_ + 1));
    WriteLine("/Root " + std::to_string(catalogNumber_) + " 0 R");
    WriteLine("/Info " + std::to_string(info_.ObjectNumber) + " 0 R");
    if (protectionEnabled_) WriteLine("/Encrypt " + std::to_string(encryptNumber_) + " 0 R");
    WriteLine("/ID [<" + documentId_ + "><" + documentId_ + ">]");
    WriteLine(">>");
    WriteLine("startxref");
    WriteLine(std::to_string(xrefPosition_));
    WriteLine("%%EOF");
}

int TPDFDocument::AddImage(const Bitmap24& bitmap) {
    checkGenerating();
    return images_.AddBitmap(bitmap);
}

int TPDFDocument::AddImage(const Bitmap24& bitmap, TPDFImage::Encoding encoding) {
    checkGenerating();
    return images_.AddBitmap(bitmap, encoding, jpegQuality_);
}

int TPDFDocument::AddJpegImage(std::string jpegFile, int width, int height, bool grayscale) {
    checkGenerating();
    return images_.AddJpeg(std::move(jpegFile), width, height, grayscale);
}

TPDFAction& TPDFDocument::AddAction(std::unique_ptr<TPDFAction> action) {
    checkGenerating();
    return actions_.Add(*this, std::move(action));
}

int TPDFDocument::NewObjectNumber() {
    offsets_.push_back(0);
    return ++objectCount_;
}

void TPDFDocument::BeginObject(int& number) {
    if (number < 1) number = NewObjectNumber();
    if (number > objectCount_) throw TPDFException("Out of range");
    offsets_[number - 1] = position_;
    WriteLine(std::to_string(number) + " 0 obj");
    WriteLine("<<", false);
}

void TPDFDocument::WriteBytes(std::string_view bytes) {
    output_->write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    position_ += bytes.size();
}

void TPDFDocument::WriteLine(std::string_view text, bool lineEnd) {
    WriteBytes(text);
    if (lineEnd) WriteBytes("\r\n");
}

void TPDFDocument::WriteStreamData(std::string_view data) {
    EndDictionary();
    BeginStream();
    WriteBytes(data);
    WriteLine("");
    EndStream();
    EndObject();
}

std::string TPDFDocument::Encrypt(int number, std::string_view data) const {
    if (!security_) return std::string(data);
    return security_->Encrypt(number, data);
}

} // namespace pv
