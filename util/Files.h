#ifndef VELMO_UTIL_FILES_H
#define VELMO_UTIL_FILES_H

#include "util/ResultCode.h"

#include <cstddef>
#include <cstdint>
#include <string>

// File operations on ANSI paths. Those that take a path normalise it first (normalizePath
// against the current directory).
namespace velmo::util {

// Creates the directory and every missing level above it; an existing directory and a drive
// root succeed. The result is that of the last level created.
ResultCode createDirectoryTree(const std::string& path);

// Copies source over target, creating the target's directory and clearing the target's
// attributes first. With bCompareFirst, a target of the same size whose last write is less
// than a second apart from the source's is left alone; a copied target then carries the
// source's times.
ResultCode copyFileIfChanged(const std::string& source, const std::string& target, bool bFailIfExists,
                             bool bCompareFirst);

// Moves a file, replacing an existing target; the same path in other letter case is a success
// that touches nothing.
ResultCode moveFile(const std::string& source, const std::string& target);

// Deletes a file, trying once more after 10 ms; a missing file is a success.
ResultCode deleteFileRetry(const std::string& path);

// Replaces the file with exactly these bytes.
ResultCode writeFileBytes(const std::string& path, const void* pBytes, std::size_t nByteCount);

bool fileExists(const std::string& path);
bool directoryExists(const std::string& path);
// 0 when the file cannot be opened for reading or its size cannot be read.
std::uint64_t fileSize(const std::string& path);

}

#endif
