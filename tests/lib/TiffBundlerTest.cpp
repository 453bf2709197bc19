#include "core/exception.BaseException.h"
#include "core/io.MemoryStream.h"
#include "lib/TestStreams.h"
#include "lib/graphics.LittleEndian.h"
#include "lib/graphics.CropPadFilter.h"
#include "lib/graphics.HeaderModificationFilter.h"
#include "lib/graphics.ScanLineFillFilter.h"
#include "lib/graphics.TiffBundler.h"
#include "lib/graphics.TiffOffsetStream.h"
#include "lib/graphics.TiffOutputGenerator.h"
#include "lib/graphics.TiffUtil.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace velmo;
using namespace velmo::lib::graphics;
using velmo::tests::VectorStream;

namespace {

struct Entry {
    std::uint16_t nTag;
    std::uint16_t nType;
    std::uint32_t nCount;
    std::uint32_t nValue;
};

void put(std::vector<unsigned char>& bytes, std::uint32_t nValue, int nLength)
{
    for (int i = 0; i < nLength; ++i)
        bytes.push_back(static_cast<unsigned char>(nValue >> (8 * i)));
}

// A one-IFD file: header, the data bytes at offset 8, then the IFD.
std::vector<unsigned char> tiffFile(const std::vector<unsigned char>& data, const std::vector<Entry>& entries,
                                    const char* pszOrder = "II")
{
    std::vector<unsigned char> bytes = {static_cast<unsigned char>(pszOrder[0]), static_cast<unsigned char>(pszOrder[1]), 42, 0};
    put(bytes, 8 + static_cast<std::uint32_t>(data.size()), 4);
    bytes.insert(bytes.end(), data.begin(), data.end());
    put(bytes, static_cast<std::uint32_t>(entries.size()), 2);
    for (const Entry& entry : entries) {
        put(bytes, entry.nTag, 2);
        put(bytes, entry.nType, 2);
        put(bytes, entry.nCount, 4);
        put(bytes, entry.nValue, 4);
    }
    put(bytes, 0, 4);
    return bytes;
}

// An uncompressed 16 x 2 page: the first row black, the second white.
std::vector<Entry> pageEntries(std::uint32_t nStripBytes = 4)
{
    return {{256, 4, 1, 16}, {257, 4, 1, 2}, {258, 3, 1, 1}, {259, 3, 1, 1}, {262, 3, 1, 0},
            {273, 4, 1, 8}, {278, 4, 1, 2}, {279, 4, 1, nStripBytes}};
}

const std::vector<unsigned char> kPageData = {0xFF, 0xFF, 0x00, 0x00};

std::vector<Entry> without(std::vector<Entry> entries, std::uint16_t nTag)
{
    std::vector<Entry> kept;
    for (const Entry& entry : entries) {
        if (entry.nTag != nTag)
            kept.push_back(entry);
    }
    return kept;
}

std::vector<Entry> with(std::vector<Entry> entries, Entry added)
{
    for (Entry& entry : entries) {
        if (entry.nTag == added.nTag) {
            entry = added;
            return entries;
        }
    }
    entries.push_back(added);
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.nTag < b.nTag; });
    return entries;
}

struct Result {
    std::int32_t nCode = 0;
    std::string info;
    std::vector<unsigned char> output;
};

Result convert(const std::vector<unsigned char>& input, std::int32_t nCompression, bool bForceRecode = false)
{
    Result result;
    VectorStream source(input);
    VectorStream sink;
    TiffOutputGenerator generator;
    generator.configure(nCompression, bForceRecode, true, 32768);
    TiffBundler bundler;
    try {
        bundler.setOutputGenerator(&generator);
        bundler.setOutputStream(&sink, false, 0);
        bundler.start(false);
        bundler.setInputStream(&source);
        bundler.generate();
        bundler.finish();
    } catch (const core::exception::BaseException& error) {
        result.nCode = error.getCode();
        result.info = error.getInternalInfo().getBuffer() ? error.getInternalInfo().getBuffer() : "";
    }
    result.output = sink.bytes();
    return result;
}

// The output of bundling the input nTimes through the generator.
std::vector<unsigned char> bundle(TiffOutputGenerator& generator, const std::vector<unsigned char>& input, int nTimes = 1)
{
    VectorStream source(input);
    VectorStream sink;
    TiffBundler bundler;
    bundler.setOutputGenerator(&generator);
    bundler.setOutputStream(&sink, false, 0);
    bundler.start(false);
    for (int i = 0; i < nTimes; ++i) {
        bundler.setInputStream(&source);
        bundler.generate();
    }
    bundler.finish();
    return sink.bytes();
}

