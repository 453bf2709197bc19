#include "util/Files.h"

#include "util/Handles.h"
#include "util/Locations.h"
#include "util/Paths.h"
#include "util/Text.h"

#include <windows.h>

#include <vector>

namespace velmo::util {

namespace {

// One second in the 100-ns units of FILETIME.
constexpr std::uint64_t oneSecond = 10000000;

constexpr DWORD shareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;

bool isBlank(const std::string& path)
{
    return text::trim(path).empty();
}

// 0 when the directory was made or already is one, else the system error.
DWORD createDirectory(const std::string& path)
{
    if (CreateDirectoryA(path.c_str(), nullptr))
        return ERROR_SUCCESS;
    const DWORD nError = GetLastError();
    // A file of that name "exists" too, but is no directory.
    if (nError == ERROR_ALREADY_EXISTS && directoryExists(path))
        return ERROR_SUCCESS;
    return nError != ERROR_SUCCESS ? nError : ERROR_CAN_NOT_COMPLETE;
}

std::vector<std::string> components(const std::string& path)
{
    std::vector<std::string> result;
    std::size_t nStart = 0;
    while (nStart <= path.size()) {
        std::size_t nEnd = path.find('\\', nStart);
        if (nEnd == std::string::npos)
            nEnd = path.size();
        if (nEnd > nStart)
            result.push_back(path.substr(nStart, nEnd - nStart));
        nStart = nEnd + 1;
    }
    return result;
}

HANDLE openForReading(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_READ, shareReadWrite, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

struct FileStamp {
    FILETIME created;
    FILETIME accessed;
    FILETIME written;
    std::uint64_t nSize;
};

bool readStamp(HANDLE hFile, FileStamp& stamp)
{
    LARGE_INTEGER size;
    if (!GetFileTime(hFile, &stamp.created, &stamp.accessed, &stamp.written) || !GetFileSizeEx(hFile, &size))
        return false;
    stamp.nSize = static_cast<std::uint64_t>(size.QuadPart);
    return true;
}

std::uint64_t ticks(const FILETIME& time)
{
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

bool sameContentLikely(const FileStamp& source, const FileStamp& target)
{
    const std::uint64_t nSource = ticks(source.written);
    const std::uint64_t nTarget = ticks(target.written);
    const std::uint64_t nDistance = nSource > nTarget ? nSource - nTarget : nTarget - nSource;
    return nDistance < oneSecond && source.nSize == target.nSize;
}

bool clearAttributes(const std::string& path)
{
    return SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL) != FALSE;
}

bool copyFile(const std::string& source, const std::string& target, bool bFailIfExists)
{
    return CopyFileA(source.c_str(), target.c_str(), bFailIfExists) != FALSE;
}

ResultCode copyOverExistingIfChanged(const std::string& source, const std::string& target, bool bFailIfExists)
{
    FileStamp sourceStamp;
    FileStamp targetStamp;
    {
        FileHandle sourceFile(openForReading(source));
        if (!sourceFile.isValid())
            return code::copyOpenSourceFailed;
        FileHandle targetFile(openForReading(target));
        if (!targetFile.isValid())
            return code::copyOpenTargetFailed;
        if (!readStamp(sourceFile.get(), sourceStamp))
            return code::copyReadSourceTimesFailed;
        if (!readStamp(targetFile.get(), targetStamp))
            return code::copyReadTargetTimesFailed;
    }
    if (sameContentLikely(sourceStamp, targetStamp))
        return code::success;

    if (!clearAttributes(target))
        return code::copyClearAttributesAgainFailed;
    if (!copyFile(source, target, bFailIfExists))
        return code::copyFailed;
    FileHandle copied(CreateFileA(target.c_str(), GENERIC_READ | GENERIC_WRITE, shareReadWrite, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!copied.isValid())
        return code::copyReopenTargetFailed;
    if (!SetFileTime(copied.get(), &sourceStamp.created, &sourceStamp.accessed, &sourceStamp.written))
        return code::copySetTimesFailed;
    return code::success;
}

}

ResultCode createDirectoryTree(const std::string& path)
{
    const std::string fullPath = normalizePath(path);
    if (isBlank(fullPath))
        return code::directoryPathEmpty;
    if (fullPath.size() < 4)
        return code::success;
    if (createDirectory(fullPath) == ERROR_SUCCESS)
        return code::success;

    PathRoot parts = splitRoot(fullPath);
    if (parts.root.empty())
        parts.root = currentDirectory();
    const std::vector<std::string> levels = components(parts.rest);
    if (levels.empty())
        return code::directoryNoComponent;
    // Levels above may fail (they exist, or are not ours to create); only the last counts.
    std::string level = parts.root;
    DWORD nLastError = ERROR_SUCCESS;
    for (const std::string& component : levels) {
        level += "\\" + component;
        nLastError = createDirectory(level);
    }
    return nLastError == ERROR_SUCCESS ? code::success : code::systemError(nLastError);
}

ResultCode copyFileIfChanged(const std::string& source, const std::string& target, bool bFailIfExists,
                             bool bCompareFirst)
{
    const std::string sourcePath = normalizePath(source);
    const std::string targetPath = normalizePath(target);
    if (createDirectoryTree(directoryOfPath(targetPath)) != code::success)
        return code::copyTargetDirectoryFailed;
    if (!fileExists(targetPath))
        return copyFile(sourcePath, targetPath, bFailIfExists) ? code::success : code::copyToNewTargetFailed;

    if (GetFileAttributesA(targetPath.c_str()) != FILE_ATTRIBUTE_NORMAL && !clearAttributes(targetPath))
        return code::copyClearAttributesFailed;
    if (!bCompareFirst)
        return copyFile(sourcePath, targetPath, bFailIfExists) ? code::success : code::copyOverTargetFailed;
    return copyOverExistingIfChanged(sourcePath, targetPath, bFailIfExists);
}

ResultCode moveFile(const std::string& source, const std::string& target)
{
    const std::string sourcePath = normalizePath(source);
    const std::string targetPath = normalizePath(target);
    if (text::equals(sourcePath, targetPath, true))
        return code::success;
    const DWORD nSourceAttributes = GetFileAttributesA(sourcePath.c_str());
    if (nSourceAttributes == INVALID_FILE_ATTRIBUTES)
        return code::moveSourceMissing;
    if (nSourceAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return code::moveSourceIsDirectory;
    const DWORD nTargetDirectoryAttributes = GetFileAttributesA(directoryOfPath(targetPath).c_str());
    if (nTargetDirectoryAttributes == INVALID_FILE_ATTRIBUTES)
        return code::moveTargetDirectoryMissing;
    if (!(nTargetDirectoryAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return code::moveTargetDirectoryNotDirectory;
    if (!MoveFileExA(sourcePath.c_str(), targetPath.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH))
        return code::moveFailed;
    return code::success;
}

ResultCode deleteFileRetry(const std::string& path)
{
    const std::string fullPath = normalizePath(path);
    for (int nAttempt = 0; nAttempt < 2 && fileExists(fullPath); ++nAttempt) {
        if (nAttempt > 0)
            Sleep(10); // give a scanner or indexer that holds the file a moment to let go
        DeleteFileA(fullPath.c_str());
    }
    return fileExists(fullPath) ? code::deleteFileStillPresent : code::success;
}

ResultCode writeFileBytes(const std::string& path, const void* pBytes, std::size_t nByteCount)
{
    const std::string fullPath = normalizePath(path);
    if (isBlank(fullPath))
        return code::writePathEmpty;
    // Bytes that cannot be written in one call are refused before the old file is gone.
    if (nByteCount > MAXDWORD || (nByteCount > 0 && pBytes == nullptr))
        return code::writeFailed;
    DeleteFileA(fullPath.c_str());
    FileHandle file(CreateFileA(fullPath.c_str(), GENERIC_WRITE, shareReadWrite, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isValid())
        return code::writeCreateFailed;
    DWORD nWritten = 0;
    if (SetFilePointer(file.get(), 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER || !SetEndOfFile(file.get())
        || !WriteFile(file.get(), pBytes, static_cast<DWORD>(nByteCount), &nWritten, nullptr)
        || nWritten != nByteCount)
        return code::writeFailed;
    return code::success;
}

bool fileExists(const std::string& path)
{
    const DWORD nAttributes = GetFileAttributesA(path.c_str());
    return nAttributes != INVALID_FILE_ATTRIBUTES && !(nAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool directoryExists(const std::string& path)
{
    const DWORD nAttributes = GetFileAttributesA(path.c_str());
    return nAttributes != INVALID_FILE_ATTRIBUTES && (nAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::uint64_t fileSize(const std::string& path)
{
    FileHandle file(openForReading(path));
    LARGE_INTEGER size;
    if (!file.isValid() || !GetFileSizeEx(file.get(), &size))
        return 0;
    return static_cast<std::uint64_t>(size.QuadPart);
}

}
