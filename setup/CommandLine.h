#ifndef VELMO_SETUP_COMMANDLINE_H
#define VELMO_SETUP_COMMANDLINE_H

#include <string_view>

namespace velmo::setup {

// The installer's two switches. A switch is a whole word after the program name, in any
// letter case, written bare or after "-" or "/"; everything else on the line is ignored.
struct Switches {
    bool bCheck = false;
    bool bRemove = false;

    static Switches parse(std::string_view commandLine);
};

// Whether the words after the program name hold the switch word.
bool hasSwitch(std::string_view commandLine, std::string_view word);

}

#endif
