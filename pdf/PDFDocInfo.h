#pragma once

#include "pdf/PDFClock.h"

#include <string>

namespace pv {

// The maker notice the writer signs its files with.
inline constexpr const char* kPdfMakerNotice = "Tarvelin Ltd.";
inline constexpr const char* kPdfMakerAddress = "http://www.tarvelin.example";

// The document information dictionary. Texts are single-byte (1251 in this program).
class TPDFDocInfo {
public:
    std::string Author = "Windows 9x/NT/2000/XP User";
    std::string Creator = std::string(kPdfMakerNotice) + " program";
    std::string Keywords = kPdfMakerNotice;
    std::string Subject = "None";
    std::string Title = "No Title";

    PdfDateTime CreationDate;
    std::string Producer = kPdfMakerNotice;
    // The object number of the info dictionary in the file being written.
    int ObjectNumber = 0;

    // Copies what a caller may set; the producer and the object number stay.
    void Assign(const TPDFDocInfo& other) {
        Creator = other.Creator;
        CreationDate = other.CreationDate;
        Author = other.Author;
        Title = other.Title;
        Subject = other.Subject;
        Keywords = other.Keywords;
    }
};

} // namespace pv
