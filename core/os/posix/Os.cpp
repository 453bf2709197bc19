#include "core/os/Os.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <malloc.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmo::core::os {

void* allocateBlock(std::size_t nSize, bool bUseGlobal)
{
    return bUseGlobal ? std::calloc(1, nSize ? nSize : 1) : std::malloc(nSize ? nSize : 1);
}

void* allocateZeroedBlock(std::size_t nSize)
{
    return std::calloc(1, nSize ? nSize : 1);
}

void freeBlock(void* pBlock, bool)
{
    std::free(pBlock);
}

std::size_t getBlockSize(const void* pBlock, bool)
{
    return malloc_usable_size(const_cast<void*>(pBlock));
}

static_assert(sizeof(pthread_mutex_t) <= 64, "mutex storage too small");

static pthread_mutex_t* mutex(unsigned char* pStorage)
{
    return reinterpret_cast<pthread_mutex_t*>(pStorage);
}

NativeMutex::NativeMutex()
{
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(mutex(m_storage), &attributes);
    pthread_mutexattr_destroy(&attributes);
}

NativeMutex::~NativeMutex() { pthread_mutex_destroy(mutex(m_storage)); }
void NativeMutex::lock() { pthread_mutex_lock(mutex(m_storage)); }
void NativeMutex::unlock() { pthread_mutex_unlock(mutex(m_storage)); }

// Handles are descriptors plus one, so that 0 keeps meaning "no handle" even when
// descriptor 0 is handed out (a process started without standard input).
static NativeHandle fromDescriptor(int nDescriptor)
{
    return nDescriptor < 0 ? kInvalidHandle : static_cast<NativeHandle>(nDescriptor) + 1;
}

static int toDescriptor(NativeHandle hHandle)
{
    return static_cast<int>(hHandle - 1);
}

bool fileExists(const char* pszPath)
{
    struct stat info;
    return stat(pszPath, &info) == 0;
}

bool directoryExists(const char* pszPath)
{
    struct stat info;
    return stat(pszPath, &info) == 0 && S_ISDIR(info.st_mode);
}

