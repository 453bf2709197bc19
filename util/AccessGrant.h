#ifndef VELMO_UTIL_ACCESSGRANT_H
#define VELMO_UTIL_ACCESSGRANT_H

#include "util/ResultCode.h"

#include <string>

namespace velmo::util {

// Replaces the access list of a file or directory by full access for Everyone and SYSTEM,
// inherited by everything below and no longer inherited from above. Refuses drive C's
// root and the Windows directory, apart from a few subtrees that other programs are meant
// to share (temp, spool, drivers, dns, spp).
ResultCode grantFullAccess(const std::string& path);

}

#endif
