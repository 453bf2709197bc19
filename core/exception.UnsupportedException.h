#ifndef VELMO_CORE_EXCEPTION_UNSUPPORTEDEXCEPTION_H
#define VELMO_CORE_EXCEPTION_UNSUPPORTEDEXCEPTION_H

#include "core/exception.BaseException.h"

namespace velmo::core::exception {

class UnsupportedException : public BaseException {
public:
    UnsupportedException(const Location& location, std::int32_t nCode, std::int32_t nInternalCode, const char* pszInternalInfo)
        : BaseException(location, nCode, nInternalCode, pszInternalInfo, "")
    {
    }

    const char* getTypeName() const override { return "velmo.core.exception.UnsupportedException"; }
};

}

#endif
