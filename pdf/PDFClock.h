#pragma once

#include <functional>
#include <string>

namespace pv {

// A local date and time as the writer stamps documents with it.
struct PdfDateTime {
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
    int dayOfWeek = 6; // 0 Sunday … 6 Saturday
};

// Where the writer takes the current time from; tests fix it to get identical files.
using PdfClock = std::function<PdfDateTime()>;

PdfDateTime systemLocalTime();

// "ddd dd-mm-yyyy hh:nn:ss.zzz" with the English short day name, as hashed into the document ID.
std::string formatIdTime(const PdfDateTime& t);
// "yyyymmddhhnnss", the digits of an info dictionary date.
std::string formatInfoDate(const PdfDateTime& t);

} // namespace pv