// The value of a tag of the first IFD of a file (0 when missing).
std::int32_t tagValue(const std::vector<unsigned char>& file, std::int32_t nTag)
{
    std::int32_t nIfd = LittleEndian::toInt32(file.data(), 4, 4);
    std::int32_t nCount = LittleEndian::toInt32(file.data(), nIfd, 2);
    for (std::int32_t i = 0; i < nCount; ++i) {
        const unsigned char* pEntry = file.data() + nIfd + 2 + 12 * i;
        if (LittleEndian::toInt32(pEntry, 0, 2) == nTag)
            return LittleEndian::toInt32(pEntry, 8, LittleEndian::toInt32(pEntry, 2, 2) == 3 ? 2 : 4);
    }
    return 0;
}

// A stream that cannot seek, recording when bytes arrive.
class ForwardOnlyStream : public VectorStream {
public:
    bool canSeek() override { return false; }
    bool seek(std::int32_t, std::int32_t) override { return false; }
};


// Records where each write lands and each flush, in order.
class RecordingStream : public VectorStream {
public:
    struct Event {
        std::uint32_t nPosition;
        std::int32_t nCount;  // 0: a flush
    };

    using VectorStream::VectorStream;
    void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nCount) override
    {
        events.push_back({getPosition(), nCount});
        VectorStream::writeData(pBuffer, nOffset, nCount);
    }
    void flush() override
    {
        events.push_back({0, 0});
        VectorStream::flush();
    }

    std::vector<Event> events;
};

// How many IFDs the chain of a file reaches.
int directoryCount(const std::vector<unsigned char>& file)
{
    int nCount = 0;
    for (std::uint32_t nIfd = LittleEndian::toInt32(file.data(), 4, 4); nIfd != 0 && nCount < 100; ++nCount) {
        std::uint32_t nEntries = LittleEndian::toInt32(file.data(), static_cast<std::int32_t>(nIfd), 2);
        nIfd = LittleEndian::toInt32(file.data(), static_cast<std::int32_t>(nIfd + 2 + 12 * nEntries), 4);
    }
    return nCount;
}
}

TEST(TiffBundler, RefusesMalformedFiles)
{
    std::vector<unsigned char> loop = tiffFile(kPageData, pageEntries());
    LittleEndian::fromInt32(12, loop.data(), static_cast<std::int32_t>(loop.size()) - 4, 4);
    std::vector<Entry> many(342, Entry{65000, 3, 1, 0});
    const struct {
        const char* pszName;
        std::vector<unsigned char> input;
        std::int32_t nCode;
    } cases[] = {
        {"big-endian", tiffFile(kPageData, pageEntries(), "MM"), 4956},
        {"short header", {'I', 'I', 42}, 4952},
        {"not 42", {'I', 'I', 43, 0, 8, 0, 0, 0}, 4958},
        {"IFD past the end", {'I', 'I', 42, 0, 100, 0, 0, 0}, 4960},
        {"IFD chain loop", loop, 4955},
        {"342 entries", tiffFile(kPageData, many), 4955},
        {"no strip offsets", tiffFile(kPageData, without(pageEntries(), 273)), 4951},
        {"offsets and counts differ", tiffFile(kPageData, with(pageEntries(), {279, 4, 2, 8})), 4963},
        {"strip past the end", tiffFile(kPageData, pageEntries(400)), 4961},
        {"values past the end", tiffFile(kPageData, with(pageEntries(), {305, 2, 1000000, 8})), 4000},
        {"huge value count", tiffFile(kPageData, with(pageEntries(), {305, 2, 0x7FFFFFFF, 8})), 4000},
        {"unknown field type", tiffFile(kPageData, with(pageEntries(), {305, 13, 1, 8})), 4006},
        {"no rows per strip, even to copy", tiffFile(kPageData, without(pageEntries(), 278)), 4951},
        {"old JPEG without its tables", tiffFile(kPageData, with(with(pageEntries(), {259, 3, 1, 6}), {513, 4, 1, 8})), 4951},
        {"old JPEG without its interchange format",
         tiffFile(kPageData, with(with(with(with(pageEntries(), {259, 3, 1, 6}), {519, 4, 1, 8}), {520, 4, 1, 8}), {521, 4, 1, 8})),
         4951},
        {"JPEG without its interchange format", tiffFile(kPageData, with(pageEntries(), {259, 3, 1, 7})), 4951},
    };
    for (const auto& test : cases)
        EXPECT_EQ(convert(test.input, 0).nCode, test.nCode) << test.pszName;
    EXPECT_EQ(convert(tiffFile(kPageData, without(pageEntries(), 278)), 0).info, "rowsPerStrip");
}

