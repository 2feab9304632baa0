#include "pdf/Md5.h"
#include "pdf/PDFTypes.h"
#include "pdf/Rc4.h"
#include "pdf/SecurityPadding.h"
#include "pdf/StandardSecurity.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

std::string hex(std::string_view bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

TEST(Md5, KnownDigests) {
    EXPECT_EQ(Md5::hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Md5::hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(hex(std::string_view(
                  reinterpret_cast<const char*>(Md5().add("a").add("bc").digest().data()), 16)),
              "900150983CD24FB0D6963F7D28E17F72");
}

TEST(Rc4, KnownStreamsAndKeyLengths) {
    EXPECT_EQ(hex(rc4("Key", "Plaintext")), "BBF316E8D940AF0AD3");
    EXPECT_EQ(hex(rc4("Wiki", "pedia")), "1021BF0420");
    EXPECT_EQ(rc4("Key", rc4("Key", "round trip")), "round trip");
    EXPECT_NO_THROW(rc4(std::string(256, 'k'), "x"));
    for (std::size_t length : {std::size_t{0}, std::size_t{257}}) {
        try {
            rc4(std::string(length, 'k'), "x");
            ADD_FAILURE() << "key of " << length << " bytes accepted";
        } catch (const Rc4KeyError& e) {
            EXPECT_STREQ(e.what(), "RC4: Invalid key length");
        }
    }
}

TEST(StandardSecurity, PermissionValues) {
    const struct {
        TPDFCtiptoOptions options;
        std::uint32_t written;
    } cases[] = {
        {0, 4294967232u},
        {setOf(coPrint), 4294967236u},
        {setOf(coPrint, coCopyInformation), 0xFFFFFFD4u},
        {setOf(coModifyStructure), 4294967240u},
        {setOf(coPrint, coModifyStructure, coCopyInformation, coModifyAnnotation), 4294967292u},
    };
    for (const auto& c : cases)
        EXPECT_EQ(static_cast<std::uint32_t>(permissionValue(c.options)), c.written) << c.options;
    EXPECT_EQ(permissionValue(0), -64);
}

TEST(StandardSecurity, PasswordPadding) {
    const std::string padding(reinterpret_cast<const char*>(kSecurityPadding.data()), 32);
    EXPECT_EQ(hex(padding.substr(0, 4)), "28BF4E5E");
    EXPECT_EQ(hex(padding.substr(30)), "697A");
    EXPECT_EQ(padPassword(""), padding);
    EXPECT_EQ(padPassword("abc"), "abc" + padding.substr(0, 29));
    const std::string long40(40, 'x');
    EXPECT_EQ(padPassword(long40), std::string(32, 'x'));
}

TEST(StandardSecurity, OwnerFallsBackToUserAndKeysDependOnTheirInputs) {
    const std::string id(16, '\x11');
    const StandardSecurity a("", "user", -64, id);
    const StandardSecurity b("user", "user", -64, id);
    EXPECT_EQ(a.O(), b.O());
    EXPECT_EQ(a.Key(), b.Key());
    EXPECT_EQ(a.O().size(), 32u);
    EXPECT_EQ(a.U().size(), 32u);
    EXPECT_EQ(a.Key().size(), 5u);

    const StandardSecurity otherP("", "user", -60, id);
    const StandardSecurity otherId("", "user", -64, std::string(16, '\x12'));
    EXPECT_NE(a.Key(), otherP.Key());
    EXPECT_NE(a.Key(), otherId.Key());
    EXPECT_EQ(a.O(), otherP.O()); // O depends on the passwords only

    const StandardSecurity long1("", std::string(32, 'p') + "tail1", -64, id);
    const StandardSecurity long2("", std::string(32, 'p') + "tail2", -64, id);
    EXPECT_EQ(long1.Key(), long2.Key());

    EXPECT_EQ(a.ObjectKey(7).size(), 10u);
    EXPECT_NE(a.ObjectKey(7), a.ObjectKey(8));
    EXPECT_EQ(a.Encrypt(7, a.Encrypt(7, "secret")), "secret");
    EXPECT_EQ(a.Encrypt(7, "secret"), rc4(a.ObjectKey(7), "secret"));
}

} // namespace
} // namespace pv
