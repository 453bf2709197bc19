#include "setup/CommandLine.h"

#include "util/Text.h"

#include <string>

namespace velmo::setup {

namespace {

// What follows the program name, with the blank that separates them: the program's own
// path may hold a word such as "check" in a folder name.
std::string_view afterProgramName(std::string_view commandLine)
{
    if (!commandLine.empty() && commandLine.front() == '"') {
        const std::size_t nClosingQuote = commandLine.find('"', 1);
        return nClosingQuote == std::string_view::npos ? std::string_view() : commandLine.substr(nClosingQuote + 1);
    }
    const std::size_t nBlank = commandLine.find_first_of(" \t");
    return nBlank == std::string_view::npos ? std::string_view() : commandLine.substr(nBlank);
}

}

bool hasSwitch(std::string_view commandLine, std::string_view word)
{
    std::string arguments(afterProgramName(commandLine));
    for (char& cChar : arguments) {
        if (cChar == '\t')
            cChar = ' ';
    }
    arguments += ' ';
    const std::string bareWord = std::string(word) + ' ';
    for (const char* pszPrefix : {" -", " /", " "}) {
        if (util::text::findText(arguments, pszPrefix + bareWord, true) >= 0)
            return true;
    }
    return false;
}

Switches Switches::parse(std::string_view commandLine)
{
    return {hasSwitch(commandLine, "check"), hasSwitch(commandLine, "remove")};
}

}
