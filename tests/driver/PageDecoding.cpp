#include "tests/driver/PageDecoding.h"

#include "tests/driver/HostShell.h"
#include "tests/util/ScratchDirectory.h"

#include <gtest/gtest.h>

namespace velmo::driver::test {

std::vector<tools::RgbImage> readNumberedPictures(const std::string& folder, const std::string& prefix,
                                                  const std::string& extension)
{
    std::vector<tools::RgbImage> pictures;
    for (int nPage = 1;; ++nPage) {
        const std::string path = folder + "\\" + prefix + std::to_string(nPage) + extension;
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            return pictures;
        std::string error;
        pictures.push_back(tools::readImageFile(path, error));
        EXPECT_EQ(error, "");
    }
}

std::vector<tools::RgbImage> decodeTiffPages(const std::string& tiffPath)
{
    util::test::ScratchDirectory work;
    // tiff2rgba decodes every page to plain RGB; tiffcp picks them one by one for tifftopnm.
    const std::string script =
        "set -e; tiff2rgba -n " + shellQuoted(HostShell::hostPath(tiffPath)) +
        " rgb.tif; pages=$(tiffinfo rgb.tif 2>/dev/null | grep -c '^TIFF Directory'); i=0; "
        "while [ $i -lt $pages ]; do i=$((i + 1)); tiffcp rgb.tif,$((i - 1)) page.tif; "
        "tifftopnm -quiet page.tif > page-$i.pnm; done";
    std::string output;
    const std::optional<int> status = HostShell::run(script, work.path(), output);
    EXPECT_TRUE(status.has_value());
    EXPECT_EQ(status.value_or(-1), 0) << output;
    return readNumberedPictures(work.path(), "page-", ".pnm");
}

}
