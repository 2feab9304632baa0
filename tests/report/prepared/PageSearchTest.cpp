#include "report/prepared/PageSearch.h"
#include "platform/CodePage.h"
#include "platform/EmfRecorder.h"
#include "platform/EmfRecords.h"
#include "platform/FontService.h"

#include <gtest/gtest.h>

#include <map>

namespace pv {
namespace {

// Each page prints its lines one below the other.
std::vector<std::uint8_t> recordLines(const std::vector<std::string>& lines) {
    EmfRecorder recorder(FontService::shared(), ReferenceDevice::screen(), Size{758, 1071});
    LogFont font;
    font.height = -13;
    font.charSet = 204;
    font.faceName = "Arial";
    recorder.SetFont(font);
    int y = 20;
    for (const std::string& line : lines) {
        recorder.TextOut(40, y, line);
        y += 30;
    }
    return recorder.finish();
}

// The text of the text-output record with this index.
std::string textOfRecord(const std::vector<std::uint8_t>& metafile, std::size_t index) {
    for (const EmfRecord& r : EmfReader(metafile))
        if (r.index() == index && r.type() == emf::EMR_EXTTEXTOUTW)
            return codepage::fromUtf16(decodeExtTextOutW(r).text, codepage::kWindows1251);
    return "<none>";
}

class PageSearchTest : public ::testing::Test {
protected:
    PageSearchTest() {
        pages[1] = recordLines({ru("ИТОГО"), ru("СТРАХОВОЙ СТАЖ"), ru("СТАЖ ОБЩИЙ")});
        pages[2] = recordLines({ru("Фамилия"), ru("Стаж")});
        pages[3] = recordLines({ru("общий стаж")});
    }
    PageSearch search() {
        return PageSearch(
            [this](int page) {
                ++recorded[page];
                return pages.at(page);
            },
            3);
    }
    std::string hitText(const std::optional<PageHit>& hit) {
        if (!hit) return "<no hit>";
        return std::to_string(hit->page) + " " + textOfRecord(pages.at(hit->page), hit->hit.record);
    }

    std::map<int, std::vector<std::uint8_t>> pages;
    std::map<int, int> recorded;
};

TEST_F(PageSearchTest, WithoutTheCaseBoxCapitalsMatchAndHitsGoOnOnTheSamePageFirst) {
    PageSearch s = search();
    s.setText(ru("стаж"), false);
    EXPECT_EQ(s.text(), ru("СТАЖ"));
    EXPECT_EQ(hitText(s.findFrom(1)), "1 " + ru("СТРАХОВОЙ СТАЖ"));
    EXPECT_EQ(hitText(s.findNext()), "1 " + ru("СТАЖ ОБЩИЙ"));
    EXPECT_EQ(hitText(s.findNext()), "2 " + ru("Стаж"));
    EXPECT_EQ(hitText(s.findNext()), "3 " + ru("общий стаж"));
    // After the last page nothing more is found and the last hit stays.
    EXPECT_EQ(hitText(s.findNext()), "<no hit>");
    ASSERT_TRUE(s.lastHit());
    EXPECT_EQ(s.lastHit()->page, 3);
}

TEST_F(PageSearchTest, CaseSensitiveSearchAndStartPages) {
    struct Case {
        const char* text;
        bool caseSensitive;
        int startPage;
        const char* first;
    } cases[] = {
        {"стаж", true, 1, "3 общий стаж"}, {"Стаж", true, 1, "2 Стаж"},
        {"СТАЖ", true, 2, "<no hit>"},     {"стаж", false, 2, "2 Стаж"},
        {"итого", false, 2, "<no hit>"},   {"ФАМИЛИЯ", false, 1, "2 Фамилия"},
        {"пенсия", false, 1, "<no hit>"},  {"", false, 1, "<no hit>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        PageSearch s = search();
        s.setText(ru(c.text), c.caseSensitive);
        EXPECT_EQ(hitText(s.findFrom(c.startPage)), ru(c.first));
    }
}

TEST_F(PageSearchTest, TheHitCarriesTheRecordsBounds) {
    PageSearch s = search();
    s.setText(ru("итого"), false);
    auto hit = s.findFrom(1);
    ASSERT_TRUE(hit);
    for (const EmfRecord& r : EmfReader(pages[1]))
        if (r.index() == hit->hit.record) {
            EXPECT_EQ(decodeExtTextOutW(r).bounds, hit->hit.bounds);
        }
    EXPECT_GE(hit->hit.bounds.left, 40);
    EXPECT_GE(hit->hit.bounds.top, 20);
    EXPECT_GT(hit->hit.bounds.right, hit->hit.bounds.left);
    EXPECT_LT(hit->hit.bounds.top, 50);
}

TEST_F(PageSearchTest, OnlyRecordsAfterThePreviousHitCount) {
    auto first = findTextOnPage(pages[1], ru("СТАЖ"), false);
    ASSERT_TRUE(first);
    auto second = findTextOnPage(pages[1], ru("СТАЖ"), false, first->record);
    ASSERT_TRUE(second);
    EXPECT_GT(second->record, first->record);
    EXPECT_FALSE(findTextOnPage(pages[1], ru("СТАЖ"), false, second->record));
    EXPECT_EQ(findTextOnPage(pages[1], ru("СТАЖ"), false, first->record - 1), first);
}

TEST_F(PageSearchTest, FindNextWithoutAHitStartsAtTheStartPageAndANewTextStartsOver) {
    PageSearch s = search();
    s.setText(ru("стаж"), false);
    EXPECT_EQ(hitText(s.findNext()), "1 " + ru("СТРАХОВОЙ СТАЖ"));
    s.setText(ru("стаж"), false);
    EXPECT_FALSE(s.lastHit());
    EXPECT_EQ(hitText(s.findFrom(3)), "3 " + ru("общий стаж"));
    EXPECT_EQ(recorded[2], 0); // pages before the start are not drawn
}

} // namespace
} // namespace pv
