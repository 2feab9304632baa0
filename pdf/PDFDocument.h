#pragma once

#include "pdf/PDFActions.h"
#include "pdf/PDFClock.h"
#include "pdf/PDFDocInfo.h"
#include "pdf/PDFFonts.h"
#include "pdf/PDFImages.h"
#include "pdf/PDFPage.h"
#include "pdf/PDFTypes.h"
#include "pdf/PdfPageRecording.h"
#include "pdf/StandardSecurity.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pv {

// Opens a finished file with the desktop's default application.
using DocumentLauncher = std::function<void(const std::string& path)>;
// The default launcher: xdg-open, started without a shell; failures are ignored.
void openWithDesktop(const std::string& path);

// Writes one PDF file from top to bottom: BeginDoc, pages drawn through
// CurrentPage (or its recording canvas), NewPage, EndDoc. Objects are numbered
// as they are handed out and their offsets kept for the cross-reference table.
class TPDFDocument {
public:
    explicit TPDFDocument(PdfClock clock = systemLocalTime);
    ~TPDFDocument();
    TPDFDocument(const TPDFDocument&) = delete;
    TPDFDocument& operator=(const TPDFDocument&) = delete;

    // Published properties.
    bool AutoLaunch() const { return autoLaunch_; }
    void SetAutoLaunch(bool value) { autoLaunch_ = value; }
    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& value);
    TCompressionType Compression() const { return compression_; }
    void SetCompression(TCompressionType value) { compression_ = value; }
    TPDFDocInfo& DocumentInfo() { return info_; }
    const TPDFDocInfo& DocumentInfo() const { return info_; }
    void SetDocumentInfo(const TPDFDocInfo& value) { info_.Assign(value); }
    TPageLayout PageLayout() const { return pageLayout_; }
    void SetPageLayout(TPageLayout value) { pageLayout_ = value; }
    TPageMode PageMode() const { return pageMode_; }
    void SetPageMode(TPageMode value) { pageMode_ = value; }
    bool ProtectionEnabled() const { return protectionEnabled_; }
    void SetProtectionEnabled(bool value);
    TPDFCtiptoOptions ProtectionOptions() const { return protectionOptions_; }
    void SetProtectionOptions(TPDFCtiptoOptions value);
    const std::string& OwnerPassword() const { return ownerPassword_; }
    void SetOwnerPassword(const std::string& value);
    const std::string& UserPassword() const { return userPassword_; }
    void SetUserPassword(const std::string& value);
    const std::vector<std::string>& NonEmbeddedFont() const { return nonEmbeddedFont_; }
    void SetNonEmbeddedFont(const std::vector<std::string>& value) { nonEmbeddedFont_ = value; }
    int JPEGQuality() const { return jpegQuality_; }
    void SetJPEGQuality(int value) { jpegQuality_ = value; }
    int Resolution() const { return resolution_; }
    void SetResolution(int value) { resolution_ = value; }
    TViewerPreferences ViewerPreferences() const { return viewerPreferences_; }
    void SetViewerPreferences(TViewerPreferences value) { viewerPreferences_ = value; }
    bool AutoCreateURL() const { return autoCreateUrl_; }
    void SetAutoCreateURL(bool value) { autoCreateUrl_ = value; }
    bool OnePass() const { return onePass_; }
    void SetOnePass(bool value);
    TPDFVersion Version() const { return version_; }
    void SetVersion(TPDFVersion value) { version_ = value; }

    // Seams to the platform: the shell, the page recorder and its translator, the fonts.
    void SetLauncher(DocumentLauncher launcher) { launcher_ = std::move(launcher); }
    void SetRecordingFactory(PageRecordingFactory* factory) { recordingFactory_ = factory; }
    PageRecordingFactory* RecordingFactory() const { return recordingFactory_; }
    void SetTranslator(MetafileTranslator* translator) { translator_ = translator; }
    MetafileTranslator* Translator() const { return translator_; }
    void SetFontProvider(FontProvider* provider) { fonts_.SetProvider(provider); }

    void BeginDoc();
    void NewPage();
    void EndDoc();
    void Abort();
    // A non-null stream receives the file at EndDoc instead of FileName.
    void SetOutputStream(std::ostream* stream);

    bool Generating() const { return generating_; }
    bool Aborted() const { return aborted_; }
    TPDFPage* CurrentPage() const { return currentPage_; }
    PageRecording* Canvas() const { return currentPage_ ? currentPage_->Canvas() : nullptr; }
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TPDFPage& Page(int index) const { return *pages_.at(index); }
    const std::string& DocumentID() const { return documentId_; }
    std::int32_t Permissions() const { return permissions_; }
    const StandardSecurity* Security() const { return security_ ? &*security_ : nullptr; }

    TPDFFonts& Fonts() { return fonts_; }
    TPDFImages& Images() { return images_; }
    TPDFActions& Actions() { return actions_; }
    // Adds an image (open document only) and returns its index.
    int AddImage(const Bitmap24& bitmap);
    // The same in the encoding given; JPEG images are made at JPEGQuality.
    int AddImage(const Bitmap24& bitmap, TPDFImage::Encoding encoding);
    int AddJpegImage(std::string jpegFile, int width, int height, bool grayscale);
    // Adds an action to the document's list (open document only).
    TPDFAction& AddAction(std::unique_ptr<TPDFAction> action);

    // The object writer the pages, fonts, images and links write themselves with.
    int NewObjectNumber();
    int ObjectCount() const { return objectCount_; }
    int PagesTreeNumber() const { return pagesNumber_; }
    // Numbers below 1 get a new number; writes "N 0 obj" and the opening "<<".
    void BeginObject(int& number);
    void WriteLine(std::string_view text, bool lineEnd = true);
    void WriteBytes(std::string_view bytes);
    void EndDictionary() { WriteLine(">>"); }
    void EndObject() { WriteLine("endobj"); }
    void BeginStream() { WriteLine("stream"); }
    void EndStream() { WriteLine("endstream"); }
    // Ends the dictionary and writes `data` as the object's stream and the object's end.
    void WriteStreamData(std::string_view data);
    std::uint64_t Position() const { return position_; }
    // Strings and streams of object `number`, encrypted when protection is on.
    std::string Encrypt(int number, std::string_view data) const;

