#pragma once

#include <string>

namespace pv::bench {

// An ИН41 batch of `persons` persons with `periods` main periods each, as the
// bytes of a real batch file (866, CRLF line ends).
std::string generateSzv41Batch(int persons, int periods);

} // namespace pv::bench