TEST(TiffBundler, RefusesPagesNoReaderOpens)
{
    const struct {
        Entry dimension;
        const char* pszName;
    } cases[] = {
        {{256, 4, 1, 0}, "imageWidth"},      {{257, 4, 1, 0}, "imageLength"},   {{258, 3, 1, 0}, "bitsPerSample"},
        {{258, 3, 0, 0}, "bitsPerSample"},   {{277, 3, 1, 0}, "samplesPerPixel"}, {{278, 4, 1, 0}, "rowsPerStrip"},
    };
    for (const auto& test : cases) {
        // Copied, recoded, or with the image data dropped: the page is refused before any of it is written.
        for (std::int32_t nCompression : {0, 4, -1}) {
            Result result = convert(tiffFile(kPageData, with(pageEntries(), test.dimension)), nCompression);
            EXPECT_EQ(result.nCode, core::exception::tifInvalidImage) << test.pszName << " " << nCompression;
            EXPECT_EQ(result.info, test.pszName);
            EXPECT_EQ(result.output.size(), 8u) << test.pszName << " " << nCompression;
        }
    }
    // Three samples, one of no depth.
    std::vector<unsigned char> depths = {8, 0, 0, 0, 8, 0};
    std::vector<unsigned char> data = kPageData;
    data.insert(data.end(), depths.begin(), depths.end());
    EXPECT_EQ(convert(tiffFile(data, with(with(pageEntries(), {258, 3, 3, 12}), {277, 3, 1, 3})), 0).info, "bitsPerSample");
}

TEST(TiffBundler, OneTileIsOneStrip)
{
    // The bundler takes the tile; the TIFF writer then wants StripOffsets for a page that
    // is not JPEG.
    std::vector<Entry> tiled = with(with(without(without(pageEntries(), 273), 279), {324, 4, 1, 8}), {325, 4, 1, 4});
    EXPECT_EQ(convert(tiffFile(kPageData, tiled), 0).info, "stripOffsets");
    std::vector<Entry> twoTiles = with(tiled, {324, 4, 2, 8});
    EXPECT_EQ(convert(tiffFile(kPageData, twoTiles), 0).info, "stripOffset");
}

TEST(TiffOutputGenerator, RecodedPagesCarryTheirCodingTags)
{
    struct Case {
        std::int32_t nCompression;
        std::int32_t nT4Options;
        bool bT6Options;
    };
    for (const Case& test : {Case{1, 0, false}, Case{2, 0, false}, Case{3, 4, false}, Case{4, 0, true}}) {
        // A Group 3 page tag (T4Options 1) and FillOrder 2 on the uncompressed input.
        std::vector<unsigned char> reversed = {0xFF, 0xFF, 0x00, 0x00};
        Result result = convert(tiffFile(reversed, with(with(pageEntries(), {266, 3, 1, 2}), {292, 4, 1, 1})), test.nCompression, true);
        ASSERT_EQ(result.nCode, 0) << test.nCompression;
        EXPECT_EQ(tagValue(result.output, 259), test.nCompression);
        EXPECT_EQ(tagValue(result.output, 292), test.nT4Options) << test.nCompression;
        EXPECT_EQ(tagValue(result.output, 266), 1);
        EXPECT_EQ(tagValue(result.output, 278), 2);
        // T6Options is written as a LONG 0 only for Group 4.
        std::int32_t nIfd = LittleEndian::toInt32(result.output.data(), 4, 4);
        bool bHasT6 = false;
        for (std::int32_t i = 0; i < LittleEndian::toInt32(result.output.data(), nIfd, 2); ++i)
            bHasT6 = bHasT6 || LittleEndian::toInt32(result.output.data(), nIfd + 2 + 12 * i, 2) == 293;
        EXPECT_EQ(bHasT6, test.bT6Options) << test.nCompression;
        EXPECT_EQ(nIfd % 4, 2);
    }
}

