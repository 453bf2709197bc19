#ifndef VELMO_TESTS_CORE_THROWNCODE_H
#define VELMO_TESTS_CORE_THROWNCODE_H

#include "core/exception.BaseException.h"

#include <cstdint>

namespace velmo::tests {

// The code of the library exception a call throws; 0 when it throws none.
template <typename Call>
std::int32_t codeOf(Call call)
{
    try {
        call();
    } catch (const core::exception::BaseException& error) {
        return error.getCode();
    }
    return 0;
}

}

#endif
