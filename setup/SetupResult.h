#ifndef VELMO_SETUP_SETUPRESULT_H
#define VELMO_SETUP_SETUPRESULT_H

#include "util/ResultCode.h"

// The installer's own results, beside those of the utilities.
namespace velmo::setup::code {

using util::ResultCode;

constexpr ResultCode installFailed = 400000347;
constexpr ResultCode removeNoPrinterName = 400000120;
constexpr ResultCode removeFailed = 400000134;
constexpr ResultCode unexpectedException = 800000355;

constexpr ResultCode registerNoPrinterName = 400000633;
constexpr ResultCode registryValueKept = 400000393;
constexpr ResultCode registryMultiStringFailed = 400000450;

constexpr ResultCode portNameEmpty = 400000396;
constexpr ResultCode portFileNotCreated = 400000419;

constexpr ResultCode deleteNoPrinterName = 400000473;
constexpr ResultCode printerStillPresent = 400000524;

}

#endif
