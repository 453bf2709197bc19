#ifndef VELMO_LIB_GRAPHICS_CONVERSION_H
#define VELMO_LIB_GRAPHICS_CONVERSION_H

#include "core/String.h"

#include <cstdint>

namespace velmo::lib::graphics {

// Result codes of the conversion operations.
constexpr std::int32_t kConvertToTiffLibraryError = 800000643;
constexpr std::int32_t kConvertToTiffOtherError = 400000645;
constexpr std::int32_t kConvertToPdfLibraryError = 800000498;
constexpr std::int32_t kConvertToPdfOtherError = 400000500;
// The file identifier used when none is given.
constexpr const char* kDefaultPdfFileId = "5038271946610427";

// Both conversions refuse an output that is their input file, under whatever name, and
// leave no output of a failure behind: a file they made is deleted, a TIFF file they
// appended to is cut back to what it held.

// Appends the selected pages of a TIFF file to another (created when missing, or empty),
// copied or recoded. The new pages join the output's IFD chain only once they are wholly
// written, so a crash at any moment leaves the pages before them readable; a chain that an
// earlier crash left ending in a dangling or invalid offset is cut at its last whole
// directory. pszPageList: "0,2-3" style indexes from 0; empty or "-1" takes every page.
// Sizes and resolutions of 0 or less keep the page's own; fillLines > 0 doubles every line.
// Returns 0 or one of the result codes above; pErrorReport, when given, receives the
// library exception's report of a failure.
std::int32_t convertToTiff(const char* pszInputPath, const char* pszPageList, const char* pszOutputPath,
                           std::int32_t nPixelWidth, std::int32_t nPixelHeight, std::int32_t nXResolution,
                           std::int32_t nYResolution, std::int32_t nOutputCompression, std::int32_t nFillLines,
                           std::int32_t nForceRecode, core::String* pErrorReport = nullptr);


// Writes the selected pages of a TIFF file as a new PDF file. With an owner or user
// password the file is encrypted (128-bit key when nKeyLengthFlag >= 1). pszFileId must
// then be 16 bytes (empty takes the default). dOpenZoom: 0 none, -2 fit page, -1 fit width,
// else a zoom factor. Returns 0 or one of the result codes above; pErrorReport as for
// convertToTiff.
std::int32_t convertToPdf(const char* pszInputPath, const char* pszPageList, const char* pszOutputPath,
                          const char* pszFileId, const char* pszOwnerPassword, const char* pszUserPassword,
                          std::int32_t nPermissions, std::int32_t nKeyLengthFlag, double dOpenZoom,
                          core::String* pErrorReport = nullptr);

}

#endif
