#include "batch/BatchLineFields.h"
#include "batch/BatchText.h"
#include "platform/CodePage.h"

#include <gtest/gtest.h>

using namespace pv;

// Splitting a line once must give every field exactly as cutting it out alone.
TEST(BatchLineFields, SplitAgreesWithExtractField) {
    const char* lines[] = {
        "\"ИН41\",1,\"123-456-789 00\",\"ИВАНОВ\",\"ИВАН\",\"ИВАНОВИЧ\",,\"ул. Мира, д. 5, кв. "
        "7\",10.5,3",
        "\"ИНДС\",1,\"123-456-789 00\",\"ИВАНОВ\",\"ИВАН\",\"ИВАНОВИЧ\",,\"ул. Мира, д. 5\",10.5",
        "\"ИН42\",1,2,3,4,5,6,7 no closing quote,8,9",
        "\"ИН41\",1,2,3,4,5,6,\"\",9,10",
        "\"ИН41\",1,2,3,4,5,6,\"a\",",
        "\"ИН4",
        "",
        ",,,,,,,,,,,,,,,,,,,,,,",
        "\"\",\"\"\",\"",
        "\"ИН42\",2,\"\",\"\",",
    };
    BatchLineFields fields;
    for (const char* utf8 : lines) {
        const std::string line = ru(utf8);
        fields.split(line, 20);
        for (int n = 0; n <= 20; ++n)
            EXPECT_EQ(fields(n), ExtractField(line, n)) << utf8 << " field " << n;
    }
}
