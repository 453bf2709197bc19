#include "tests/util/ScratchDirectory.h"
#include "util/AccessGrant.h"
#include "util/Locations.h"
#include "util/Platform.h"

#include <gtest/gtest.h>

#include <aclapi.h>

using namespace velmo::util;

namespace {

TEST(Platform, RedirectionPairOnThisSystem)
{
    // The x64 test build runs on a 64-bit system, where a 64-bit process has no redirection.
    EXPECT_TRUE(is64BitSystem());
    void* pToken = nullptr;
    EXPECT_EQ(disableFsRedirection(pToken), code::success);
    EXPECT_EQ(pToken, noRedirectionToken);
    EXPECT_EQ(revertFsRedirection(pToken), code::success);
    EXPECT_EQ(revertFsRedirection(noRedirectionToken), code::success);
}

TEST(GrantFullAccess, RefusesDriveCAndTheWindowsDirectory)
{
    const struct {
        const char* pszPath;
        ResultCode expected;
    } rows[] = {
        {"", code::grantPathTooShort},
        {"\\", code::grantPathTooShort},
        {"C", code::grantPathTooShort},
        {"c:\\", code::grantLowerCaseDriveC},
        {"c:", code::grantLowerCaseDriveC},
        {"C:\\", code::grantUpperCaseDriveC},
        {"C:", code::grantUpperCaseDriveC},
        {"C:\\Windows\\System32\\korva.dll", code::grantWindowsDirectory},
        {"c:\\WINDOWS", code::grantWindowsDirectory},
        {"C:\\Windows\\System32\\spoolsv\\x", code::grantWindowsDirectory},
        // Resolved before checking, so that ".." cannot climb out of a shared subtree.
        {"C:\\Windows\\Temp\\..\\System32\\korva.dll", code::grantWindowsDirectory},
        {"C:/Windows/System32/korva.dll", code::grantWindowsDirectory},
        {"C:\\Windows\\Temp\\..\\..", code::grantUpperCaseDriveC},
    };
    for (const auto& row : rows)
        EXPECT_EQ(grantFullAccess(row.pszPath), row.expected) << row.pszPath;
}

TEST(GrantFullAccess, PassesOtherDrivesAndSharedSubtrees)
{
    const ResultCode refusals[] = {code::grantPathTooShort, code::grantLowerCaseDriveC, code::grantUpperCaseDriveC,
                                   code::grantWindowsDirectory};
    const char* const passing[] = {"D:\\", "C:\\Windows\\Temp\\velmo-missing",
                                   "c:\\windows\\system32\\spool\\velmo-missing",
                                   "C:\\Windows\\System32\\drivers\\velmo-missing", "C:\\Windows\\System32\\dns\\x",
                                   "C:\\Windows\\System32\\spp\\x"};
    for (const char* pszPath : passing) {
        const ResultCode result = grantFullAccess(pszPath);
        for (ResultCode refusal : refusals)
            EXPECT_NE(result, refusal) << pszPath;
    }
    EXPECT_EQ(grantFullAccess("C:\\Windows\\Temp\\velmo-missing\\x"), code::systemError(ERROR_PATH_NOT_FOUND))
        << "a missing object fails with the system's error";
}

// Wine keeps no access lists on files: it maps a new list to the Unix mode bits and shows
// a list made from those bits when asked.
bool isWine()
{
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

// What the access list of a file says about Everyone and SYSTEM.
struct GrantView {
    bool bProtected = false;
    int nAceCount = 0;
    ACCESS_MASK nEveryone = 0;
    ACCESS_MASK nSystem = 0;
    bool bAllInheritable = true;
};

GrantView viewOf(const std::string& path)
{
    GrantView view;
    PACL pDacl = nullptr;
    PSECURITY_DESCRIPTOR pDescriptor = nullptr;
    EXPECT_EQ(GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                    &pDacl, nullptr, &pDescriptor),
              static_cast<DWORD>(ERROR_SUCCESS));
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD nRevision = 0;
    if (pDescriptor && GetSecurityDescriptorControl(pDescriptor, &control, &nRevision))
        view.bProtected = (control & SE_DACL_PROTECTED) != 0;
    for (DWORD nIndex = 0; pDacl && nIndex < pDacl->AceCount; ++nIndex) {
        ACCESS_ALLOWED_ACE* pAce = nullptr;
        if (!GetAce(pDacl, nIndex, reinterpret_cast<void**>(&pAce)) || pAce->Header.AceType != ACCESS_ALLOWED_ACE_TYPE)
            continue;
        ++view.nAceCount;
        const BYTE inheritance = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
        view.bAllInheritable = view.bAllInheritable && (pAce->Header.AceFlags & inheritance) == inheritance;
        if (IsWellKnownSid(&pAce->SidStart, WinWorldSid))
            view.nEveryone |= pAce->Mask;
        if (IsWellKnownSid(&pAce->SidStart, WinLocalSystemSid))
            view.nSystem |= pAce->Mask;
    }
    LocalFree(pDescriptor);
    return view;
}

bool grantsFullAccess(ACCESS_MASK nMask)
{
    return nMask == GENERIC_ALL || (nMask & FILE_ALL_ACCESS) == FILE_ALL_ACCESS;
}

TEST(GrantFullAccess, GivesEveryoneAndSystemFullAccess)
{
    const ACCESS_MASK readWrite = FILE_GENERIC_READ | FILE_GENERIC_WRITE;
    test::ScratchDirectory scratch(windowsDirectory() + "\\Temp");
    const std::string file = scratch / "granted.txt";
    test::writeText(file, "x");
    for (const std::string& path : {scratch.path(), file}) {
        SCOPED_TRACE(path);
        ASSERT_NE(viewOf(path).nEveryone & readWrite, readWrite) << "Everyone may write before the grant";
        ASSERT_EQ(grantFullAccess(path), code::success);

        const GrantView view = viewOf(path);
        EXPECT_EQ(view.nEveryone & readWrite, readWrite);
        EXPECT_TRUE(grantsFullAccess(view.nSystem)) << std::hex << view.nSystem;
        if (isWine())
            continue;
        EXPECT_TRUE(grantsFullAccess(view.nEveryone)) << std::hex << view.nEveryone;
        EXPECT_TRUE(view.bProtected);
        EXPECT_EQ(view.nAceCount, 2);
        EXPECT_TRUE(view.bAllInheritable);
    }
}

}
