#include "util/Services.h"

#include "util/Handles.h"

#include <windows.h>

#include <atomic>

namespace velmo::util {

namespace {

using ServiceHandle = ScopedHandle<SC_HANDLE, CloseServiceHandle>;

std::atomic<std::uint32_t> pauseMilliseconds{3000};
std::atomic<std::uint32_t> pollCount{100};

struct StateChange {
    DWORD nTargetState;
    bool (*pfnRequest)(SC_HANDLE hService);
    ResultCode openFailed;
    ResultCode requestFailed;
    ResultCode notReached;
};

bool requestStart(SC_HANDLE hService)
{
    return StartServiceA(hService, 0, nullptr) != FALSE;
}

bool requestStop(SC_HANDLE hService)
{
    SERVICE_STATUS status;
    return ControlService(hService, SERVICE_CONTROL_STOP, &status) != FALSE;
}

const StateChange startChange = {SERVICE_RUNNING, requestStart, code::serviceStartOpenFailed,
                                 code::serviceStartFailed, code::serviceNotRunning};
const StateChange stopChange = {SERVICE_STOPPED, requestStop, code::serviceStopOpenFailed, code::serviceStopFailed,
                                code::serviceNotStopped};

bool isInState(SC_HANDLE hService, DWORD nState)
{
    SERVICE_STATUS status;
    return QueryServiceStatus(hService, &status) && status.dwCurrentState == nState;
}

ResultCode changeState(const std::string& name, bool bWait, const StateChange& change)
{
    const ServiceHandle manager(OpenSCManagerA(nullptr, SERVICES_ACTIVE_DATABASEA, READ_CONTROL));
    if (!manager.isValid())
        return change.openFailed;
    const ServiceHandle service(OpenServiceA(manager.get(), name.c_str(), GENERIC_READ | GENERIC_EXECUTE));
    if (!service.isValid())
        return change.openFailed;
    if (isInState(service.get(), change.nTargetState))
        return code::success;

    const ResultCode requestResult = change.pfnRequest(service.get()) ? code::success : change.requestFailed;
    if (!bWait)
        return requestResult;
    const ServiceWaitPolicy policy = getServiceWaitPolicy();
    for (std::uint32_t nPoll = 0; nPoll < policy.nPollCount; ++nPoll) {
        Sleep(policy.nPauseMilliseconds);
        if (isInState(service.get(), change.nTargetState))
            return code::success;
    }
    return change.notReached;
}

}

void setServiceWaitPolicy(std::uint32_t nPauseMilliseconds, std::uint32_t nPollCount)
{
    pauseMilliseconds = nPauseMilliseconds;
    pollCount = nPollCount;
}

ServiceWaitPolicy getServiceWaitPolicy()
{
    return {pauseMilliseconds, pollCount};
}

ResultCode startService(const std::string& name, bool bWait)
{
    return changeState(name, bWait, startChange);
}

ResultCode stopService(const std::string& name, bool bWait)
{
    return changeState(name, bWait, stopChange);
}

}
