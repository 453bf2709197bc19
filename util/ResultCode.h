#ifndef VELMO_UTIL_RESULTCODE_H
#define VELMO_UTIL_RESULTCODE_H

#include <cstdint>

namespace velmo::util {

// What every utility that can fail reports: 0 for success, else one of the codes below.
using ResultCode = std::uint32_t;

namespace code {

constexpr ResultCode success = 0;

// A failure that carries the system's own error code on top of this base.
constexpr ResultCode systemErrorBase = 400000000;
constexpr ResultCode systemError(std::uint32_t nError) { return systemErrorBase + nError; }

constexpr ResultCode directoryPathEmpty = 400003558;
constexpr ResultCode directoryNoComponent = 400003598;

constexpr ResultCode copyTargetDirectoryFailed = 400003954;
constexpr ResultCode copyToNewTargetFailed = 400003965;
constexpr ResultCode copyClearAttributesFailed = 400003977;
constexpr ResultCode copyOverTargetFailed = 400003988;
constexpr ResultCode copyOpenSourceFailed = 400004000;
constexpr ResultCode copyOpenTargetFailed = 400004006;
constexpr ResultCode copyReadSourceTimesFailed = 400004012;
constexpr ResultCode copyReadTargetTimesFailed = 400004018;
constexpr ResultCode copyClearAttributesAgainFailed = 400004059;
constexpr ResultCode copyFailed = 400004064;
constexpr ResultCode copyReopenTargetFailed = 400004071;
constexpr ResultCode copySetTimesFailed = 400004078;

constexpr ResultCode moveSourceMissing = 400003695;
constexpr ResultCode moveSourceIsDirectory = 400003701;
constexpr ResultCode moveTargetDirectoryMissing = 400003707;
constexpr ResultCode moveTargetDirectoryNotDirectory = 400003713;
constexpr ResultCode moveFailed = 400003728;

constexpr ResultCode deleteFileStillPresent = 400004230;

constexpr ResultCode writePathEmpty = 400003497;
constexpr ResultCode writeCreateFailed = 400003505;
constexpr ResultCode writeFailed = 400003513;

constexpr ResultCode iniFileMissing = 400000139;
constexpr ResultCode iniKeyEmpty = 400000314;
constexpr ResultCode iniNoMainFile = 400000335;

constexpr ResultCode redirectionDisableFailed = 400007041;
constexpr ResultCode redirectionRevertFailed = 400007101;

constexpr ResultCode grantPathTooShort = 400006660;
constexpr ResultCode grantLowerCaseDriveC = 400006662;
constexpr ResultCode grantUpperCaseDriveC = 400006664;
constexpr ResultCode grantWindowsDirectory = 400006729;

constexpr ResultCode serviceStartOpenFailed = 400000727;
constexpr ResultCode serviceStartFailed = 400000196;
constexpr ResultCode serviceNotRunning = 400000755;
constexpr ResultCode serviceStopOpenFailed = 400000767;
constexpr ResultCode serviceStopFailed = 400000213;
constexpr ResultCode serviceNotStopped = 400000795;

}

}

#endif
