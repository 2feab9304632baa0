#pragma once

#include <string>

namespace pv {

class ByteStream;
class TfrReport;
class TfrView;

// Writes a report as an edition-25 template. `printerName` is the text stored
// for the printer; the last-change date is `lastChange`, also kept in the report.
void writeFrf(TfrReport& report, ByteStream& stream, const std::string& printerName,
              double lastChange);

} // namespace pv
