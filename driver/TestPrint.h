#ifndef VELMO_DRIVER_TESTPRINT_H
#define VELMO_DRIVER_TESTPRINT_H

#include <string>
#include <string_view>

namespace velmo::driver {

// Where a test-print target points: surrounding white space removed and the first
// occurrence of each location token replaced (##TEMP## and ##CUT## by the temporary
// directory, ##CUD## and ##DESKTOP## by the desktop folder, ##CPF## by program files).
std::string expandTestPrintTarget(std::string_view target, const std::string& temporaryDirectory,
                                  const std::string& desktopFolder);

// Test-print mode: instead of a client, the configured targets receive a PDF of the page
// file, a copy of it and a copy of the information file. A target whose directory does not
// exist is skipped; a PDF that cannot be made is not left behind half-written.
void copyTestPrintResults(const std::string& pageFile, const std::string& informationFile);

}

#endif
