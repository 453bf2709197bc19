#ifndef VELMO_TOOLS_PRINTHOST_COMMANDLINE_H
#define VELMO_TOOLS_PRINTHOST_COMMANDLINE_H

#include "tools/printhost/PrintJob.h"

#include <string>
#include <vector>

namespace velmo::tools::printhost {

// What korvaprint is asked to do: the driver, by path or by printer name, and one or more
// jobs for it. "--and" separates the jobs; --driver and --printer come before the first one
// and hold for every job. Jobs without --job are numbered by their place, from 1.
struct CommandLine {
    std::wstring driverPath;
    std::wstring printerName;
    std::vector<JobOptions> jobs;
};

// False with the reason in error when the arguments do not make a command.
bool parseCommandLine(int nArgs, wchar_t** ppszArgs, CommandLine& commandLine, std::string& error);

}

#endif