TEST(TiffOutputGenerator, DiscardKeepsTheDirectoryOnly)
{
    Result result = convert(tiffFile(kPageData, pageEntries()), -1);
    ASSERT_EQ(result.nCode, 0);
    EXPECT_EQ(tagValue(result.output, 279), 0);
    EXPECT_EQ(tagValue(result.output, 259), 0xFFFF);
}

TEST(TiffOutputGenerator, UnseekableOutputGetsTheWholeFileAtFinish)
{
    std::vector<unsigned char> input = tiffFile(kPageData, pageEntries());
    Result seekable = convert(input, 4);
    ForwardOnlyStream forward;
    VectorStream source(input);
    TiffOutputGenerator generator;
    generator.configure(4, false, true, 32768);
    TiffBundler bundler;
    bundler.setOutputGenerator(&generator);
    bundler.setOutputStream(&forward, false, 0);
    bundler.start(false);
    bundler.setInputStream(&source);
    bundler.generate();
    EXPECT_TRUE(forward.bytes().empty());
    bundler.finish();
    EXPECT_EQ(forward.bytes(), seekable.output);
}

TEST(TiffOutputGenerator, OldJpegPagesMoveWithTheirHeader)
{
    // Header bytes "H0".."H9" with the three table offsets inside it, a 4-byte scan, and the
    // stream's end marker "EI" behind the strip.
    std::vector<unsigned char> data = {'H', '0', 'Q', 'Q', 'D', 'D', 'A', 'A', 'H', '9', 'S', 'C', 'A', 'N', 'E', 'I'};
    std::vector<Entry> entries = {{256, 4, 1, 16}, {257, 4, 1, 2}, {258, 3, 1, 8}, {259, 3, 1, 6}, {262, 3, 1, 2},
                                  {273, 4, 1, 18}, {277, 3, 1, 3}, {278, 4, 1, 2}, {279, 4, 1, 4},
                                  {513, 4, 1, 8}, {514, 4, 1, 16}, {519, 4, 1, 10}, {520, 4, 1, 12}, {521, 4, 1, 14}};
    // Written twice: the second copy lies behind the first, so every offset moves.
    TiffOutputGenerator generator;
    generator.configure(0, false, true, 32768);
    const std::vector<unsigned char> out = bundle(generator, tiffFile(data, entries), 2);
    std::int32_t nFirstIfd = LittleEndian::toInt32(out.data(), 4, 4);
    std::int32_t nLastIfd = LittleEndian::toInt32(out.data(), nFirstIfd + 2 + 12 * LittleEndian::toInt32(out.data(), nFirstIfd, 2), 4);
    ASSERT_GT(nLastIfd, nFirstIfd);
    // Read the tags of the appended page's IFD.
    auto value = [&](std::int32_t nTag) {
        std::int32_t nCount = LittleEndian::toInt32(out.data(), nLastIfd, 2);
        for (std::int32_t i = 0; i < nCount; ++i) {
            const unsigned char* pEntry = out.data() + nLastIfd + 2 + 12 * i;
            if (LittleEndian::toInt32(pEntry, 0, 2) == nTag)
                return LittleEndian::toInt32(pEntry, 8, 4);
        }
        return -1;
    };
    std::int32_t nHeader = value(513);
    ASSERT_GE(nHeader, 16);
    EXPECT_EQ(std::string(out.begin() + nHeader, out.begin() + nHeader + 10), "H0QQDDAAH9");
    EXPECT_EQ(out[static_cast<std::size_t>(value(519))], 'Q');
    EXPECT_EQ(out[static_cast<std::size_t>(value(520))], 'D');
    EXPECT_EQ(out[static_cast<std::size_t>(value(521))], 'A');
    EXPECT_EQ(value(273), nHeader + 10);
    EXPECT_EQ(std::string(out.begin() + value(273), out.begin() + value(273) + 6), "SCANEI");
    EXPECT_EQ(value(514), 16);
}

