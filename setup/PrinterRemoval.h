#ifndef VELMO_SETUP_PRINTERREMOVAL_H
#define VELMO_SETUP_PRINTERREMOVAL_H

#include "util/ResultCode.h"

#include <string>

namespace velmo::setup {

// Deletes the printer through the spooler if it can be opened, then its printer key and
// its driver keys of both environments. The driver files stay. 0 when the printer can no
// longer be opened afterwards.
util::ResultCode deletePrinter(const std::string& printerName);

// Whether a printer of this name can be opened for printing; never for an empty name.
bool printerExists(const std::string& printerName);

// Ends every process whose executable name begins with the prefix (ASCII case ignored).
void endProcessesNamed(const std::string& prefix);

}

#endif
