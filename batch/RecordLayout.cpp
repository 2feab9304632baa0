#include "batch/RecordLayout.h"

#include "batch/BatchDriver.h"
#include "batch/BatchText.h"
#include "batch/TakeValue.h"
#include "platform/CodePage.h"
#include "report/data/MemoryTable.h"

namespace pv {

RecordLayout::RecordLayout(std::vector<LayoutField> fields) : fields_(std::move(fields)) {
    for (size_t i = 0; i < fields_.size(); ++i) {
        const bool quoted = fields_[i].quoted;
        Step step{fields_[i].column, {}, 0};
        if (i + 1 == fields_.size()) {
            step.separator = "\"";
        } else if (i == 1 && !quoted) {
            // The record number: up to its comma, and the opening quote of the
            // next field goes with it.
            step.separator = ",";
            step.extra = 1;
        } else {
            const bool nextQuoted = fields_[i + 1].quoted;
            step.separator = std::string(quoted ? "\"" : "") + "," + (nextQuoted ? "\"" : "");
        }
        steps_.push_back(std::move(step));
    }
}

void RecordLayout::readInto(const std::string& line, TRxMemoryData& table) const {
    table.Append();
    const size_t quote = line.find('"');
    std::string rest = quote == std::string::npos ? line : line.substr(quote + 1);
    for (const Step& step : steps_)
        table.FieldByName(step.column).SetAsString(TakeValue(rest, step.separator, step.extra));
}

void readRecordLines(BatchDriver& driver, const std::string& code, const RecordLayout& layout,
                     TRxMemoryData& table) {
    table.Close();
    table.Open();
    BatchFile& file = driver.batchFile();
    while (!file.atEnd()) {
        const std::string line = file.ReadBatchLine();
        const std::string lineCode = ExtractField(line, 1);
        if (lineCode == ru("ЭЦПД") || lineCode != code) continue;
        layout.readInto(line, table);
    }
    driver.endOfRun(ReportId::frReport1, [&table] {
        if (table.State() == TDataSetState::dsInsert) table.Post();
    });
}

} // namespace pv
