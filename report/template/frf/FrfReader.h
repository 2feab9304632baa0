#pragma once

#include "platform/Error.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace pv {

class ByteStream;
class TfrReport;
class TfrPage;
class TfrView;

// A template that holds add-in objects of classes this program does not have.
class NonPluggedError : public Error {
public:
    explicit NonPluggedError(std::vector<std::string> classes);
    const std::vector<std::string>& classes() const { return classes_; }

private:
    std::vector<std::string> classes_;
};

// Reads a template stream of editions 21 to 25 into a report.
class FrfReader {
public:
    FrfReader(TfrReport& report, ByteStream& stream) : report_(report), s_(stream) {}

    // The edition byte; a first byte of 20 or less is no edition byte but an
    // edition-21 file, read from that byte. Throws FrfFormatError on an empty
    // stream.
    int readEdition();
    // The records and the report information, after readEdition(). Throws
    // FrfFormatError or NonPluggedError; what was read so far stays.
    void readBody();

private:
    void readPage();
    void readObject(uint8_t code);
    void readCommonFields(TfrView& view);
    void readDictionary();
    void readOldDictionary();
    void readInfo();

    TfrReport& report_;
    ByteStream& s_;
    int edition_ = 25;
    std::vector<std::string> nonPlugged_;
};

} // namespace pv
