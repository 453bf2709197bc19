#ifndef VELMO_CORE_EXCEPTION_ERRORCODE_H
#define VELMO_CORE_EXCEPTION_ERRORCODE_H

#include <cstdint>

namespace velmo::core::exception {

// The library-wide error codes (the ones the library raises; the table of names holds
// them all).
enum ErrorCode : std::int32_t {
    unspecifiedError = 4000,
    indexOutOfBounds = 4001,
    nullPointer = 4002,
    unsupported = 4003,
    resourceClosed = 4004,
    insufficientData = 4005,
    invalidParameter = 4006,
    resourceUnavailable = 4008,
    objectNotFound = 4710,
    invalidOperation = 4720,
    maximumLengthExceeded = 4813,
    seekableStreamRequired = 4911,
    bufferedStreamCurrentPositionSeekError = 4914,
    tifTagNotFound = 4951,
    tifHeaderReadError = 4952,
    tifIfdFieldCountReadError = 4953,
    tifIfdNextOffsetReadError = 4954,
    tifIfdReadError = 4955,
    tifLittleEndianCompatability = 4956,
    tifLittleEndianConversion = 4957,
    tifInvalidImage = 4958,
    tifStripStreamUnseekable = 4959,
    tifDataPositionSeekError = 4960,
    tifDataStreamReadError = 4961,
    tifGroup4UnsupportedCodeword = 4962,
    tifTagStripOffsetAndByteCountMismatch = 4963,
    pdfDataPositionSeekError = 4971,
    pdfPasswordMaxLengthExceeded = 4972,
    pdfFileIdInvalidLength = 4973,
    pdfUnsupportedAppendOperation = 4974,
};

// The name of a code, "unknownErrorCode" for any value not in the table.
const char* getErrorCodeName(std::int32_t nCode);

}

#endif
