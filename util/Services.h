#ifndef VELMO_UTIL_SERVICES_H
#define VELMO_UTIL_SERVICES_H

#include "util/ResultCode.h"

#include <cstdint>
#include <string>

namespace velmo::util {

// How long startService and stopService wait, process-wide: up to nPollCount pauses of
// nPauseMilliseconds, the state checked after each. Initially 100 pauses of 3000 ms.
struct ServiceWaitPolicy {
    std::uint32_t nPauseMilliseconds;
    std::uint32_t nPollCount;
};
void setServiceWaitPolicy(std::uint32_t nPauseMilliseconds, std::uint32_t nPollCount);
ServiceWaitPolicy getServiceWaitPolicy();

// Asks the service to start (stop) unless it already runs (is stopped); with bWait, waits
// under the policy until it does. A request that fails still waits: another party may be
// bringing the service to the same state.
ResultCode startService(const std::string& name, bool bWait);
ResultCode stopService(const std::string& name, bool bWait);

}

#endif
