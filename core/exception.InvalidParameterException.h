#ifndef VELMO_CORE_EXCEPTION_INVALIDPARAMETEREXCEPTION_H
#define VELMO_CORE_EXCEPTION_INVALIDPARAMETEREXCEPTION_H

#include "core/exception.BaseException.h"

namespace velmo::core::exception {

class InvalidParameterException : public BaseException {
public:
    InvalidParameterException(const Location& location, std::int32_t nCode, const char* pszParameterName, std::int32_t nValue)
        : BaseException(location, nCode, 0, "", "")
    {
        addReference(pszParameterName, nValue);
    }

    const char* getTypeName() const override { return "velmo.core.exception.InvalidParameterException"; }
};

}

#endif
