#include "lib/TestStreams.h"
#include "core/exception.InvalidParameterException.h"
#include "lib/graphics.LittleEndian.h"
#include "lib/graphics.TiffConstants.h"
#include "lib/graphics.TiffPageImage.h"
#include "lib/graphics.TiffUtil.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::tests;
using core::exception::BaseException;
using lib::graphics::LittleEndian;
using lib::graphics::TiffConstants;
using lib::graphics::TiffPageImage;
using lib::graphics::TiffTag;
using lib::graphics::TiffChainEnd;
using lib::graphics::TiffUtil;

namespace {

template <typename Action>
std::int32_t codeOf(Action action)
{
    try {
        action();
    } catch (const BaseException& e) {
        return e.getCode();
    }
    return 0;
}

TEST(TiffConstants, DataTypeByteCounts)
{
    const std::int32_t expected[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
    for (std::int32_t nType = 1; nType <= 12; ++nType)
        EXPECT_EQ(TiffConstants::getDataTypeByteCount(nType), expected[nType]) << nType;
    EXPECT_EQ(codeOf([] { TiffConstants::getDataTypeByteCount(0); }), core::exception::invalidParameter);
    EXPECT_EQ(codeOf([] { TiffConstants::getDataTypeByteCount(13); }), core::exception::invalidParameter);
}

TEST(LittleEndian, ConvertsOneToFourBytes)
{
    unsigned char bytes[6] = {0, 0x78, 0x56, 0x34, 0x12, 0};
    EXPECT_EQ(LittleEndian::toInt32(bytes, 1, 4), 0x12345678);
    EXPECT_EQ(LittleEndian::toInt32(bytes, 1, 2), 0x5678);
    EXPECT_EQ(LittleEndian::toInt32(bytes, 1, 3), 0x345678);
    EXPECT_EQ(LittleEndian::toInt32(bytes, 1, 1), 0x78);
    LittleEndian::fromInt32(-2, bytes, 2, 3);
    EXPECT_EQ(bytes[1], 0x78);
    EXPECT_EQ(bytes[2], 0xFE);
    EXPECT_EQ(bytes[4], 0xFF);
    EXPECT_EQ(bytes[5], 0);
}

TEST(TiffTag, InlineValuesAndBufferAgree)
{
    TiffTag shortTag;
    shortTag.setValueCount(1, 2);
    shortTag.setValueOffset(300);
    EXPECT_EQ(shortTag.getValueOffset(), 300);
    EXPECT_EQ(shortTag.getLong(0), 300);

    TiffTag rational;
    rational.setValueCount(1, 8);
    rational.setRationalTop(0, 200);
    rational.setRationalBottom(0, 1);
    rational.setValueOffset(1234);  // an offset: the values stay in the buffer only
    EXPECT_EQ(rational.getRationalTop(0), 200);
    EXPECT_EQ(rational.getRationalBottom(0), 1);
    EXPECT_EQ(codeOf([&] { rational.getLong(1); }), core::exception::indexOutOfBounds);
    EXPECT_EQ(codeOf([&] { rational.getValue(-1); }), core::exception::indexOutOfBounds);
    EXPECT_EQ(codeOf([&] { rational.setValueCount(0x40000000, 8); }), core::exception::invalidParameter);
}

TEST(TiffPageImage, KeepsTagsSortedAndReusesPooledTags)
{
    TiffPageImage page;
    TiffTag* pOffsets = page.addTag(273);
    TiffTag* pWidth = page.addTag(256);
    page.addTag(259);
    ASSERT_EQ(page.getTagCount(), 3);
    EXPECT_EQ(page.getTagAt(0)->getTagNumber(), 256);
    EXPECT_EQ(page.getTagAt(1)->getTagNumber(), 259);
    EXPECT_EQ(page.getTagAt(2)->getTagNumber(), 273);
    EXPECT_EQ(page.addTag(256), pWidth);

    pOffsets->setValueCount(40, 4);
    const unsigned char* pBuffer = pOffsets->getData();
    page.addStrip(10, 8);
    page.clear();
    EXPECT_EQ(page.getTagCount(), 0);
    EXPECT_EQ(page.getStripCount(), 0);
    EXPECT_EQ(page.getTag(273), nullptr);
    TiffTag* pReused = page.addTag(273);
    EXPECT_EQ(pReused, pOffsets);
    EXPECT_EQ(pReused->getData(), pBuffer);

    page.removeTag(273);
    EXPECT_EQ(page.getTagCount(), 0);
    EXPECT_EQ(codeOf([&] { page.getBitsPerPixel(); }), core::exception::tifTagNotFound);
    TiffTag* pBits = page.addTag(258);
    pBits->setValueCount(3, 2);
    for (std::int32_t i = 0; i < 3; ++i)
        pBits->setLong(i, 8);
    EXPECT_EQ(page.getBitsPerPixel(), 24);
    pBits->setDataType(TiffConstants::typeLong);
    pBits->setValueCount(2, 4);
    pBits->setLong(0, 0x7FFFFFFF);
    pBits->setLong(1, 1);
    EXPECT_EQ(codeOf([&] { page.getBitsPerPixel(); }), core::exception::tifInvalidImage);
}

TEST(TiffPageImage, SavesStripsInvertedOrNot)
{
    VectorStream source(std::vector<unsigned char>{1, 2, 3, 4, 5, 6});
    TiffPageImage page;
    page.setStripStream(&source);
    page.addStrip(3, 1);
    page.addStrip(4, 4);  // runs one byte past the end of the stream

    VectorStream plain, inverted;
    page.saveStrip(0, &plain, false);
    page.saveStrip(0, &inverted, true);
    EXPECT_EQ(plain.bytes(), (std::vector<unsigned char>{2, 3, 4}));
    EXPECT_EQ(inverted.bytes(), (std::vector<unsigned char>{0xFD, 0xFC, 0xFB}));

    VectorStream truncated;
    EXPECT_EQ(codeOf([&] { page.saveStrip(1, &truncated, false); }), core::exception::tifDataStreamReadError);
    EXPECT_EQ(truncated.bytes(), (std::vector<unsigned char>{5, 6}));
    EXPECT_EQ(codeOf([&] { page.saveData(7, 1, &truncated, false); }), core::exception::tifDataPositionSeekError);
    EXPECT_EQ(codeOf([&] { page.getStripOffset(2); }), core::exception::indexOutOfBounds);
}

std::vector<unsigned char> tiffWithIfds(std::vector<std::uint32_t> ifdOffsets, std::uint16_t nEntries, const char* pszOrder = "II")
{
    std::vector<unsigned char> file(512, 0);
    file[0] = static_cast<unsigned char>(pszOrder[0]);
    file[1] = static_cast<unsigned char>(pszOrder[1]);
    file[2] = 42;
    LittleEndian::fromInt32(static_cast<std::int32_t>(ifdOffsets[0]), file.data(), 4, 4);
    for (std::size_t i = 0; i < ifdOffsets.size(); ++i) {
        std::int32_t nAt = static_cast<std::int32_t>(ifdOffsets[i]);
        LittleEndian::fromInt32(nEntries, file.data(), nAt, 2);
        std::uint32_t nNext = i + 1 < ifdOffsets.size() ? ifdOffsets[i + 1] : 0;
        if (nAt + 6 + 12 * nEntries <= static_cast<std::int32_t>(file.size()))  // else the field lies past the end
            LittleEndian::fromInt32(static_cast<std::int32_t>(nNext), file.data(), nAt + 2 + 12 * nEntries, 4);
    }
    return file;
}

// The file with nBytes at nAt replaced by nValue.
std::vector<unsigned char> spoiled(std::vector<unsigned char> file, std::size_t nAt, std::int32_t nValue, std::size_t nBytes)
{
    for (std::size_t i = 0; i < nBytes; ++i)
        file.at(nAt + i) = static_cast<unsigned char>(static_cast<std::uint32_t>(nValue) >> (8 * i));
    return file;
}

TEST(TiffUtil, ChainEndsAtTheLastWholeDirectory)
{
    // Files of 512 bytes; a directory of n entries at a ends its next-IFD field at a + 6 + 12n.
    const std::vector<unsigned char> two = tiffWithIfds({8, 200}, 3);
    struct Case {
        const char* pszName;
        std::vector<unsigned char> file;
        std::uint32_t nLinkPosition;
    };
    const Case cases[] = {
        {"one directory", tiffWithIfds({8}, 10), 130},
        {"two directories", two, 200 + 2 + 36},
        {"no directory yet", spoiled(two, 4, 0, 4), 4},
        {"first offset past the end", spoiled(two, 4, 600, 4), 4},
        {"first offset into the header", spoiled(two, 4, 2, 4), 4},
        {"next offset past the end", spoiled(two, 8 + 2 + 36, 511, 4), 8 + 2 + 36},
        {"last directory cut by the end", tiffWithIfds({8, 480}, 3), 8 + 2 + 36},
        {"only directory cut by the end", tiffWithIfds({8}, 100), 4},
        {"empty last directory", spoiled(two, 200, 0, 2), 8 + 2 + 36},
        {"chain back to an earlier directory", spoiled(two, 200 + 2 + 36, 8, 4), 200 + 2 + 36},
    };
    for (const Case& c : cases) {
        VectorStream stream(c.file);
        TiffChainEnd end = TiffUtil::findChainEnd(&stream);
        EXPECT_EQ(end.nLinkPosition, c.nLinkPosition) << c.pszName;
        EXPECT_EQ(end.nFileLength, 512u) << c.pszName;
    }

    std::vector<unsigned char> notTiff = tiffWithIfds({8}, 1);
    notTiff[2] = 43;
    const std::pair<std::vector<unsigned char>, std::int32_t> refused[] = {
        {{'I', 'I', 42}, core::exception::tifHeaderReadError},
        {tiffWithIfds({8}, 1, "MM"), core::exception::tifLittleEndianCompatability},
        {notTiff, core::exception::tifInvalidImage},
    };
    for (const auto& [file, nCode] : refused) {
        VectorStream stream(file);
        EXPECT_EQ(codeOf([&] { TiffUtil::findChainEnd(&stream); }), nCode);
    }
}

}
