#ifndef VELMO_CORE_EXCEPTION_LOCATION_H
#define VELMO_CORE_EXCEPTION_LOCATION_H

#include "core/Platform.h"

namespace velmo::core::exception {

// Where an exception is raised. Rendered as: signature, blank, build date, blank, the
// library's source name ("core\io.File", or "core/collections.PointerArray" for header
// templates), " : ", line.
struct Location {
    const char* pszFunction;
    const char* pszDate;
    const char* pszFile;
    int nLine;
};

}

#define VELMO_LOCATION \
    (::velmo::core::exception::Location{VELMO_FUNCTION_SIGNATURE, __DATE__, __FILE__, __LINE__})

#endif
