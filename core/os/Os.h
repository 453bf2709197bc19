#ifndef VELMO_CORE_OS_OS_H
#define VELMO_CORE_OS_OS_H

#include <cstddef>
#include <cstdint>

// Everything the class library asks of the operating system. One implementation for
// Win32 (os/win32) and one for POSIX (os/posix); nothing else in core/ or lib/ calls
// the system.
namespace velmo::core::os {

// Memory: the process heap, or zero-initialised global memory on request.
void* allocateBlock(std::size_t nSize, bool bUseGlobal);
// A zero-filled process-heap block (freed like allocateBlock's); the system hands out
// fresh pages already zero, so large blocks cost no filling.
void* allocateZeroedBlock(std::size_t nSize);
void freeBlock(void* pBlock, bool bUseGlobal);
std::size_t getBlockSize(const void* pBlock, bool bUseGlobal);

// A recursive mutual-exclusion lock (a critical section on Windows).
class NativeMutex {
public:
    NativeMutex();
    ~NativeMutex();
    NativeMutex(const NativeMutex&) = delete;
    NativeMutex& operator=(const NativeMutex&) = delete;
    void lock();
    void unlock();

private:
    alignas(16) unsigned char m_storage[64];
};

// Files. A handle is 0 when there is none and all ones when a call failed.
using NativeHandle = std::intptr_t;
constexpr NativeHandle kNoHandle = 0;
constexpr NativeHandle kInvalidHandle = -1;
constexpr std::uint32_t kInvalidFilePointer = 0xFFFFFFFFu;

bool fileExists(const char* pszPath);
bool directoryExists(const char* pszPath);
NativeHandle openExistingFile(const char* pszPath, bool bWritable);
NativeHandle createNewFile(const char* pszPath, bool bShareWrite);
bool closeHandle(NativeHandle hHandle);
bool readFile(NativeHandle hFile, void* pBuffer, std::uint32_t nCount, std::uint32_t* pnRead);
bool writeFile(NativeHandle hFile, const void* pBuffer, std::uint32_t nCount, std::uint32_t* pnWritten);
// nOrigin: 1 from the start, 2 from the current position, 3 from the end.
// Returns the new position, or kInvalidFilePointer on failure.
std::uint32_t setFilePointer(NativeHandle hFile, std::int32_t nOffset, int nOrigin);
// Cuts or extends an open file to nLength bytes and puts its position there.
bool setFileLength(NativeHandle hFile, std::uint32_t nLength);
// True when both paths lead to one existing file, however differently they spell it: the
// same device and inode (POSIX), the same volume serial number and file index (Windows).
bool isSameFile(const char* pszFirst, const char* pszSecond);
bool deleteFile(const char* pszPath);
bool createDirectory(const char* pszPath);
std::uint32_t getLastError();

// Process facts. Each returns the length of the text written (0 on failure); the text
// is zero-terminated and uses the system's separators.
std::uint32_t getCurrentDirectory(char* pszBuffer, std::uint32_t nSize);
std::uint32_t getModuleFileName(char* pszBuffer, std::uint32_t nSize);
std::uint32_t getWindowsDirectory(char* pszBuffer, std::uint32_t nSize);

// Network parameters in two steps, as the platform gives them: a query that reports the
// buffer size it needs (111, buffer overflow) or fills the buffer (0), and a reader of
// the filled buffer.
constexpr std::uint32_t kErrorBufferOverflow = 111;
std::uint32_t getNetworkParams(void* pBuffer, std::uint32_t* pnSize);
struct NetworkParams {
    const char* pszHostName;
    const char* pszDomainName;
    const char* pszFirstDnsServer;
};
NetworkParams readNetworkParams(const void* pBuffer);

}

#endif
