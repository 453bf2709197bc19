// korvaprint: runs print jobs through a printer driver's DDI, as the graphics engine and the
// spooler do, and prints one line per step. Several jobs run at once, each on its own thread.
#include "tools/printhost/CommandLine.h"
#include "tools/printhost/ConcurrentJobs.h"
#include "tools/printhost/LoadedDriver.h"
#include "tools/printhost/PrinterLookup.h"
#include "tools/printhost/PrintJob.h"
#include "tools/printhost/StepLog.h"
#include "tools/printhost/WideText.h"

#include <cstdio>
#include <string>

using namespace velmo::tools::printhost;

namespace {

constexpr char usage[] =
    "usage: korvaprint --driver PATH | --printer NAME JOB [--and JOB]...\n"
    "  JOB: [--job ID] [--document NAME] [--paper letter|legal] [--orientation portrait|landscape]\n"
    "       [--keep-pages DIR] (--sample | IMAGE...)\n"
    "Runs print jobs through the driver; each IMAGE (PPM, PGM, PBM or BMP) is one page.\n"
    "Jobs separated by --and run at once, each on its own thread and device; their lines are\n"
    "headed by \"job ID: \". Job IDs are 1, 2, 3 ... unless given.\n"
    "--keep-pages writes each page as drawn, before the driver sends it, to DIR\\page-N.ppm.\n";

// The driver file named on the command line, or the one of the named printer.
std::wstring driverFile(const CommandLine& commandLine, const StepLog& log)
{
    if (!commandLine.driverPath.empty())
        return commandLine.driverPath;
    std::string error;
    const std::wstring path = findPrinterDriverFile(commandLine.printerName, error);
    log.report("find driver", !path.empty(), path.empty() ? error : narrow(path));
    return path;
}

bool printAll(const CommandLine& commandLine, const StepLog& log)
{
    const std::wstring driverPath = driverFile(commandLine, log);
    LoadedDriver driver(log);
    if (driverPath.empty() || !driver.load(driverPath))
        return false;
    const bool bPrinted = commandLine.jobs.size() == 1 ? printJob(driver, commandLine.jobs.front(), log, 0)
                                                       : printJobsAtOnce(driver, commandLine.jobs, log);
    driver.close();
    return bPrinted;
}

}

int wmain(int nArgs, wchar_t** ppszArgs)
{
    CommandLine commandLine;
    std::string error;
    if (!parseCommandLine(nArgs, ppszArgs, commandLine, error)) {
        std::fprintf(stderr, "korvaprint: %s\n%s", error.c_str(), usage);
        return 2;
    }
    return printAll(commandLine, StepLog(stdout)) ? 0 : 1;
}