private:
    void checkNotGenerating() const;
    void checkGenerating() const;
    void reset();
    void openOutput();
    void addPage();
    void closeCurrentPage();
    void writeTail();
    void writeInfo();
    void writePagesTree();
    void writeCatalog();
    void writeEncryption();
    void writeXrefAndTrailer();

    PdfClock clock_;
    bool autoLaunch_ = false;
    std::string fileName_;
    TCompressionType compression_ = ctNone;
    TPDFDocInfo info_;
    TPageLayout pageLayout_ = plSinglePage;
    TPageMode pageMode_ = pmUseNone;
    bool protectionEnabled_ = false;
    TPDFCtiptoOptions protectionOptions_ = 0;
    std::string ownerPassword_;
    std::string userPassword_;
    std::vector<std::string> nonEmbeddedFont_;
    int jpegQuality_ = 80;
    int resolution_ = 72;
    TViewerPreferences viewerPreferences_ = 0;
    bool autoCreateUrl_ = false;
    bool onePass_ = false;
    TPDFVersion version_ = v13;

    DocumentLauncher launcher_ = openWithDesktop;
    PageRecordingFactory* recordingFactory_ = nullptr;
    MetafileTranslator* translator_ = nullptr;

    bool generating_ = false;
    bool aborted_ = false;
    int objectCount_ = 0;
    std::vector<std::uint64_t> offsets_;
    int pagesNumber_ = 0;
    int catalogNumber_ = 0;
    int encryptNumber_ = 0;
    std::unique_ptr<std::ostream> output_;
    std::ostream* callerStream_ = nullptr;
    std::uint64_t position_ = 0;
    std::uint64_t xrefPosition_ = 0;
    std::string documentId_;
    std::int32_t permissions_ = 0;
    std::optional<StandardSecurity> security_;

    std::vector<std::unique_ptr<TPDFPage>> pages_;
    TPDFFonts fonts_;
    TPDFImages images_;
    TPDFActions actions_;
    TPDFPage* currentPage_ = nullptr;
};

} // namespace pv
