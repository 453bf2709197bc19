#ifndef VELMO_TESTS_DRIVER_PAGEDECODING_H
#define VELMO_TESTS_DRIVER_PAGEDECODING_H

#include "tools/imagefile/RgbImage.h"

#include <string>
#include <vector>

namespace velmo::driver::test {

// The pages of a TIFF file as libtiff decodes them on the host beneath Wine (Group 4 and
// JPEG pages alike, to RGB); empty when the host or its tools are missing or refuse the file.
std::vector<tools::RgbImage> decodeTiffPages(const std::string& tiffPath);

// The pictures folder\prefix1extension, folder\prefix2extension ... as far as they go.
std::vector<tools::RgbImage> readNumberedPictures(const std::string& folder, const std::string& prefix,
                                                  const std::string& extension);

}

#endif
