// File-to-file work for bench/ccitt.sh, the counterpart of tiffcp:
//   ccitt_tool pages DIR            writes the benchmark pages, uncompressed
//   ccitt_tool encode IN.tif OUT [N]    Group 4 of an uncompressed page, N times
//   ccitt_tool decode IN.tif OUT [N]    rows of a Group 4 page, N times
//   ccitt_tool copy IN.tif OUT [N]      writing the page data alone, N times
#include "BenchPages.h"

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace velmo;

namespace {

// Writes through the C library's buffered file, as tiffcp does through its own.
class FileSink : public core::io::IStream {
public:
    explicit FileSink(const char* pszPath) : m_pFile(std::fopen(pszPath, "wb")) {}
    ~FileSink() override
    {
        if (m_pFile)
            std::fclose(m_pFile);
    }
    bool canWrite() override { return m_pFile != nullptr; }
    bool canRead() override { return false; }
    bool canSeek() override { return false; }
    std::uint32_t getPosition() override { return static_cast<std::uint32_t>(std::ftell(m_pFile)); }
    bool seek(std::int32_t, std::int32_t) override { return false; }
    void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nCount) override
    {
        std::fwrite(pBuffer + nOffset, 1, static_cast<std::size_t>(nCount), m_pFile);
    }
    void flush() override { std::fflush(m_pFile); }
    void close() override {}

private:
    std::FILE* m_pFile;
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
    FileSink sink(argv[3]);
    for (int nRepeat = argc == 5 ? std::atoi(argv[4]) : 1; nRepeat > 0; --nRepeat) {
        if (command == "encode")
            bench::group4OfBitmap(image.data, image.nWidth, image.nHeight, sink);
        else if (command == "decode")
            bench::bitmapOfGroup4(image.data, image.nWidth, image.nHeight, sink);
        else
            sink.writeData(image.data.data(), 0, static_cast<std::int32_t>(image.data.size()));
    }
    sink.flush();
    return 0;
}
