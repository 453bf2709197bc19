#include "core/io.File.h"

#include "core/System.h"
#include "core/exception.InvalidParameterException.h"
#include "core/io.IOException.h"
#include "core/net.DnsUtil.h"

namespace velmo::core::io {

namespace {

bool isDrive(const String& path)
{
    char cLetter = path.charAt(0);
    return ((cLetter >= 'A' && cLetter <= 'Z') || (cLetter >= 'a' && cLetter <= 'z')) && path.charAt(1) == ':';
}

// True when path holds text at nPosition.
bool holdsAt(const String& path, std::int32_t nPosition, const char* pszText)
{
    return path.indexOf(pszText, nPosition) == nPosition;
}

void checkByteCount(const exception::Location& location, std::int32_t nByteCount)
{
    if (nByteCount < 0)
        throw exception::InvalidParameterException(location, exception::invalidParameter, "nByteCount", nByteCount);
}

std::int32_t lastSeparator(const String& path)
{
    std::int32_t nSlash = path.lastIndexOf('/', -1);
    std::int32_t nBackslash = path.lastIndexOf('\\', -1);
    return nSlash > nBackslash ? nSlash : nBackslash;
}

// Puts the absolute start in front of a path whose "\" are already "/".
void makeAbsolute(const String& path, String& out)
{
    String rest;
    if (isDrive(path) && holdsAt(path, 2, "/./")) {
        path.substring(4, rest);
        out = "";
        out.append(path.charAt(0)).append(":/").append(System::getCurrentFolder()).append(rest);
    } else if (path.startsWith("/./")) {
        path.substring(3, rest);
        out = System::getCurrentDrive();
        out.append('/').append(System::getCurrentFolder()).append('/').append(rest);
    } else if (isDrive(path) && holdsAt(path, 2, "/../")) {
        path.substring(5, rest);
        out = System::getCurrentDirectory();
        out.setCharAt(0, path.charAt(0));
        out.append(rest);
    } else if (path.startsWith("/../")) {
        path.substring(4, rest);
        out = System::getCurrentDirectory();
        out.append('/').append(rest);
    } else if (path.startsWith("/")) {
        out = System::getCurrentDrive();
        out.append(path);
    } else if (isDrive(path) || path.startsWith("\\\\")) {
        out = path;
    } else {
        // Any other path is relative to the current directory, "sub/file" as much as "file".
        out = System::getCurrentDirectory();
        out.append('/').append(path);
    }
}

// Removes each "component/.." from left to right.
void resolveParents(String& path)
{
    std::int32_t nFound = path.indexOf("/../", 0);
    while (nFound >= 0) {
        if (nFound == 0)
            return;
        std::int32_t nComponent = path.lastIndexOf('/', nFound - 1);
        if (nComponent < 0)
            return;
        String component;
        path.substring(nComponent, nFound - nComponent, component);
        component.append("/..");
        path.replace(component.getBuffer(), "", 0);
        nFound = path.indexOf("/../", nComponent);
    }
}

}

void File::getFileFullName(const char* pszPath, String& out, bool bNetworkForm)
{
    String path(pszPath);
    path.trim();
    if (path.isEmpty()) {
        // A blank path names no file (the current directory is not a file name).
        out = "";
        return;
    }
    bool bNetworkPath = path.startsWith("\\\\");
    path.replace("\\", "/");
    if (bNetworkPath) {
        path.setCharAt(0, '\\');
        path.setCharAt(1, '\\');
    }
    if (path.getLength() == 2 && isDrive(path))
        path.append('/');

    makeAbsolute(path, out);
    out.trim();
    out.replace("//", "/");
    if (!out.endsWith("/"))
        out.append('/');
    out.replace("/./", "/");
    resolveParents(out);
    out.setLength(out.getLength() - 1);

    if (bNetworkForm && !out.startsWith("\\\\")) {
        out.setCharAt(1, '$');
        String share("\\\\");
        share.append(net::DnsUtil::getFullHostName()).append('/').append(out);
        out = share;
    }
}

void File::getFileDirectory(const char* pszPath, String& out, bool)
{
    String path(pszPath);
    std::int32_t nLast = lastSeparator(path);
    path.substring(0, nLast < 0 ? 0 : nLast, out);
}

void File::getFileName(const char* pszPath, String& out)
{
    String path(pszPath);
    path.substring(lastSeparator(path) + 1, out);
}

void File::createDirectory(const char* pszPath)
{
    String fullName;
    getFileFullName(pszPath, fullName, false);
    if (fullName.isEmpty())
        throw IOException(VELMO_LOCATION, exception::unspecifiedError, pszPath);
    // The walk starts behind the root: the drive, "/" or a network path's host and share.
    std::int32_t nNext = 0;
    if (fullName.startsWith("\\\\")) {
        std::int32_t nHostEnd = fullName.indexOf("/", 2);
        nNext = nHostEnd < 0 ? -1 : fullName.indexOf("/", nHostEnd + 1);
    } else {
        nNext = fullName.indexOf("/", 0);
        if (nNext >= 0)
            nNext = fullName.indexOf("/", nNext + 1);
    }
    String part;
    while (true) {
        fullName.substring(0, nNext < 0 ? -1 : nNext, part);
        if (!part.isEmpty() && !os::directoryExists(part.getBuffer()) && !os::createDirectory(part.getBuffer()))
            throw IOException(VELMO_LOCATION, exception::unspecifiedError, static_cast<std::int32_t>(os::getLastError()),
                              part.getBuffer());
        if (nNext < 0)
            break;
        nNext = fullName.indexOf("/", nNext + 1);
    }
}

void File::deleteFile(const char* pszPath)
{
    if (!os::deleteFile(pszPath))
        throw IOException(VELMO_LOCATION, exception::unspecifiedError, static_cast<std::int32_t>(os::getLastError()),
                          pszPath);
}

void File::storeNames(const char* pszPath)
{
    m_path = pszPath;
    getFileDirectory(pszPath, m_directory, false);
    getFileName(pszPath, m_name);
    getFileDirectory(m_fullName.getBuffer(), m_fullDirectory, true);
}

void File::open(const char* pszPath, bool bWritable)
{
    close();
    getFileFullName(pszPath, m_fullName, false);
    if (m_fullName.isEmpty() || !os::fileExists(m_fullName.getBuffer()))
        throw IOException(VELMO_LOCATION, exception::objectNotFound, pszPath);
    storeNames(pszPath);
    m_handle.set(os::openExistingFile(m_fullName.getBuffer(), bWritable));
    if (m_handle.isInvalid()) {
        m_handle.set(os::kNoHandle);
        throw IOException(VELMO_LOCATION, exception::unspecifiedError, static_cast<std::int32_t>(os::getLastError()),
                          pszPath);
    }
    m_bOpenedForWriting = true;
    m_bOpenedForReading = true;
}

void File::create(const char* pszPath, bool bShareWrite)
{
    close();
    getFileFullName(pszPath, m_fullName, false);
    if (m_fullName.isEmpty())
        throw IOException(VELMO_LOCATION, exception::unspecifiedError, pszPath);
    if (os::fileExists(m_fullName.getBuffer()))
        deleteFile(m_fullName.getBuffer());
    storeNames(pszPath);
    createDirectory(m_fullDirectory.getBuffer());
    m_handle.set(os::createNewFile(m_fullName.getBuffer(), bShareWrite));
    if (m_handle.isInvalid()) {
        std::int32_t nError = static_cast<std::int32_t>(os::getLastError());
        m_handle.set(os::kNoHandle);
        throw IOException(VELMO_LOCATION, exception::unspecifiedError, nError, pszPath);
    }
    m_bOpenedForWriting = true;
}

void File::close()
{
    m_handle.close();
    m_bOpenedForWriting = false;
    m_bOpenedForReading = false;
}

void File::checkOpen(const exception::Location& location) const
{
    if (!isOpen())
        throw IOException(location, exception::resourceClosed, m_path.getBuffer());
}

std::uint32_t File::getPosition()
{
    checkOpen(VELMO_LOCATION);
    return os::setFilePointer(m_handle.get(), 0, 2);
}

bool File::seek(std::int32_t nOffset, std::int32_t nSeekOrigin)
{
    checkOpen(VELMO_LOCATION);
    if (nSeekOrigin < 1 || nSeekOrigin > 3)
        throw exception::InvalidParameterException(VELMO_LOCATION, exception::invalidParameter, "nSeekOrigin", nSeekOrigin);
    return os::setFilePointer(m_handle.get(), nOffset, nSeekOrigin) != os::kInvalidFilePointer;
}

std::int32_t File::readData(unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount)
{
    checkOpen(VELMO_LOCATION);
    checkByteCount(VELMO_LOCATION, nByteCount);
    std::uint32_t nRead = 0;
    if (!os::readFile(m_handle.get(), pBuffer + nOffset, static_cast<std::uint32_t>(nByteCount), &nRead))
        throw IOException(VELMO_LOCATION, exception::unspecifiedError, static_cast<std::int32_t>(os::getLastError()),
                          m_path.getBuffer());
    return static_cast<std::int32_t>(nRead);
}

void File::writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount)
{
    checkOpen(VELMO_LOCATION);
    checkByteCount(VELMO_LOCATION, nByteCount);
    std::uint32_t nWritten = 0;
    if (!os::writeFile(m_handle.get(), pBuffer + nOffset, static_cast<std::uint32_t>(nByteCount), &nWritten)
        || nWritten != static_cast<std::uint32_t>(nByteCount))
        throw IOException(VELMO_LOCATION, exception::unspecifiedError, static_cast<std::int32_t>(os::getLastError()),
                          m_path.getBuffer());
}

void File::setLength(std::uint32_t nLength)
{
    checkOpen(VELMO_LOCATION);
    if (!os::setFileLength(m_handle.get(), nLength))
        throw IOException(VELMO_LOCATION, exception::unspecifiedError, static_cast<std::int32_t>(os::getLastError()),
                          m_path.getBuffer());
}

}
