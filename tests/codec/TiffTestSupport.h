#ifndef VELMO_TESTS_CODEC_TIFFTESTSUPPORT_H
#define VELMO_TESTS_CODEC_TIFFTESTSUPPORT_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace codectest {

// The first directory of a little-endian TIFF file: each tag's values (a rational as
// numerator and denominator).
std::map<std::uint16_t, std::vector<std::uint32_t>> readTiffFields(const std::vector<unsigned char>& file);

// The bytes of the single strip of an uncompressed or any one-strip TIFF file.
std::vector<unsigned char> readSingleStrip(const std::vector<unsigned char>& file);

// A file name in the temporary folder that no other test process uses.
std::string scratchPath(const std::string& name);
std::string writeTempFile(const std::string& name, const std::vector<unsigned char>& bytes);
std::vector<unsigned char> readWholeFile(const std::string& path);
// Runs a shell command with its output sent to a file; the exit status and that output.
int runCommand(const std::string& command, std::string* pOutput = nullptr);

}

#endif
