#include "pdf/PDFDocument.h"
#include "pdf/PDFException.h"
#include "pdf/PDFFormat.h"
#include "tests/pdf/PdfSamples.h"
#include "tests/pdf/PdfTestSupport.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

using test::TempDir;

std::string protectedFile(const std::filesystem::path& path, const std::string& owner,
                          const std::string& user, TPDFCtiptoOptions options,
                          TCompressionType compression = ctNone) {
    TPDFDocument doc(test::fixedClock());
    doc.SetFileName(path.string());
    doc.SetProtectionEnabled(true);
    doc.SetOwnerPassword(owner);
    doc.SetUserPassword(user);
    doc.SetProtectionOptions(options);
    doc.SetCompression(compression);
    doc.SetAutoCreateURL(true);
    doc.DocumentInfo().Title = "Secret (title)";
    doc.BeginDoc();
    test::drawText(doc, "Protected text");
    doc.NewPage();
    test::drawLinks(doc);
    test::drawImage(doc);
    doc.EndDoc();
    return test::readFile(path);
}

std::string showEncryption(const std::filesystem::path& path, const std::string& password) {
    return test::run("qpdf --show-encryption --password='" + password + "' " + test::quoted(path))
        .output;
}

TEST(PdfEncryption, OpensWithTheUserAndTheOwnerPassword) {
    const struct {
        const char* owner;
        const char* user;
        TPDFCtiptoOptions options;
        const char* written;
        const char* qpdfP;
    } cases[] = {
        {"boss", "clerk", 0, "/P 4294967232", "P = -64"},
        {"boss", "clerk", setOf(coPrint), "/P 4294967236", "P = -60"},
        {"", "clerk", setOf(coPrint, coCopyInformation), "/P 4294967252", "P = -44"},
        {"boss", "", setOf(coModifyStructure, coModifyAnnotation), "/P 4294967272", "P = -24"},
        {"a password longer than thirty-two bytes", "another password longer than 32 bytes", 0,
         "/P 4294967232", "P = -64"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.owner) + "/" + c.user);
        for (TCompressionType compression : {ctNone, ctFlate}) {
            const auto path = dir.file("protected.pdf");
            const std::string pdf = protectedFile(path, c.owner, c.user, c.options, compression);
            EXPECT_NE(pdf.find("<</Filter /Standard\r\n/V 1\r\n/R 2\r\n" + std::string(c.written) +
                               "\r\n/O ("),
                      std::string::npos);
            EXPECT_NE(pdf.find("/Encrypt "), std::string::npos);
            EXPECT_EQ(pdf.find("Protected text"), std::string::npos); // the content is encrypted
            EXPECT_EQ(pdf.find("example.com"), std::string::npos);    // and so are the URIs

            const std::string asUser = showEncryption(path, c.user);
            EXPECT_NE(asUser.find("R = 2"), std::string::npos) << asUser;
            EXPECT_NE(asUser.find("User password = " + std::string(c.user)), std::string::npos);
            EXPECT_NE(asUser.find(c.qpdfP), std::string::npos) << asUser;
            if (*c.user)
                EXPECT_NE(asUser.find("Supplied password is user password"), std::string::npos)
                    << asUser;
            const std::string owner = *c.owner ? c.owner : c.user;
            const std::string asOwner = showEncryption(path, owner);
            EXPECT_NE(asOwner.find(c.qpdfP), std::string::npos) << asOwner;
            if (*c.owner && std::string(c.owner) != c.user)
                EXPECT_NE(asOwner.find("Supplied password is owner password"), std::string::npos)
                    << asOwner;
            EXPECT_EQ(test::qpdfCheck(path, owner).status, 0);
            if (*c.user) {
                EXPECT_NE(test::qpdfCheck(path, "wrong").status, 0);
                const std::string wrong = showEncryption(path, "wrong");
                EXPECT_NE(wrong.find("Incorrect password supplied"), std::string::npos) << wrong;
            }

            const auto text = test::run("pdftotext -upw '" + std::string(c.user) + "' " +
                                        test::quoted(path) + " -");
            EXPECT_NE(text.output.find("Protected text"), std::string::npos) << text.output;
            const auto info =
                test::run("pdfinfo -upw '" + std::string(c.user) + "' " + test::quoted(path));
            EXPECT_NE(info.output.find("Secret (title)"), std::string::npos) << info.output;
            const auto urls =
                test::run("pdfinfo -url -upw '" + std::string(c.user) + "' " + test::quoted(path));
            EXPECT_NE(urls.output.find("http://example.com/a?b=1"), std::string::npos)
                << urls.output;
        }
    }
}

TEST(PdfEncryption, WithoutPasswordsAnyViewerOpensTheFile) {
    TempDir dir;
    const auto path = dir.file("open.pdf");
    protectedFile(path, "", "", setOf(coPrint));
    const auto check = test::qpdfCheck(path);
    EXPECT_EQ(check.status, 0) << check.output;
    const auto text = test::run("pdftotext " + test::quoted(path) + " -");
    EXPECT_NE(text.output.find("Protected text"), std::string::npos) << text.output;
    EXPECT_NE(showEncryption(path, "").find("P = -60"), std::string::npos);
}

TEST(PdfEncryption, OwnerValueWithAClosingParenthesisIsEscaped) {
    // O depends on the passwords only: find an owner password whose O holds 0x29.
    std::string owner;
    for (int i = 0; owner.empty(); ++i) {
        const std::string candidate = "owner" + std::to_string(i);
        if (StandardSecurity(candidate, "u", -64, std::string(16, '\0')).O().find(')') !=
            std::string::npos)
            owner = candidate;
    }
    TempDir dir;
    const auto path = dir.file("paren.pdf");
    const std::string pdf = protectedFile(path, owner, "u", 0);
    const std::string o = StandardSecurity(owner, "u", -64, std::string(16, '\0')).O();
    EXPECT_NE(pdf.find("/O (" + pdf::escapeString(o) + ")\r\n"), std::string::npos);
    EXPECT_NE(pdf::escapeString(o).find("\\)"), std::string::npos);
    EXPECT_EQ(test::qpdfCheck(path, owner).status, 0);
    EXPECT_EQ(test::qpdfCheck(path, "u").status, 0);
}

TEST(PdfEncryption, PasswordsAreFrozenWhileTheDocumentIsOpen) {
    TempDir dir;
    const auto path = dir.file("frozen.pdf");
    TPDFDocument doc(test::fixedClock());
    doc.SetFileName(path.string());
    doc.SetProtectionEnabled(true);
    doc.SetUserPassword("first");
    doc.BeginDoc();
    const std::string key = doc.Security()->Key();
    try {
        doc.SetUserPassword("second");
        ADD_FAILURE();
    } catch (const TPDFException& e) {
        EXPECT_STREQ(e.what(), "Generation PDF file in progress");
    }
    EXPECT_EQ(doc.Security()->Key(), key);
    test::drawText(doc);
    doc.EndDoc();
    EXPECT_EQ(test::qpdfCheck(path, "first").status, 0);
    EXPECT_NE(test::qpdfCheck(path, "second").status, 0);
}

} // namespace
} // namespace pv
