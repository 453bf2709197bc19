#include "core/exception.ErrorCode.h"

namespace velmo::core::exception {

namespace {

struct CodeName {
    std::int32_t nCode;
    const char* pszName;
};

constexpr CodeName kCodeNames[] = {
    {4000, "unspecified error"}, {4001, "indexOutOfBounds"}, {4002, "nullPointer"},
    {4003, "unsupported"}, {4004, "resourceClosed"}, {4005, "insufficientData"},
    {4006, "invalidParameter"}, {4007, "noObjectsAvailable"}, {4008, "resourceUnavailable"},
    {4009, "autoComplete"}, {4010, "pastMaxAttempts"}, {4011, "transitionFailure"},
    {4012, "dequeueException"}, {4013, "invalidCommand"}, {4014, "invalidEvent"},
    {4020, "missingConfigurationOption"}, {4030, "cryptoMd5LengthMultipleOf4Error"},
    {4110, "notConnected"}, {4120, "connectFail"}, {4130, "disconnectFail"},
    {4140, "timeoutExceeded"}, {4210, "executeFail"}, {4250, "queryOpenFail"},
    {4251, "queryNotOpen"}, {4252, "queryFetchRowFail"}, {4253, "queryFieldNameFail"},
    {4254, "queryFieldValueFail"}, {4255, "queryCloseFail"}, {4260, "unfetchedData"},
    {4261, "fetchingData"}, {4270, "transBeginFail"}, {4271, "transRollbackFail"},
    {4272, "transCommitFail"}, {4301, "eventLogKeyCreateError"}, {4302, "eventLogKeyOpenError"},
    {4303, "eventLogKeyDeleteError"}, {4304, "eventLogKeyCloseError"},
    {4305, "eventLogMessageFileSetError"}, {4306, "eventLogTypesSupportedSetError"},
    {4321, "serviceConnectError"}, {4322, "serviceInvalidData"}, {4323, "serviceAlreadyRunning"},
    {4324, "serviceUnknownError"}, {4325, "serviceOpenError"}, {4326, "serviceCreateError"},
    {4327, "serviceDatabaseOpenError"}, {4328, "serviceDatabaseLockError"},
    {4329, "serviceStartupTypeSetError"}, {4710, "objectNotFound"}, {4720, "invalidOperation"},
    {4730, "accessDenied"}, {4731, "accessDeniedRead"}, {4732, "accessDeniedWrite"},
    {4733, "accessDeniedDelete"}, {4810, "incorrectParameterCount"},
    {4811, "incorrectResultCount"}, {4812, "expressionNotCompiled"},
    {4813, "maximumLengthExceeded"}, {4814, "minimumLengthExceeded"},
    {4911, "seekableStreamRequired"}, {4912, "tcpSocketBindError"},
    {4913, "tcpSocketAcceptError"}, {4914, "bufferedStreamCurrentPositionSeekError"},
    {4951, "tifTagNotFound"}, {4952, "tifHeaderReadError"}, {4953, "tifIfdFieldCountReadError"},
    {4954, "tifIfdNextOffsetReadError"}, {4955, "tifIfdReadError"},
    {4956, "tifLittleEndianCompatability"}, {4957, "tifLittleEndianConversion"},
    {4958, "tifInvalidImage"}, {4959, "tifStripStreamUnseekable"},
    {4960, "tifDataPositionSeekError"}, {4961, "tifDataStreamReadError"},
    {4962, "tifGroup4UnsupportedCodeword"}, {4963, "tifTagStripOffsetAndByteCountMismatch"},
    {4971, "pdfDataPositionSeekError"}, {4972, "pdfPasswordMaxLengthExceeded"},
    {4973, "pdfFileIdInvalidLength"}, {4974, "pdfUnsupportedAppendOperation"},
};

}

const char* getErrorCodeName(std::int32_t nCode)
{
    for (const CodeName& entry : kCodeNames) {
        if (entry.nCode == nCode)
            return entry.pszName;
    }
    return "unknownErrorCode";
}

}
