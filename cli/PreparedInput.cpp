#include "cli/PreparedInput.h"

#include "report/prepared/PreparedPages.h"
#include "report/model/FrfError.h"
#include "report/template/Report.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace pv::cli {
// A prepared report starts with its edition byte and a compression flag; a
// batch file, or any text, starts with printable characters.
bool looksLikeText(const std::string& path) {
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    std::string head(512, '\0');
    in.read(head.data(), std::streamsize(head.size()));
    head.resize(size_t(in.gcount()));
    if (head.empty()) return false;
    return std::all_of(head.begin(), head.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b >= 0x20 || b == '\r' || b == '\n' || b == '\t';
    });
}

void loadPreparedInput(TfrReport& report, const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(std::filesystem::u8path(path), ec))
        throw PreparedInputError("cannot read " + path);
    if (looksLikeText(path))
        throw PreparedInputError(path + ": this is a text file, not a prepared report (.frp)");
    if (!report.LoadPreparedFile(path)) throw PreparedInputError("cannot read " + path);
    if (report.lastLoad() != LoadResult::Ok)
        throw PreparedInputError(path + ": not a readable prepared report (.frp): " +
                                 report.lastLoadDetail());
    if (report.EMFPages().Count() == 0)
        throw PreparedInputError(path + ": the prepared report has no pages");
}

} // namespace pv::cli
