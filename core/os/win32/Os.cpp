#include "core/os/Os.h"

#include <windows.h>
#include <iphlpapi.h>

namespace velmo::core::os {

void* allocateBlock(std::size_t nSize, bool bUseGlobal)
{
    if (bUseGlobal)
        return GlobalAlloc(GMEM_ZEROINIT, nSize);
    return HeapAlloc(GetProcessHeap(), 0, nSize);
}

void* allocateZeroedBlock(std::size_t nSize)
{
    return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, nSize);
}

void freeBlock(void* pBlock, bool bUseGlobal)
{
    if (bUseGlobal)
        GlobalFree(pBlock);
    else
        HeapFree(GetProcessHeap(), 0, pBlock);
}

std::size_t getBlockSize(const void* pBlock, bool bUseGlobal)
{
    if (bUseGlobal)
        return GlobalSize(const_cast<void*>(pBlock));
    return HeapSize(GetProcessHeap(), 0, pBlock);
}

static_assert(sizeof(CRITICAL_SECTION) <= 64, "critical section storage too small");

static CRITICAL_SECTION* section(unsigned char* pStorage)
{
    return reinterpret_cast<CRITICAL_SECTION*>(pStorage);
}

NativeMutex::NativeMutex() { InitializeCriticalSection(section(m_storage)); }
NativeMutex::~NativeMutex() { DeleteCriticalSection(section(m_storage)); }
void NativeMutex::lock() { EnterCriticalSection(section(m_storage)); }
void NativeMutex::unlock() { LeaveCriticalSection(section(m_storage)); }

static HANDLE toWin32(NativeHandle hHandle)
{
    return reinterpret_cast<HANDLE>(hHandle);
}

static NativeHandle fromWin32(HANDLE hHandle)
{
    return reinterpret_cast<NativeHandle>(hHandle);
}

bool fileExists(const char* pszPath)
{
    return GetFileAttributesA(pszPath) != INVALID_FILE_ATTRIBUTES;
}

bool directoryExists(const char* pszPath)
{
    DWORD nAttributes = GetFileAttributesA(pszPath);
    return nAttributes != INVALID_FILE_ATTRIBUTES && (nAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

NativeHandle openExistingFile(const char* pszPath, bool bWritable)
{
    DWORD nAccess = GENERIC_READ | (bWritable ? GENERIC_WRITE : 0);
    DWORD nShare = FILE_SHARE_READ | (bWritable ? FILE_SHARE_WRITE : 0);
    return fromWin32(CreateFileA(pszPath, nAccess, nShare, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

NativeHandle createNewFile(const char* pszPath, bool bShareWrite)
{
    DWORD nShare = FILE_SHARE_READ | (bShareWrite ? FILE_SHARE_WRITE : 0);
    return fromWin32(CreateFileA(pszPath, GENERIC_READ | GENERIC_WRITE, nShare, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool closeHandle(NativeHandle hHandle)
{
    return CloseHandle(toWin32(hHandle)) != 0;
}

bool readFile(NativeHandle hFile, void* pBuffer, std::uint32_t nCount, std::uint32_t* pnRead)
{
    DWORD nRead = 0;
    BOOL bOk = ReadFile(toWin32(hFile), pBuffer, nCount, &nRead, nullptr);
    *pnRead = nRead;
    return bOk != 0;
}

bool writeFile(NativeHandle hFile, const void* pBuffer, std::uint32_t nCount, std::uint32_t* pnWritten)
{
    DWORD nWritten = 0;
    BOOL bOk = WriteFile(toWin32(hFile), pBuffer, nCount, &nWritten, nullptr);
    *pnWritten = nWritten;
    return bOk != 0;
}

std::uint32_t setFilePointer(NativeHandle hFile, std::int32_t nOffset, int nOrigin)
{
    DWORD nMethod = nOrigin == 1 ? FILE_BEGIN : nOrigin == 2 ? FILE_CURRENT : FILE_END;
    return SetFilePointer(toWin32(hFile), nOffset, nullptr, nMethod);
}

bool setFileLength(NativeHandle hFile, std::uint32_t nLength)
{
    // With the high part given, the low part counts as unsigned: lengths up to 4 GB.
    LONG nHigh = 0;
    SetLastError(NO_ERROR);
    if (SetFilePointer(toWin32(hFile), static_cast<LONG>(nLength), &nHigh, FILE_BEGIN) == INVALID_SET_FILE_POINTER
        && GetLastError() != NO_ERROR)
        return false;
    return SetEndOfFile(toWin32(hFile)) != 0;
}

// The volume serial number and file index of a file, opened for neither reading nor
// writing, so that a file others hold open can still be told apart.
static bool getFileIdentity(const char* pszPath, BY_HANDLE_FILE_INFORMATION& information)
{
    HANDLE hFile = CreateFileA(pszPath, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    BOOL bKnown = GetFileInformationByHandle(hFile, &information);
    CloseHandle(hFile);
    return bKnown != 0;
}

bool isSameFile(const char* pszFirst, const char* pszSecond)
{
    BY_HANDLE_FILE_INFORMATION first;
    BY_HANDLE_FILE_INFORMATION second;
    return getFileIdentity(pszFirst, first) && getFileIdentity(pszSecond, second)
        && first.dwVolumeSerialNumber == second.dwVolumeSerialNumber && first.nFileIndexHigh == second.nFileIndexHigh
        && first.nFileIndexLow == second.nFileIndexLow;
}

bool deleteFile(const char* pszPath)
{
    return DeleteFileA(pszPath) != 0;
}

bool createDirectory(const char* pszPath)
{
    return CreateDirectoryA(pszPath, nullptr) != 0;
}

std::uint32_t getLastError()
{
    return GetLastError();
}

std::uint32_t getCurrentDirectory(char* pszBuffer, std::uint32_t nSize)
{
    DWORD nLength = GetCurrentDirectoryA(nSize, pszBuffer);
    return nLength < nSize ? nLength : 0;
}

std::uint32_t getModuleFileName(char* pszBuffer, std::uint32_t nSize)
{
    DWORD nLength = GetModuleFileNameA(nullptr, pszBuffer, nSize);
    return nLength < nSize ? nLength : 0;
}

std::uint32_t getWindowsDirectory(char* pszBuffer, std::uint32_t nSize)
{
    UINT nLength = GetSystemWindowsDirectoryA(pszBuffer, nSize);
    return nLength < nSize ? nLength : 0;
}

std::uint32_t getNetworkParams(void* pBuffer, std::uint32_t* pnSize)
{
    ULONG nSize = *pnSize;
    DWORD nResult = GetNetworkParams(static_cast<FIXED_INFO*>(pBuffer), &nSize);
    *pnSize = nSize;
    return nResult;
}

NetworkParams readNetworkParams(const void* pBuffer)
{
    const FIXED_INFO* pInfo = static_cast<const FIXED_INFO*>(pBuffer);
    return NetworkParams{pInfo->HostName, pInfo->DomainName, pInfo->DnsServerList.IpAddress.String};
}

}
