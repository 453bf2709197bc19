#ifndef VELMO_TESTS_DRIVER_HOSTSHELL_H
#define VELMO_TESTS_DRIVER_HOSTSHELL_H

#include <optional>
#include <string>

namespace velmo::driver::test {

// Under Wine, the Linux machine beneath it: its tools (qpdf, tiffinfo, pdftoppm) check what
// the driver wrote, and its environment lets a program run under another account name.
class HostShell {
public:
    // Unavailable on Windows itself.
    static bool isAvailable();
    // The host's path of a Windows path; empty when there is none.
    static std::string hostPath(const std::string& windowsPath);
    // Runs a POSIX shell command in workDirectory (a Windows path) and gives its exit status
    // and, in output, what it wrote to standard output and error; nullopt when the host is
    // unavailable or the command did not end within two minutes.
    static std::optional<int> run(const std::string& command, const std::string& workDirectory, std::string& output);
};

// A text as one single-quoted shell word.
std::string shellQuoted(const std::string& text);

}

#endif
