#include "util/AccessGrant.h"

#include "util/Text.h"

#include <windows.h>

#include <aclapi.h>

namespace velmo::util {

namespace {

const char* const sharedWindowsSubtrees[] = {
    "c:\\windows\\temp\\",
    "c:\\windows\\system32\\dns\\",
    "c:\\windows\\system32\\drivers\\",
    "c:\\windows\\system32\\spool\\",
    "c:\\windows\\system32\\spp\\",
};

// 0 when the path may be granted, else the refusal.
ResultCode refusalOf(const std::string& path)
{
    std::string directoryForm = path;
    text::removeSuffix(directoryForm, "\\");
    directoryForm += '\\';
    if (directoryForm.size() < 3)
        return code::grantPathTooShort;
    if (directoryForm == "c:\\")
        return code::grantLowerCaseDriveC;
    if (directoryForm == "C:\\")
        return code::grantUpperCaseDriveC;
    if (!text::startsWith(directoryForm, "c:\\windows\\", true))
        return code::success;
    for (const char* pszSubtree : sharedWindowsSubtrees) {
        if (text::startsWith(directoryForm, pszSubtree, true))
            return code::success;
    }
    return code::grantWindowsDirectory;
}

// The path with ".", ".." and forward slashes resolved, so that "C:\Windows\Temp\..\x"
// cannot pass the checks above as a shared subtree.
bool fullPathOf(const std::string& path, std::string& fullPath)
{
    char szFullPath[MAX_PATH];
    const DWORD nLength = GetFullPathNameA(path.c_str(), MAX_PATH, szFullPath, nullptr);
    if (nLength == 0 || nLength >= MAX_PATH)
        return false;
    fullPath.assign(szFullPath, nLength);
    return true;
}

// Full access for a well-known principal, inherited by sub-containers and objects.
EXPLICIT_ACCESS_A fullAccessFor(SID* pSid, TRUSTEE_TYPE type)
{
    EXPLICIT_ACCESS_A access{};
    access.grfAccessPermissions = GENERIC_ALL;
    access.grfAccessMode = GRANT_ACCESS;
    access.grfInheritance = SUB_CONTAINERS_AND_OBJECTS_INHERIT;
    access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    access.Trustee.TrusteeType = type;
    access.Trustee.ptstrName = reinterpret_cast<char*>(pSid);
    return access;
}

bool createSid(WELL_KNOWN_SID_TYPE type, BYTE (&sidBuffer)[SECURITY_MAX_SID_SIZE])
{
    DWORD nSize = sizeof(sidBuffer);
    return CreateWellKnownSid(type, nullptr, sidBuffer, &nSize) != FALSE;
}

}

ResultCode grantFullAccess(const std::string& path)
{
    const ResultCode givenRefusal = refusalOf(path);
    if (givenRefusal != code::success)
        return givenRefusal;
    std::string fullPath;
    if (!fullPathOf(path, fullPath))
        return code::systemError(ERROR_BAD_PATHNAME);
    const ResultCode resolvedRefusal = refusalOf(fullPath);
    if (resolvedRefusal != code::success)
        return resolvedRefusal;

    // Well-known SIDs name Everyone and SYSTEM whatever the language of the account names.
    BYTE everyoneSid[SECURITY_MAX_SID_SIZE];
    BYTE systemSid[SECURITY_MAX_SID_SIZE];
    if (!createSid(WinWorldSid, everyoneSid) || !createSid(WinLocalSystemSid, systemSid))
        return code::systemError(GetLastError());
    EXPLICIT_ACCESS_A entries[] = {
        fullAccessFor(reinterpret_cast<SID*>(everyoneSid), TRUSTEE_IS_WELL_KNOWN_GROUP),
        fullAccessFor(reinterpret_cast<SID*>(systemSid), TRUSTEE_IS_USER),
    };

    ACL* pAcl = nullptr;
    const DWORD nBuildError = SetEntriesInAclA(2, entries, nullptr, &pAcl);
    if (nBuildError != ERROR_SUCCESS)
        return code::systemError(nBuildError);
    const DWORD nApplyError =
        SetNamedSecurityInfoA(fullPath.data(), SE_FILE_OBJECT,
                              DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION
                                  | PROTECTED_SACL_SECURITY_INFORMATION,
                              nullptr, nullptr, pAcl, nullptr);
    LocalFree(pAcl);
    return nApplyError == ERROR_SUCCESS ? code::success : code::systemError(nApplyError);
}

}
