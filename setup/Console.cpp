#include "setup/Console.h"

#include <windows.h>

#include <cstdio>

namespace velmo::setup {

namespace {
constexpr DWORD lingerMilliseconds = 3000;
}

void Console::say(const std::string& message) const
{
    std::fputs(message.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void Console::finish(const std::string& message) const
{
    say(message);
    Sleep(lingerMilliseconds);
}

}
