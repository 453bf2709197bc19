#ifndef VELMO_SETUP_PORTFILE_H
#define VELMO_SETUP_PORTFILE_H

#include "util/ResultCode.h"

#include <string>

namespace velmo::setup {

// The port is also a file in the native system directory, which everybody may write:
// creates it when it is missing and grants full access to it.
util::ResultCode preparePortFile(const std::string& portName);

// Windows directory + "\System32\" + the port name.
std::string portFilePath(const std::string& portName);

}

#endif
