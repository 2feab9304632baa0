#include "cli/TableDump.h"

#include "platform/CodePage.h"
#include "report/data/MemoryTable.h"

namespace pv::cli {

nlohmann::ordered_json dumpTable(TRxMemoryData& table) {
    nlohmann::ordered_json out;
    auto rows = nlohmann::ordered_json::array();
    for (int r = 0; r < table.RecordCount(); ++r) {
        nlohmann::ordered_json row = nlohmann::ordered_json::object();
        for (int f = 0; f < table.FieldCount(); ++f)
            row[cp1251ToUtf8(table.Fields(f).FieldName())] = cp1251ToUtf8(table.StoredText(r, f));
        rows.push_back(std::move(row));
    }
    out["rows"] = std::move(rows);
    if (table.State() == TDataSetState::dsInsert || table.State() == TDataSetState::dsEdit) {
        nlohmann::ordered_json row = nlohmann::ordered_json::object();
        for (int f = 0; f < table.FieldCount(); ++f)
            row[cp1251ToUtf8(table.Fields(f).FieldName())] =
                cp1251ToUtf8(table.Fields(f).AsString());
        out["pending"] = std::move(row);
    }
    return out;
}

} // namespace pv::cli
