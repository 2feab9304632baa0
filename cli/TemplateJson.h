#pragma once

#include <nlohmann/json.hpp>

namespace pv {
class TfrReport;
}

namespace pv::cli {

// The template model as JSON, keyed by the model's field names, texts in UTF-8.
nlohmann::ordered_json templateToJson(const TfrReport& report);

} // namespace pv::cli
