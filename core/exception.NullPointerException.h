#ifndef VELMO_CORE_EXCEPTION_NULLPOINTEREXCEPTION_H
#define VELMO_CORE_EXCEPTION_NULLPOINTEREXCEPTION_H

#include "core/exception.BaseException.h"

namespace velmo::core::exception {

class NullPointerException : public BaseException {
public:
    NullPointerException(const Location& location, std::int32_t nCode, std::int32_t nInternalCode, const char* pszInternalInfo)
        : BaseException(location, nCode, nInternalCode, pszInternalInfo, "")
    {
    }

    const char* getTypeName() const override { return "velmo.core.exception.NullPointerException"; }
};

}

#endif
