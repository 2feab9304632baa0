#include "report/qt/QtText.h"
#include "platform/CodePage.h"

#include <gtest/gtest.h>

using namespace pv;

namespace {

TEST(QtText, LineBreaksFollowTheChoiceAndTextRoundTrips) {
    struct Case {
        const char* utf8;
        CrLf crlf;
        const char* expected;
    };
    const Case cases[] = {
        {"Первая\r\nвторая", CrLf::Keep, "Первая\r\nвторая"},
        {"Первая\r\nвторая", CrLf::ToLf, "Первая\nвторая"},
        {"a\r\n\r\nb\r\n", CrLf::ToLf, "a\n\nb\n"},
        // Only the pair is a break; a lone CR or LF stays as it is.
        {"a\rb\nc\n\rd", CrLf::ToLf, "a\rb\nc\n\rd"},
        {"", CrLf::ToLf, ""},
    };
    for (const Case& c : cases) {
        const QString text = qt1251(ru(c.utf8), c.crlf);
        EXPECT_EQ(text, QString::fromUtf8(c.expected)) << c.utf8;
        if (c.crlf == CrLf::Keep) EXPECT_EQ(from1251(text), ru(c.utf8)) << c.utf8;
    }
}

} // namespace
