#include "setup/CommandLine.h"

#include <gtest/gtest.h>

namespace velmo::setup {

namespace {

struct SwitchCase {
    const char* pszCommandLine;
    bool bCheck;
    bool bRemove;
};

const SwitchCase switchCases[] = {
    {"setup.exe", false, false},
    {"setup.exe remove", false, true},
    {"setup.exe REMOVE", false, true},
    {"setup.exe -remove", false, true},
    {"setup.exe /Remove", false, true},
    {"setup.exe removeall", false, false},
    {"setup.exe x-remove", false, false},
    {"setup.exe --remove", false, false},
    {"setup.exe /CHECK now remove", true, true},
    {"setup.exe\tcheck", true, false},
    {"setup.exe -check-remove", false, false},
    // The program's own path is no switch.
    {"\"C:\\check remove\\setup.exe\"", false, false},
    {"\"C:\\check remove\\setup.exe\" remove", false, true},
    {"C:\\remove\\setup.exe check", true, false},
};

TEST(CommandLine, SwitchesAreWholeWordsAfterTheProgramName)
{
    for (const SwitchCase& entry : switchCases) {
        const Switches switches = Switches::parse(entry.pszCommandLine);
        EXPECT_EQ(switches.bCheck, entry.bCheck) << entry.pszCommandLine;
        EXPECT_EQ(switches.bRemove, entry.bRemove) << entry.pszCommandLine;
    }
}

}

}
