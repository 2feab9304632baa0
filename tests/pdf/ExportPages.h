#pragma once

// Prepared pages for the PDF export tests, built where the report's view
// classes are visible (their names would clash with the PDF writer's here).

#include <string>

namespace pv {
class TfrEMFPages;
}

namespace pv::test {

// An empty page whose paper is exactly this many report pixels.
void addPaperPage(TfrEMFPages& pages, int widthPixels, int heightPixels);
// An A4 page with a framed text box (1251 text) and a line.
void addTextPage(TfrEMFPages& pages, const std::string& text, int orientation = 0);
// An A4 page whose one text box has no text, frame or fill.
void addSilentPage(TfrEMFPages& pages);

} // namespace pv::test