NativeHandle openExistingFile(const char* pszPath, bool bWritable)
{
    int nDescriptor = open(pszPath, (bWritable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    struct stat info;
    if (nDescriptor >= 0 && fstat(nDescriptor, &info) == 0 && S_ISDIR(info.st_mode)) {
        // A directory is not a file, as on Windows.
        close(nDescriptor);
        errno = EISDIR;
        return kInvalidHandle;
    }
    return fromDescriptor(nDescriptor);
}

NativeHandle createNewFile(const char* pszPath, bool)
{
    return fromDescriptor(open(pszPath, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
}

bool closeHandle(NativeHandle hHandle)
{
    return close(toDescriptor(hHandle)) == 0;
}

bool readFile(NativeHandle hFile, void* pBuffer, std::uint32_t nCount, std::uint32_t* pnRead)
{
    ssize_t nRead;
    do {
        nRead = read(toDescriptor(hFile), pBuffer, nCount);
    } while (nRead < 0 && errno == EINTR);
    *pnRead = nRead < 0 ? 0 : static_cast<std::uint32_t>(nRead);
    return nRead >= 0;
}

bool writeFile(NativeHandle hFile, const void* pBuffer, std::uint32_t nCount, std::uint32_t* pnWritten)
{
    const char* pNext = static_cast<const char*>(pBuffer);
    std::uint32_t nLeft = nCount;
    while (nLeft > 0) {
        ssize_t nWritten = write(toDescriptor(hFile), pNext, nLeft);
        if (nWritten < 0 && errno == EINTR)
            continue;
        if (nWritten <= 0)
            break;
        pNext += nWritten;
        nLeft -= static_cast<std::uint32_t>(nWritten);
    }
    *pnWritten = nCount - nLeft;
    return nLeft == 0;
}

std::uint32_t setFilePointer(NativeHandle hFile, std::int32_t nOffset, int nOrigin)
{
    int nWhence = nOrigin == 1 ? SEEK_SET : nOrigin == 2 ? SEEK_CUR : SEEK_END;
    off_t nPosition = lseek(toDescriptor(hFile), nOffset, nWhence);
    if (nPosition < 0 || nPosition >= static_cast<off_t>(kInvalidFilePointer))
        return kInvalidFilePointer;
    return static_cast<std::uint32_t>(nPosition);
}

bool setFileLength(NativeHandle hFile, std::uint32_t nLength)
{
    int nDescriptor = toDescriptor(hFile);
    return ftruncate(nDescriptor, static_cast<off_t>(nLength)) == 0
        && lseek(nDescriptor, static_cast<off_t>(nLength), SEEK_SET) >= 0;
}

bool isSameFile(const char* pszFirst, const char* pszSecond)
{
    struct stat first;
    struct stat second;
    return stat(pszFirst, &first) == 0 && stat(pszSecond, &second) == 0 && first.st_dev == second.st_dev
        && first.st_ino == second.st_ino;
}

bool deleteFile(const char* pszPath)
{
    return unlink(pszPath) == 0;
}

bool createDirectory(const char* pszPath)
{
    return mkdir(pszPath, 0777) == 0;
}

std::uint32_t getLastError()
{
    return static_cast<std::uint32_t>(errno);
}

static std::uint32_t copyText(const char* pszText, char* pszBuffer, std::uint32_t nSize)
{
    std::size_t nLength = std::strlen(pszText);
    if (nLength >= nSize)
        return 0;
    std::memcpy(pszBuffer, pszText, nLength + 1);
    return static_cast<std::uint32_t>(nLength);
}

std::uint32_t getCurrentDirectory(char* pszBuffer, std::uint32_t nSize)
{
    return getcwd(pszBuffer, nSize) ? static_cast<std::uint32_t>(std::strlen(pszBuffer)) : 0;
}

std::uint32_t getModuleFileName(char* pszBuffer, std::uint32_t nSize)
{
    if (nSize == 0)
        return 0;
    ssize_t nLength = readlink("/proc/self/exe", pszBuffer, nSize - 1);
    if (nLength <= 0)
        return 0;
    pszBuffer[nLength] = 0;
    return static_cast<std::uint32_t>(nLength);
}

std::uint32_t getWindowsDirectory(char* pszBuffer, std::uint32_t nSize)
{
    // There is no Windows directory here; the root stands in for it.
    return copyText("/", pszBuffer, nSize);
}

namespace {

// The same field sizes as the platform's FIXED_INFO texts.
struct PosixNetworkParams {
    char szHostName[132];
    char szDomainName[132];
    char szDnsServer[16];
};

void copyBounded(char* pszTarget, std::size_t nSize, const char* pszSource, std::size_t nLength)
{
    if (nLength >= nSize)
        nLength = nSize - 1;
    std::memcpy(pszTarget, pszSource, nLength);
    pszTarget[nLength] = 0;
}

// The first "nameserver" and the "domain" (or first "search") entry of resolv.conf.
void readResolverConfiguration(PosixNetworkParams& params)
{
    FILE* pFile = std::fopen("/etc/resolv.conf", "r");
    if (!pFile)
        return;
    char szLine[512];
    char szKey[64];
    char szValue[256];
    while (std::fgets(szLine, sizeof szLine, pFile)) {
        if (std::sscanf(szLine, "%63s %255s", szKey, szValue) != 2)
            continue;
        if (std::strcmp(szKey, "nameserver") == 0 && params.szDnsServer[0] == 0)
            copyBounded(params.szDnsServer, sizeof params.szDnsServer, szValue, std::strlen(szValue));
        else if ((std::strcmp(szKey, "domain") == 0 || std::strcmp(szKey, "search") == 0)
                 && params.szDomainName[0] == 0)
            copyBounded(params.szDomainName, sizeof params.szDomainName, szValue, std::strlen(szValue));
    }
    std::fclose(pFile);
}

}

std::uint32_t getNetworkParams(void* pBuffer, std::uint32_t* pnSize)
{
    if (!pBuffer || *pnSize < sizeof(PosixNetworkParams)) {
        *pnSize = sizeof(PosixNetworkParams);
        return kErrorBufferOverflow;
    }
    PosixNetworkParams& params = *static_cast<PosixNetworkParams*>(pBuffer);
    std::memset(&params, 0, sizeof params);
    char szHost[256] = {};
    gethostname(szHost, sizeof szHost - 1);
    const char* pszDot = std::strchr(szHost, '.');
    std::size_t nHostLength = pszDot ? static_cast<std::size_t>(pszDot - szHost) : std::strlen(szHost);
    copyBounded(params.szHostName, sizeof params.szHostName, szHost, nHostLength);
    if (pszDot)
        copyBounded(params.szDomainName, sizeof params.szDomainName, pszDot + 1, std::strlen(pszDot + 1));
    readResolverConfiguration(params);
    return 0;
}

NetworkParams readNetworkParams(const void* pBuffer)
{
    const PosixNetworkParams& params = *static_cast<const PosixNetworkParams*>(pBuffer);
    return NetworkParams{params.szHostName, params.szDomainName, params.szDnsServer};
}

}
