#pragma once

#include <functional>
#include <string>

namespace pv {

class ReportService;
class Tfm_main;

// Opens the designer on frReport1 holding the template loaded from `path`;
// Save writes to `savePath`. Returns when the designer is closed.
using OpenDesigner = std::function<void(const std::string& path, const std::string& savePath)>;

// Gives the window's "Титульный лист" menu its two commands: the title page
// of the last batch read, and editing its template after the warning.
void installTitlePageCommands(Tfm_main& window, ReportService& reports, OpenDesigner designer);

// Where the title template is read from, and where an edited one is written
// (the per-user copy of an installed program), for the window's directories.
std::string titleTemplatePath(const Tfm_main& window);
std::string editedTitleTemplatePath(const Tfm_main& window);

} // namespace pv
