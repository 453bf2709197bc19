// File-to-file work for bench/ccitt.sh, the counterpart of tiffcp:
//   ccitt_tool pages DIR            writes the benchmark pages, uncompressed
//   ccitt_tool encode IN.tif OUT    Group 4 of an uncompressed page
//   ccitt_tool decode IN.tif OUT    rows of a Group 4 page
//   ccitt_tool copy IN.tif OUT      reading and writing alone, the baseline
#include "BenchPages.h"

#include <cstdio>
#include <fstream>
#include <string>

using namespace velmo;

namespace {

void writeFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}

int main(int argc, char** argv)
{
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "pages" && argc == 3) {
        tests::writeTiff(std::string(argv[2]) + "/text-1728x2200.tif", tests::uncompressedOf(bench::textPage1728()));
        tests::writeTiff(std::string(argv[2]) + "/text-5100x6600.tif", tests::uncompressedOf(bench::textPage5100()));
        return 0;
    }
    if (argc != 4 || (command != "encode" && command != "decode" && command != "copy")) {
        std::fprintf(stderr, "usage: ccitt_tool pages DIR | (encode|decode|copy) IN.tif OUT\n");
        return 2;
    }
    tests::TiffImage image = tests::readTiff(argv[2]);
    if (command == "encode")
        writeFile(argv[3], bench::group4OfBitmap(image.data, image.nWidth, image.nHeight));
    else if (command == "decode")
        writeFile(argv[3], bench::bitmapOfGroup4(image.data, image.nWidth, image.nHeight));
    else
        writeFile(argv[3], image.data);
    return 0;
}
