#include "program/RegionWarningText.h"

#include "platform/CodePage.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace pv {
namespace {

struct DistrictTable {
    const char* region;
    const char* place; // second line of the message, UTF-8
    std::vector<std::string> districts;
};

std::vector<std::string> range(int first, int last) {
    std::vector<std::string> codes;
    for (int n = first; n <= last; ++n) {
        char code[8];
        std::snprintf(code, sizeof code, "%03d", n);
        codes.emplace_back(code);
    }
    return codes;
}

const std::vector<DistrictTable>& districtTables() {
    static const std::vector<DistrictTable> tables{
        {"013",
         "Татарстане или не правильно заполнен",
         {"010", "020", "030", "040", "050", "060", "071", "080", "090", "100", "110",
          "120", "131", "140", "150", "160", "170", "181", "191", "201", "210", "220",
          "230", "240", "251", "260", "270", "280", "290", "300", "301", "310", "320",
          "330", "340", "350", "360", "370", "380", "390", "400", "401", "410", "421",
          "430", "501", "502", "503", "504", "505", "506", "507", "508"}},
        {"068", "Пензенской области или не правильно заполнен", range(1, 33)},
        {"018", "Республике Тыва или не правильно заполнен", range(1, 18)},
        {"031", "Еврейской авт. области или не правильно заполнен", range(1, 6)},
        {"071", "Ростовской области или не правильно заполнен", range(1, 64)},
        {"051", "Камчатской области или не правильно заполнен", range(1, 9)},
        {"057", "Ленинградской области или не правильно заполнен", range(1, 23)},
        {"088", "Санкт-Петербурге или не правильно заполнен", range(1, 27)},
    };
    return tables;
}

constexpr std::array<const char*, 8> kRegionsWithoutTable{"008", "015", "037", "038",
                                                          "054", "066", "074", "084"};

std::string lines(const char* first, const char* second, const char* third) {
    return ru(first) + "\r\n" + ru(second) + "\r\n" + ru(third);
}

} // namespace

std::optional<std::string> regionWarningText(const std::string& regNom) {
    const std::string region = regNom.substr(0, 3);
    const std::string district = regNom.size() > 4 ? regNom.substr(4, 3) : std::string();
    for (const auto& table : districtTables()) {
        if (region != table.region) continue;
        if (std::find(table.districts.begin(), table.districts.end(), district) !=
            table.districts.end())
            return std::nullopt;
        return lines("Данное предприятие зарегистрировано не в", table.place,
                     "регистрационный номер предприятия");
    }
    for (const char* known : kRegionsWithoutTable)
        if (region == known) return std::nullopt;
    return lines("Проверте регистрационный номер предприятия",
                 "есть вероятность, что не правильно заполнен",
                 "регистрационный номер предприятия");
}

} // namespace pv
