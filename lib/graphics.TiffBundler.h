#ifndef VELMO_LIB_GRAPHICS_TIFFBUNDLER_H
#define VELMO_LIB_GRAPHICS_TIFFBUNDLER_H

#include "core/collections.SimpleTypeArray.h"
#include "core/io.BufferedStream.h"
#include "core/io.FileStream.h"
#include "lib/graphics.IOutputGenerator.h"
#include "lib/graphics.TiffPageImage.h"

namespace velmo::lib::graphics {

// Reads a little-endian TIFF file page by page and hands the selected pages to an output
// generator. A page that no reader opens, with a width, length, sample count, bits per
// sample or rows per strip of 0, is refused (tifInvalidImage) before the generator sees it.
class TiffBundler : public core::object::Object {
public:
    // An IFD's entries must fit the directory buffer.
    static constexpr std::int32_t kDirectoryBufferSize = 4096;
    static constexpr std::int32_t kMaximumEntries = kDirectoryBufferSize / 12;

    void setOutputGenerator(IOutputGenerator* pGenerator) { m_pGenerator = pGenerator; }
    void setOutputStream(core::io::IStream* pOutput, bool bBuffered, std::int32_t nBufferSize);
    void start(bool bAppend);
    void setInputStream(core::io::IStream* pInput);
    // Page indexes counting from 0; null takes every page. Not owned.
    void setPageList(const core::collections::SimpleTypeArray<std::int32_t>* pPageList) { m_pPageList = pPageList; }
    void generate();
    // Hands the selected pages of a TIFF file to the generator, writing into an open output
    // file (through a 4096-byte buffer), then finishes and closes the output.
    static void bundleFile(IOutputGenerator& generator, core::io::FileStream& output, bool bAppend,
                           const char* pszInputPath, const char* pszPageList);
    // The page list of a selection text such as "0,2-3" in pages; null for every page
    // (null, empty or "-1").
    static const core::collections::SimpleTypeArray<std::int32_t>* parsePageList(
        const char* pszSelection, core::collections::SimpleTypeArray<std::int32_t>& pages);
    void finish();
    void seek(std::int32_t nOffset, std::int32_t nSeekOrigin);

private:
    bool isSelected(std::int32_t nPage) const;
    std::int32_t readInput(std::int32_t nCount);
    void handlePage(std::int32_t nEntryCount, TiffPageImage& page);
    void readTagValues(TiffTag& tag, std::int32_t nOffset);
    void locateStrips(TiffPageImage& page);
    static void checkDimensions(const TiffPageImage& page);

    unsigned char m_directory[kDirectoryBufferSize] = {};
    const core::collections::SimpleTypeArray<std::int32_t>* m_pPageList = nullptr;
    core::io::BufferedStream m_bufferedOutput;
    core::io::IStream* m_pInput = nullptr;
    core::io::IStream* m_pOutput = nullptr;
    IOutputGenerator* m_pGenerator = nullptr;
    std::uint32_t m_nInputLength = 0;
};

}

#endif