TEST(TiffOutputGenerator, JpegPagesPassThroughThePixelFiltersUntouched)
{
    // A JPEG page with its 8-byte stream; cropping, padding and line filling cannot reach into
    // JPEG data, so the page keeps its size while the resolution still changes.
    std::vector<unsigned char> data = {'J', 'P', 'E', 'G', 'D', 'A', 'T', 'A'};
    std::vector<Entry> entries = {{256, 4, 1, 16}, {257, 4, 1, 2}, {258, 3, 1, 8}, {259, 3, 1, 7}, {262, 3, 1, 2},
                                  {273, 4, 1, 8}, {277, 3, 1, 3}, {278, 4, 1, 2}, {279, 4, 1, 8}, {513, 4, 1, 8}};
    TiffOutputGenerator generator;
    generator.configure(4, true, true, 32768);
    HeaderModificationFilter resolution;
    resolution.setXResolution(204, 1);
    ScanLineFillFilter fill;
    fill.setFillLineCount(1);
    CropPadFilter cropPad;
    cropPad.setPixelWidth(1728, 2);
    cropPad.setPixelHeight(30, 2);
    generator.addFilter(&resolution);
    generator.addFilter(&fill);
    generator.addFilter(&cropPad);
    const std::vector<unsigned char> out = bundle(generator, tiffFile(data, entries));
    EXPECT_EQ(tagValue(out, 256), 16);
    EXPECT_EQ(tagValue(out, 257), 2);
    EXPECT_EQ(tagValue(out, 259), 7);
    std::int32_t nStrip = tagValue(out, 273);
    EXPECT_EQ(std::string(out.begin() + nStrip, out.begin() + nStrip + 8), "JPEGDATA");
    EXPECT_EQ(tagValue(out, 513), nStrip);
    EXPECT_EQ(LittleEndian::toInt32(out.data(), tagValue(out, 282), 4), 204);
}

TEST(TiffOutputGenerator, AppendedPagesJoinTheChainLastAfterAFlush)
{
    const std::vector<unsigned char> existing = convert(tiffFile(kPageData, pageEntries()), 4).output;
    ASSERT_EQ(directoryCount(existing), 1);
    RecordingStream file(existing);
    TiffOutputGenerator generator;
    generator.configure(4, false, true, 32768);
    TiffBundler bundler;
    bundler.setOutputGenerator(&generator);
    // Buffered as the conversion does, so that a flush is what puts bytes into the file.
    bundler.setOutputStream(&file, true, 4096);
    bundler.start(true);
    VectorStream source(tiffFile(kPageData, pageEntries()));
    for (int i = 0; i < 2; ++i) {
        bundler.setInputStream(&source);
        bundler.generate();
    }
    EXPECT_EQ(directoryCount(file.bytes()), 1) << "the new pages are linked before finish";
    bundler.finish();
    EXPECT_EQ(directoryCount(file.bytes()), 3);

    // The one write into the file as it was is the link from its last IFD, the last write of
    // all, with a flush right before it.
    std::vector<std::size_t> inside;
    for (std::size_t i = 0; i < file.events.size(); ++i) {
        if (file.events[i].nCount > 0 && file.events[i].nPosition < existing.size())
            inside.push_back(i);
    }
    ASSERT_EQ(inside.size(), 1u);
    const std::size_t nLink = inside[0];
    EXPECT_EQ(file.events[nLink].nPosition, existing.size() - 4);
    EXPECT_EQ(file.events[nLink].nCount, 4);
    ASSERT_GT(nLink, 0u);
    EXPECT_EQ(file.events[nLink - 1].nCount, 0);
    for (std::size_t i = nLink + 1; i < file.events.size(); ++i)
        EXPECT_EQ(file.events[i].nCount, 0) << "a write after the link";
}

TEST(TiffOffsetStream, RefusesToGrowPastTheLastTiffOffset)
{
    // The inner stream stands for the last 10 bytes a TIFF file can have.
    VectorStream inner;
    TiffOffsetStream output;
    const std::uint32_t nBase = TiffUtil::kLongestFile - 10;
    output.attach(&inner, nBase, nBase);
    const unsigned char bytes[11] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    output.writeData(bytes, 0, 6);
    std::int32_t nCode = 0;
    try {
        output.writeData(bytes, 6, 5);
    } catch (const core::exception::BaseException& error) {
        nCode = error.getCode();
    }
    EXPECT_EQ(nCode, core::exception::maximumLengthExceeded);
    EXPECT_EQ(inner.bytes().size(), 6u) << "nothing of the refused write is written";
    output.writeData(bytes, 6, 4);
    EXPECT_EQ(output.getPosition(), TiffUtil::kLongestFile);
    ASSERT_TRUE(output.seekTo(nBase + 2));
    EXPECT_EQ(inner.getPosition(), 2u);
    EXPECT_FALSE(output.seekTo(nBase - 1));
    EXPECT_FALSE(output.seekTo(TiffUtil::kLongestFile + 1));
}
