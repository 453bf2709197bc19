#ifndef VELMO_CORE_IO_IOEXCEPTION_H
#define VELMO_CORE_IO_IOEXCEPTION_H

#include "core/exception.BaseException.h"

namespace velmo::core::io {

class IOException : public exception::BaseException {
public:
    IOException(const exception::Location& location, std::int32_t nCode, const char* pszInternalInfo)
        : BaseException(location, nCode, 0, pszInternalInfo, "")
    {
    }
    IOException(const exception::Location& location, std::int32_t nCode, std::int32_t nInternalCode,
                const char* pszInternalInfo)
        : BaseException(location, nCode, nInternalCode, pszInternalInfo, "")
    {
    }

    const char* getTypeName() const override { return "velmo.core.io.IOException"; }
};

}

#endif
