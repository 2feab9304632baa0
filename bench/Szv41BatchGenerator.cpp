#include "bench/Szv41BatchGenerator.h"

#include "platform/CodePage.h"

#include <cstdio>

namespace pv::bench {
namespace {

// Russian text of the generator to 866 by way of 1251.
std::string oem(const std::string& utf8) {
    std::u16string wide = codepage::utf8ToUtf16(utf8);
    return codepage::fromUtf16(wide, codepage::kOem866);
}

} // namespace

std::string generateSzv41Batch(int persons, int periods) {
    std::string out;
    out.reserve(size_t(persons) * (200 + 90 * periods) + 400);
    auto line = [&out](const std::string& utf8) { out += oem(utf8) + "\r\n"; };
    line("\"ФАЙЛ\",\"04.00\",\"ПФР\"");
    line("\"ОРГН\",1,\"016-001-000123\",\"0012345678\",\"001601001\",\"ООО \"\"Ромашка\"\"\"");
    line("\"ПАЧК\",17,\"10.01.2006\",,\"15.01.2006\",,2005,\"НР\",\"\",\"\",\"ИСХД\",\"\",4,2005,,,"
         "\"0\",\"0\",\"0\"");
    line("\"ОПИС\",\"ИН41\"," + std::to_string(persons));
    const std::string surnames[] = {"ИВАНОВ", "ПЕТРОВА", "СИДОРОВ", "КУЗНЕЦОВА", "СМИРНОВ"};
    char buf[512];
    for (int p = 1; p <= persons; ++p) {
        std::snprintf(buf, sizeof buf,
                      "\"ИН41\",%d,\"%03d-%03d-%03d %02d\",\"%s\",\"ИВАН\",\"ПЕТРОВИЧ\","
                      "\"12.03.1970\",\"420015, г. Казань, ул. Мира, д. %d, кв. %d\",\"%d.%02d\","
                      "\"%d.50\",\"0\",%d,%d,0,0,0,%d",
                      p, p / 1000000 % 1000, p / 1000 % 1000, p % 1000, p % 97,
                      surnames[p % 5].c_str(), p % 200 + 1, p % 90 + 1, 10000 + p % 5000, p % 100,
                      1000 + p % 700, p % 12, p % 28, periods);
        line(buf);
        for (int i = 1; i <= periods; ++i) {
            std::snprintf(buf, sizeof buf,
                          "\"СТАЖ\",%d,\"01.%02d.2005\",\"28.%02d.2005\",\"%s\",\"\",\"%s\",%d,%d,"
                          "\"\",,%d,0,\"%s\",\"\",\"%s\",0",
                          i, i, i, i == 2 ? "РКС" : "", i == 3 ? "ДЕКРЕТ" : "", i == 3 ? 2 : 0,
                          i == 3 ? 15 : 0, i == 2 ? 36 : 0, i == 2 ? "0.25" : "0",
                          i == 2 ? "1.5" : "");
            line(buf);
        }
    }
    return out;
}

} // namespace pv::bench
