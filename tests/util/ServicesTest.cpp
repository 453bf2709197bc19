#include "util/Services.h"

#include <windows.h>

#include <gtest/gtest.h>

using namespace velmo::util;

namespace {

constexpr char spooler[] = "Spooler";

DWORD stateOf(const char* pszName)
{
    SC_HANDLE hManager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE hService = hManager ? OpenServiceA(hManager, pszName, SERVICE_QUERY_STATUS) : nullptr;
    SERVICE_STATUS status{};
    if (hService)
        QueryServiceStatus(hService, &status);
    if (hService)
        CloseServiceHandle(hService);
    if (hManager)
        CloseServiceHandle(hManager);
    return status.dwCurrentState;
}

TEST(ServiceWaitPolicy, StartsAtOneHundredPollsOfThreeSeconds)
{
    const ServiceWaitPolicy policy = getServiceWaitPolicy();
    EXPECT_EQ(policy.nPauseMilliseconds, 3000u);
    EXPECT_EQ(policy.nPollCount, 100u);
}

TEST(Services, StopWaitAndStartTheSpooler)
{
    setServiceWaitPolicy(200, 50);
    EXPECT_EQ(stopService(spooler, true), code::success);
    EXPECT_EQ(stateOf(spooler), static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_EQ(stopService(spooler, true), code::success); // already stopped

    EXPECT_EQ(startService(spooler, true), code::success);
    EXPECT_EQ(stateOf(spooler), static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(startService(spooler, false), code::success); // already running

    EXPECT_EQ(stopService(spooler, false), code::success);
    EXPECT_EQ(startService(spooler, true), code::success);
    EXPECT_EQ(stateOf(spooler), static_cast<DWORD>(SERVICE_RUNNING));
}

// A demand-start service whose program does not exist: it never runs.
class BrokenService {
public:
    BrokenService()
    {
        m_hManager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
        m_hService = CreateServiceA(m_hManager, name, name, SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                                    SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE, "C:\\velmo-missing\\service.exe",
                                    nullptr, nullptr, nullptr, nullptr, nullptr);
        EXPECT_NE(m_hService, nullptr) << GetLastError();
    }
    ~BrokenService()
    {
        if (m_hService) {
            DeleteService(m_hService);
            CloseServiceHandle(m_hService);
        }
        CloseServiceHandle(m_hManager);
    }

    static constexpr char name[] = "velmoBrokenService";

private:
    SC_HANDLE m_hManager;
    SC_HANDLE m_hService;
};

TEST(Services, FailedStartStillWaitsForThePolicy)
{
    BrokenService broken;
    setServiceWaitPolicy(100, 3);
    EXPECT_EQ(startService(BrokenService::name, false), code::serviceStartFailed);
    const DWORD nStart = GetTickCount();
    EXPECT_EQ(startService(BrokenService::name, true), code::serviceNotRunning);
    const DWORD nElapsed = GetTickCount() - nStart;
    EXPECT_GE(nElapsed, 250u);
    EXPECT_LT(nElapsed, 20000u); // far below the initial policy's 300 s
    EXPECT_EQ(stopService(BrokenService::name, true), code::success); // never ran
}

TEST(Services, UnknownServiceCannotBeOpened)
{
    EXPECT_EQ(startService("velmoNoSuchService", true), code::serviceStartOpenFailed);
    EXPECT_EQ(stopService("velmoNoSuchService", true), code::serviceStopOpenFailed);
    EXPECT_EQ(startService("", false), code::serviceStartOpenFailed);
}

}
