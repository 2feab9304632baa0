#pragma once

#include "batch/BatchText.h"

#include <string_view>
#include <vector>

namespace pv {

// The fields of one batch line, split once: field(n) is ExtractField(line, n)
// without scanning the line again. The line must outlive the views.
class BatchLineFields {
public:
    // Splits off fields 1 to `count`; later ones read as empty.
    void split(std::string_view line, int count) { ExtractFields(line, count, fields_); }

    std::string_view operator()(int n) const {
        if (n < 1) n = 1;
        return size_t(n) <= fields_.size() ? fields_[n - 1] : std::string_view();
    }

private:
    std::vector<std::string_view> fields_;
};

} // namespace pv
