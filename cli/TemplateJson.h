#pragma once

#include <nlohmann/json.hpp>

namespace pv {
class TfrReport;
class TfrView;
} // namespace pv

namespace pv::cli {

// The template model as JSON, keyed by the model's field names, texts in UTF-8.
nlohmann::ordered_json templateToJson(const TfrReport& report);

// The model's class name of a view: "TfrMemoView", "TfrLineView", ..., "add-in".
const char* viewClassName(const TfrView& view);

} // namespace pv::cli
