#ifndef VELMO_DRIVER_JOBFILENAME_H
#define VELMO_DRIVER_JOBFILENAME_H

#include <string>

namespace velmo::driver {

// The current account name, lower-cased, every space replaced by '-'.
std::wstring accountNameForFiles();

// outputDir\seed-account-(session + 100000).extension for the calling process: the per-user
// name of a job's page file ("TIF"), control file ("INI") and information file ("LOG").
std::wstring makeJobFileName(const wchar_t* pszExtension);

}

#endif
