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

TEST(Services, UnknownServiceCannotBeOpened)
{
    EXPECT_EQ(startService("velmoNoSuchService", true), code::serviceStartOpenFailed);
    EXPECT_EQ(stopService("velmoNoSuchService", true), code::serviceStopOpenFailed);
    EXPECT_EQ(startService("", false), code::serviceStartOpenFailed);
}

}
