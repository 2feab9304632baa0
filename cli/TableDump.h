#pragma once

#include <nlohmann/json.hpp>

namespace pv {
class TRxMemoryData;
}

namespace pv::cli {

// A table as JSON: "rows", every stored row in order (the filter ignored) as
// an object of its fields in stored order with the values AsString gives them;
// "pending", the row being appended or edited, when there is one.
nlohmann::ordered_json dumpTable(TRxMemoryData& table);

} // namespace pv::cli
