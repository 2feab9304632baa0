#include "pdf/PDFDocument.h"

#include <spawn.h>
#include <sys/wait.h>

#include <thread>

extern char** environ;

namespace pv {

// The path goes to xdg-open as one argument, never through a shell. Some desktops
// keep xdg-open running as long as the viewer, so it is reaped in the background.
void openWithDesktop(const std::string& path) {
    std::string program = "xdg-open";
    std::string argument = path;
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ) != 0) return;
    std::thread([pid] {
        int status = 0;
        waitpid(pid, &status, 0);
    }).detach();
}

} // namespace pv
