#ifndef VELMO_TOOLS_PRINTHOST_PRINTERLOOKUP_H
#define VELMO_TOOLS_PRINTHOST_PRINTERLOOKUP_H

#include <string>

namespace velmo::tools::printhost {

// The driver file of an installed printer, found as the spooler finds it: the printer's
// key names its driver, the driver's key (version 3, this process's environment) names the
// file, and the file lies in the printer-driver directory's "3" subdirectory. Empty with
// the reason in error when a step fails.
std::wstring findPrinterDriverFile(const std::wstring& printerName, std::string& error);

}

#endif
