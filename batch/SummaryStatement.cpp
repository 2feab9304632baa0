#include "batch/SummaryStatement.h"

#include "batch/BatchDriver.h"
#include "batch/BatchNumber.h"
#include "batch/BatchText.h"
#include "batch/FormTables.h"
#include "platform/CodePage.h"
#include "platform/TextCase.h"
#include "report/value/Variables.h"

#include <cstdio>

namespace pv {
namespace {

void set(TRxMemoryData& table, const std::string& field, std::string_view text) {
    table.FieldByName(field).SetAsString(text);
}

std::string total(double value) {
    return trim(PointToDecimalSeparator(FormatFixed(value, 100, 2)));
}

} // namespace

void SummaryStatement::ADV2001() {
    TRxMemoryData& t = tables_.TableSvod;
    t.Close();
    t.Open();
    itogNal_ = itogBol_ = 0;
    BatchFile& file = driver_.batchFile();
    while (!file.atEnd()) {
        const std::string line = file.ReadBatchLine();
        const std::string code = ExtractField(line, 1);
        if (code == ru("СВОД"))
            readSummary(line);
        else if (code == ru("ОБЩС"))
            readFigures(line);
    }
    frVariables().SetValue("ItogNal", Variant(total(itogNal_)));
    frVariables().SetValue("ItogBol", Variant(total(itogBol_)));
    driver_.endOfRun(ReportId::frReport1, [&t] {
        if (t.State() == TDataSetState::dsInsert || t.State() == TDataSetState::dsEdit) t.Post();
    });
}

void SummaryStatement::readSummary(const std::string& line) {
    TRxMemoryData& t = tables_.TableSvod;
    t.Append();
    struct Head {
        const char* field;
        bool amount;
    };
    const Head head[] = {{"TipSvod", false},    {"NomSvod", false},    {"KolSvod", false},
                         {"KolSSvod", false},   {"ZadSvod", true},     {"TarSvod", false},
                         {"OtSvod", false},     {"GotSvod", false},    {"FalSvod", false},
                         {"ItogSvod", true},    {"ItogBolSvod", true}, {"ItogNaSvod", true},
                         {"ItogPerSvod", true}, {"DateSvod", false},   {"SSvod", false}};
    for (int i = 0; i < 15; ++i) {
        const std::string value = ExtractField(line, i + 1);
        set(t, head[i].field, head[i].amount ? PointToDecimalSeparator(value) : value);
    }
    itogNal_ += BatchFloat(PointToDecimalSeparator(ExtractField(line, 10)));
    itogBol_ += BatchFloat(PointToDecimalSeparator(ExtractField(line, 11)));
}

void SummaryStatement::readFigures(const std::string& line) {
    const int n = BatchInteger(ExtractField(line, 2));
    if (n < 1 || n > 12) return;
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "_%02d", n);
    TRxMemoryData& t = tables_.TableSvod;
    struct Figure {
        const char* suffix;
        bool amount;
    };
    const Figure figures[] = {{"oSvod", false}, {"mSvod", false}, {"kSvod", false},
                              {"dSvod", true},  {"bSvod", true},  {"tSvod", false},
                              {"nSvod", true},  {"pSvod", true}};
    for (int i = 0; i < 8; ++i) {
        const std::string value = ExtractField(line, i + 1);
        set(t, std::string(prefix) + figures[i].suffix,
            figures[i].amount ? PointToDecimalSeparator(value) : value);
    }
}

} // namespace pv
