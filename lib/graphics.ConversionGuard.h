#ifndef VELMO_LIB_GRAPHICS_CONVERSIONGUARD_H
#define VELMO_LIB_GRAPHICS_CONVERSIONGUARD_H

#include "core/String.h"
#include "core/exception.BaseException.h"

#include <cstdint>

namespace velmo::lib::graphics {

// Runs a conversion and turns what it throws into its result code: nLibraryError for the
// library's exceptions (whose report goes to pErrorReport when given), nOtherError for any
// other. 0 when it returns.
template <typename Conversion>
std::int32_t guardConversion(std::int32_t nLibraryError, std::int32_t nOtherError, core::String* pErrorReport,
                             Conversion conversion)
{
    try {
        conversion();
        return 0;
    } catch (core::exception::BaseException& error) {
        if (pErrorReport)
            *pErrorReport = error.getReport();
        return nLibraryError;
    } catch (...) {
        return nOtherError;
    }
}

}

#endif
