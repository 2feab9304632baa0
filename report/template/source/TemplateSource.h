#pragma once

#include "platform/Error.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace pv {

class TfrReport;

// A template source that cannot be compiled; the message names the line.
class TemplateSourceError : public Error {
public:
    TemplateSourceError(int line, const std::string& message);
    int line() const { return line_; }

private:
    int line_;
};

// The readable text form of a template (UTF-8): blocks `report`,
// `dictionary` and `page NAME`, objects `memo NAME`, `band NAME TYPE`,
// `picture NAME`, `line NAME`, `subreport NAME` under their page, each followed
// by `key value…` lines. Values left at their defaults are not written.
// Lengths are report pixels, or millimetres with the suffix "mm".

// The source of a report; reading it back gives the same report, and the
// source of that report is the same text.
std::string writeTemplateSource(const TfrReport& report);

// Replaces the report's content with the source's. Picture files named in
// the source are looked up relative to `baseDir`. Throws TemplateSourceError.
void readTemplateSource(std::string_view source, TfrReport& report,
                        const std::string& baseDir = std::string());

} // namespace pv
