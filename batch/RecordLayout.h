#pragma once

#include <string>
#include <vector>

namespace pv {

class TRxMemoryData;

// A record line whose quoted fields may hold commas, read field by field with
// TakeValue. Each field is quoted or bare; the separator after a field follows
// from its form and that of the next one.
struct LayoutField {
    const char* column;
    bool quoted;
};

class RecordLayout {
public:
    explicit RecordLayout(std::vector<LayoutField> fields);

    size_t size() const { return fields_.size(); }
    // The separator that ends field `index` (0-based) and the characters
    // dropped after it.
    const std::string& separator(size_t index) const { return steps_.at(index).separator; }
    int extra(size_t index) const { return steps_.at(index).extra; }

    // Appends a row to `table` and stores every field of `line` as text in its
    // column (cut to the column's width). The line's first double quote, the
    // opening one of the line code, is where reading starts.
    void readInto(const std::string& line, TRxMemoryData& table) const;

private:
    struct Step {
        const char* column;
        std::string separator;
        int extra;
    };
    std::vector<LayoutField> fields_;
    std::vector<Step> steps_;
};

// Reads every line of the parser's own code (the signature lines "ЭЦПД" and all
// others are skipped) from the rest of the batch file into `table`, emptied
// first, and ends the run with frReport1.
class BatchDriver;
void readRecordLines(BatchDriver& driver, const std::string& code, const RecordLayout& layout,
                     TRxMemoryData& table);

} // namespace pv
