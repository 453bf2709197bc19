#ifndef VELMO_UTIL_PLATFORM_H
#define VELMO_UTIL_PLATFORM_H

#include "util/ResultCode.h"

#include <windows.h>

namespace velmo::util {

// True when the native processor is x64, whatever the bitness of this process.
bool is64BitSystem();

// The token of "redirection was not switched off".
inline void* const noRedirectionToken = INVALID_HANDLE_VALUE;

// Switches the file-system redirection of a 32-bit process on a 64-bit system off for the
// calling thread; elsewhere (64-bit processes included) it does nothing and leaves pToken at noRedirectionToken. Hand
// the token to revertFsRedirection on the same thread.
ResultCode disableFsRedirection(void*& pToken);
ResultCode revertFsRedirection(void* pToken);

}

#endif
