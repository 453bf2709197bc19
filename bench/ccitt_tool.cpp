// File-to-file work for bench/ccitt.sh, the counterpart of tiffcp:
//   ccitt_tool pages DIR            writes the benchmark pages, uncompressed
//   ccitt_tool encode IN.tif OUT [N]    Group 4 of an uncompressed page, N times
//   ccitt_tool decode IN.tif OUT [N]    rows of a Group 4 page, N times
//   ccitt_tool copy IN.tif OUT [N]      writing the page data alone, N times
#include "BenchPages.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace velmo;

namespace {

// Collects a coded or decoded page in memory, as libtiff fills its strip buffer; the page
// then goes to the file in one write, as tiffcp writes a strip.
class PageBuffer : public core::io::IStream {
public:
    explicit PageBuffer(std::size_t nRoom) { m_bytes.reserve(nRoom); }

    bool canWrite() override { return true; }
    bool canRead() override { return false; }
    bool canSeek() override { return false; }
    std::uint32_t getPosition() override { return static_cast<std::uint32_t>(m_bytes.size()); }
    bool seek(std::int32_t, std::int32_t) override { return false; }
    void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nCount) override
    {
        m_bytes.insert(m_bytes.end(), pBuffer + nOffset, pBuffer + nOffset + nCount);
    }
    void flush() override {}
    void close() override {}

    // Writes the page to pFile and empties the buffer, keeping its room.
    void writeTo(std::FILE* pFile)
    {
        std::fwrite(m_bytes.data(), 1, m_bytes.size(), pFile);
        m_bytes.clear();
    }

private:
    std::vector<unsigned char> m_bytes;
};

}

int main(int argc, char** argv)
{
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "pages" && argc == 3) {
        tests::writeTiff(std::string(argv[2]) + "/text-1728x2200.tif", tests::uncompressedOf(bench::textPage1728()));
        tests::writeTiff(std::string(argv[2]) + "/text-5100x6600.tif", tests::uncompressedOf(bench::textPage5100()));
        return 0;
    }
    if (argc < 4 || argc > 5 || (command != "encode" && command != "decode" && command != "copy")) {
        std::fprintf(stderr, "usage: ccitt_tool pages DIR | (encode|decode|copy) IN.tif OUT [N]\n");
        return 2;
    }
    tests::TiffImage image = tests::readTiff(argv[2]);
    std::FILE* pFile = std::fopen(argv[3], "wb");
    if (!pFile) {
        std::perror(argv[3]);
        return 1;
    }
    // Room for the page's rows, which no Group 4 coding of it outgrows.
    PageBuffer page(static_cast<std::size_t>((image.nWidth + 7) / 8) * static_cast<std::size_t>(image.nHeight));
    for (int nRepeat = argc == 5 ? std::atoi(argv[4]) : 1; nRepeat > 0; --nRepeat) {
        if (command == "encode")
            bench::group4OfBitmap(image.data, image.nWidth, image.nHeight, page);
        else if (command == "decode")
            bench::bitmapOfGroup4(image.data, image.nWidth, image.nHeight, page);
        else
            page.writeData(image.data.data(), 0, static_cast<std::int32_t>(image.data.size()));
        page.writeTo(pFile);
    }
    std::fclose(pFile);
    return 0;
}
