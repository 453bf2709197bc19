#ifndef VELMO_UTIL_PATHS_H
#define VELMO_UTIL_PATHS_H

#include <string>

namespace velmo::util {

// Makes a user-supplied path absolute against a base directory (the current directory when
// the base is blank), without a trailing backslash. Accepts "file:///" URLs, forward
// slashes, "\\?\" prefixes, one leading "..", "." and rooted paths; a path starting with
// three backslashes is taken relative to the base's first directory level; UNC paths
// ("\\server\share\...") stay as they are. A blank path is returned unchanged.
std::string normalizePath(const std::string& path, const std::string& base);
std::string normalizePath(const std::string& path);

// The directory of the normalised path; a drive keeps its backslash ("C:\").
std::string directoryOfPath(const std::string& path);

// Index of the dot that starts the file name's extension, npos when the name has none.
std::size_t extensionStart(const std::string& path);

// An absolute path split into its root ("C:" or "\\server\share") and what follows the
// backslash after the root. A path of neither form has an empty root and is all rest.
struct PathRoot {
    std::string root;
    std::string rest;
};
PathRoot splitRoot(const std::string& path);

}

#endif
