#ifndef VELMO_CORE_EXCEPTION_INDEXOUTOFBOUNDSEXCEPTION_H
#define VELMO_CORE_EXCEPTION_INDEXOUTOFBOUNDSEXCEPTION_H

#include "core/exception.BaseException.h"

namespace velmo::core::exception {

class IndexOutOfBoundsException : public BaseException {
public:
    IndexOutOfBoundsException(const Location& location, std::int32_t nCode, std::int32_t nIndex)
        : BaseException(location, nCode, 0, "", "")
    {
        addReference("index", nIndex);
    }

    const char* getTypeName() const override { return "velmo.core.exception.IndexOutOfBoundsException"; }
};

}

#endif
