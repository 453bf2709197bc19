#include "driver/ClientLaunch.h"

#include "util/Files.h"
#include "util/Text.h"

#include <windows.h>

namespace velmo::driver {

namespace {

std::string quoted(std::string_view text)
{
    return '"' + std::string(text) + '"';
}

}

std::string clientCommandLine(const std::string& clientPath, const std::string& pageFile, std::string_view clientArgs)
{
    std::string commandLine = quoted(clientPath) + ' ' + quoted(pageFile);
    const std::string extraArgument = util::text::trim(clientArgs);
    if (!extraArgument.empty())
        commandLine += ' ' + quoted(extraArgument);
    return commandLine;
}

void startClient(const std::string& clientPath, const std::string& commandLine)
{
    if (!util::fileExists(clientPath))
        return;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    GetStartupInfoA(&startup);
    // Only the window request: standard handles of the printing process are not inherited,
    // so passing them on would hand the client handles that mean nothing in it.
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process{};
    std::string mutableCommandLine = commandLine;
    if (CreateProcessA(nullptr, mutableCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

}
