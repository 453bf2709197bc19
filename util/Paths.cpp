#include "util/Paths.h"

#include "util/Locations.h"
#include "util/Text.h"

namespace velmo::util {

namespace {

void removeOuterBackslashes(std::string& path)
{
    text::removePrefix(path, "\\");
    text::removeSuffix(path, "\\");
}

std::string absoluteBase(const std::string& base)
{
    const std::string trimmed = text::trim(base);
    return trimmed.empty() ? currentDirectory() : normalizePath(trimmed);
}

std::string parentOf(std::string path)
{
    text::cutAtLast(path, '\\');
    return path;
}

// The root and the first directory below it (C:\dir\sub\x gives C:\dir).
std::string firstLevelOf(const std::string& path)
{
    const PathRoot parts = splitRoot(path);
    if (parts.root.empty())
        return path;
    const std::string firstComponent = parts.rest.substr(0, parts.rest.find('\\'));
    return firstComponent.empty() ? parts.root : parts.root + "\\" + firstComponent;
}

char charAt(const std::string& text, std::size_t nIndex)
{
    return nIndex < text.size() ? text[nIndex] : '\0';
}

}

std::string normalizePath(const std::string& path, const std::string& base)
{
    std::string work = text::trim(path);
    text::removePrefix(work, "file:///");
    text::replaceAll(work, "/", "\\");
    text::replaceAll(work, ":\\\\", ":\\");
    text::removePrefix(work, "\\\\?\\", true);
    if (work.empty())
        return path;

    const char c0 = charAt(work, 0);
    const char c1 = charAt(work, 1);
    const char c2 = charAt(work, 2);
    text::removePrefix(work, "\\\\\\");

    // "." and ".." count only as whole components, so that ".profile" stays a name.
    const bool bParent = c0 == '.' && c1 == '.' && (c2 == '\0' || c2 == '\\');
    const bool bCurrent = c0 == '.' && (c1 == '\0' || c1 == '\\');
    std::string result;
    if (bParent) {
        // Only this one level is resolved; any further ".." stays in the text.
        text::removePrefix(work, "..");
        removeOuterBackslashes(work);
        result = parentOf(absoluteBase(base)) + "\\" + work;
    } else if (bCurrent) {
        text::removePrefix(work, ".");
        removeOuterBackslashes(work);
        result = absoluteBase(base) + "\\" + work;
    } else if (c1 == ':') {
        result = work;
    } else if (c0 == '\\' && c1 != '\\') {
        text::removePrefix(work, "\\");
        result = splitRoot(absoluteBase(base)).root + "\\" + work;
    } else if (c0 == '\\' && c2 == '\\') {
        text::removePrefix(work, "\\");
        result = firstLevelOf(absoluteBase(base)) + "\\" + work;
    } else if (c0 == '\\') {
        result = text::trim(path);
        text::replaceAll(result, "/", "\\");
    } else {
        removeOuterBackslashes(work);
        result = absoluteBase(base) + "\\" + work;
    }
    text::removeSuffix(result, "\\");
    return result;
}

std::string normalizePath(const std::string& path)
{
    return normalizePath(path, std::string());
}

std::string directoryOfPath(const std::string& path)
{
    std::string directory = normalizePath(path);
    text::cutAtLast(directory, '\\');
    if (!directory.empty() && directory.back() == ':')
        directory += '\\';
    return directory;
}

std::size_t extensionStart(const std::string& path)
{
    const std::size_t nDot = path.rfind('.');
    const std::size_t nSeparator = path.rfind('\\');
    return nDot != std::string::npos && (nSeparator == std::string::npos || nDot > nSeparator)
        ? nDot
        : std::string::npos;
}

PathRoot splitRoot(const std::string& path)
{
    std::size_t nRootEnd = std::string::npos;
    if (path.size() >= 2 && path[1] == ':') {
        nRootEnd = path.find('\\');
    } else if (text::startsWith(path, "\\\\")) {
        const std::size_t nShare = path.find('\\', 2);
        nRootEnd = nShare == std::string::npos ? nShare : path.find('\\', nShare + 1);
    } else {
        return {std::string(), path};
    }
    if (nRootEnd == std::string::npos)
        return {path, std::string()};
    return {path.substr(0, nRootEnd), path.substr(nRootEnd + 1)};
}

}
