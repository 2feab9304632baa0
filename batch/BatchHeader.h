#pragma once

#include <string>

namespace pv {

// Header values of the last batch read, kept for the title page and the
// payment statement. Overwritten field by field; never cleared.
struct BatchHeader {
    std::string reg_nom;
    std::string inn;
    std::string kpp;
    std::string nazvan;
    std::string nom_pach;
    std::string DefaultKod;
};

} // namespace pv
