#include "lib/TestStreams.h"
#include "core/exception.UnsupportedException.h"
#include "lib/graphics.BitmapEncoderStream.h"
#include "lib/graphics.Group4DecoderStream.h"
#include "lib/graphics.Group4EncoderStream.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::tests;
using lib::graphics::BitmapEncoderStream;
using lib::graphics::Group4DecoderStream;
using lib::graphics::Group4EncoderStream;

namespace {

const std::string kEofb = "000000000001000000000001";

std::string encodeBits(std::int32_t nWidth, const std::vector<std::uint16_t>& runs, std::int32_t nLines)
{
    VectorStream sink;
    Group4EncoderStream encoder;
    encoder.initialise(&sink, nWidth, nLines, nLines);
    writeValues(encoder, runs);
    encoder.flush();
    return bitsOfBytes(sink.bytes());
}

std::vector<std::uint16_t> decode(std::int32_t nWidth, std::int32_t nLines, const std::vector<unsigned char>& bytes, bool bReverse = false,
                                  std::int32_t nRowsPerStrip = 0)
{
    VectorStream sink;
    Group4DecoderStream decoder;
    decoder.initialise(&sink, nWidth, nLines, nRowsPerStrip > 0 ? nRowsPerStrip : nLines, bReverse);
    decoder.writeData(bytes.data(), 0, static_cast<std::int32_t>(bytes.size()));
    decoder.flush();
    return sink.values();
}

TEST(Group4Encoder, CodesTheStandardsExamples)
{
    struct Case {
        const char* pszName;
        std::int32_t nWidth;
        std::vector<std::uint16_t> runs;
        std::string bits;
    };
    const Case cases[] = {
        {"all-white line: V0", 1728, {1728, 0, 0xFFFF}, "1" + kEofb},
        {"line starting black: horizontal with a white run of 0", 8, {0, 8, 0xFFFF}, "001 00110101 000101" + kEofb},
        {"white run of 5000: two make-up codes", 5100, {5000, 100, 0xFFFF},
         "001 000000011111 000000011101 10011 0000001111 000011010100" + kEofb},
        {"empty runs inside a line join their neighbours", 16, {4, 0, 4, 8, 0xFFFF}, "001 10011 000101" + kEofb},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        std::string expected;
        for (char ch : c.bits)
            if (ch != ' ')
                expected += ch;
        expected.resize((expected.size() + 7) / 8 * 8, '0');
        EXPECT_EQ(encodeBits(c.nWidth, c.runs, 1), expected);
    }
}

TEST(Group4Encoder, EndsEveryStripWithEofbOnAByteBoundary)
{
    VectorStream sink;
    Group4EncoderStream encoder;
    encoder.initialise(&sink, 64, 3, 2);
    writeValues(encoder, {64, 0, 0xFFFF, 64, 0, 0xFFFF, 64, 0, 0xFFFF});
    encoder.flush();
    // Two V0 lines and EOFB, padded; then the second strip starts from a white line again.
    EXPECT_EQ(bitsOfBytes(sink.bytes()), "11" + kEofb + "000000" + "1" + kEofb + "0000000");
}

TEST(Group4Encoder, ShortLineRaisesIndexOutOfBounds)
{
    VectorStream sink;
    Group4EncoderStream encoder;
    encoder.initialise(&sink, 100, 1, 1);
    try {
        writeValues(encoder, {50, 0, 0xFFFF});
        FAIL() << "no exception";
    } catch (const core::exception::BaseException& e) {
        EXPECT_EQ(e.getCode(), core::exception::indexOutOfBounds);
    }
}

// Lines that exercise every mode: pass, all vertical offsets, horizontal with make-up
// codes, lines starting black, runs longer than 2560.
std::vector<std::uint16_t> mixedPage(std::int32_t nWidth)
{
    std::vector<std::vector<std::uint16_t>> lines = {
        {100, 50, 200, 10, 2000, 40},
        {101, 49, 199, 12, 1999, 40},
        {104, 43, 206, 9, 1995, 43},
        {0, 5, 300, 3, 1932, 160},
        {0, 2400},
        {2400, 0},
        {10, 10, 10, 10, 10, 10, 2340, 0},
        {98, 3, 100, 3, 2196, 0},
        {1, 1, 1, 1, 1, 1, 1, 2393},
    };
    std::vector<std::uint16_t> runs;
    for (const auto& line : lines) {
        std::int32_t nSum = 0;
        for (std::uint16_t nRun : line)
            nSum += nRun;
        EXPECT_EQ(nSum, nWidth);
        runs.insert(runs.end(), line.begin(), line.end());
        runs.push_back(0xFFFF);
    }
    return runs;
}

TEST(Group4Decoder, ReproducesTheEncodersRunStream)
{
    std::vector<std::uint16_t> runs = mixedPage(2400);
    VectorStream coded;
    Group4EncoderStream encoder;
    encoder.initialise(&coded, 2400, 9, 4);
    writeValues(encoder, runs);
    encoder.flush();
    EXPECT_EQ(decode(2400, 9, coded.bytes(), false, 4), runs);

    std::vector<unsigned char> trailing = coded.bytes();
    trailing.insert(trailing.end(), {0xFF, 0x00, 0x12});
    EXPECT_EQ(decode(2400, 9, trailing, false, 4), runs) << "input past the last line is ignored";
    EXPECT_EQ(decode(2400, 9, reversedBits(coded.bytes()), true, 4), runs) << "FillOrder 2";
}

TEST(Group4Decoder, DecodesALastCodeWithoutEofb)
{
    // V0 for a white line, then nothing: the code is decoded when the stream is flushed.
    EXPECT_EQ(decode(1728, 1, bytesOfBits("1")), (std::vector<std::uint16_t>{1728, 0, 0xFFFF}));
}

TEST(Group4Decoder, RejectsCodesThatLeaveTheLine)
{
    struct Case {
        const char* pszName;
        std::string bits;
    };
    // Width 8 under a white reference line (b1 = b2 = 8).
    const Case cases[] = {
        {"VR1 past the width", "011"},
        {"VL3 left of a0", "001 0111 11 1" "1 0000010"},
        {"horizontal run past the width", "001 1011 0011"},
        {"EOL in horizontal mode", "001 000000000001"},
        {"invalid code in horizontal mode", "001 000000000000 1"},
        {"empty horizontal runs that would not advance", "001 1011 000101 001 00110101 0000110111"},
        {"extension code", "0000001111"},
        {"pass to the end of the line", "0001"},
        {"make-up codes adding up past the width", "001 000000011111 000000011111"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        try {
            decode(8, 2, bytesOfBits(c.bits + "1111111111111111"));
            ADD_FAILURE() << "no exception";
        } catch (const core::exception::UnsupportedException& e) {
            EXPECT_EQ(e.getCode(), core::exception::unsupported);
            EXPECT_EQ(e.getInternalCode(), core::exception::tifGroup4UnsupportedCodeword);
        }
    }
}

TEST(Group4Decoder, KeepsTheLinesDecodedBeforeBadData)
{
    VectorStream sink;
    Group4DecoderStream decoder;
    decoder.initialise(&sink, 8, 3, 3, false);
    std::vector<unsigned char> bytes = bytesOfBits("1 1 011 1111111111111111");
    EXPECT_THROW(decoder.writeData(bytes.data(), 0, static_cast<std::int32_t>(bytes.size())), core::exception::UnsupportedException);
    EXPECT_EQ(sink.values(), (std::vector<std::uint16_t>{8, 0, 0xFFFF, 8, 0, 0xFFFF}));
}

// A line like the one above codes as a row of V0 codes, here longer than the decoder
// reads at once; it must decode alike across writes of any size, to runs, to bitmap rows,
// and straight into an encoder, which gives back the same code.
TEST(Group4Decoder, DecodesLongRowsOfV0Codes)
{
    const std::int32_t nWidth = 1000;
    const auto dotted = [](std::uint16_t nFirst) {
        std::vector<std::uint16_t> line = {nFirst, 6};
        for (int i = 1; i < 80; ++i)
            line.insert(line.end(), {6, 6});
        line.insert(line.end(), {static_cast<std::uint16_t>(nWidth - 954 - nFirst), 0, 0xFFFF});
        return line;
    };
    std::vector<std::uint16_t> runs = {nWidth, 0, 0xFFFF};
    for (std::uint16_t nFirst : {5, 5, 5, 6, 5}) {
        std::vector<std::uint16_t> line = dotted(nFirst);
        runs.insert(runs.end(), line.begin(), line.end());
    }
    const std::int32_t nLines = 6;
    VectorStream coded;
    Group4EncoderStream encoder;
    encoder.initialise(&coded, nWidth, nLines, nLines);
    writeValues(encoder, runs);
    encoder.flush();
    const std::vector<unsigned char>& bytes = coded.bytes();
    VectorStream expectedRows;
    BitmapEncoderStream runsToRows;
    runsToRows.initialise(&expectedRows, nWidth);
    writeValues(runsToRows, runs);

    for (std::size_t nPiece : {bytes.size(), std::size_t{1}, std::size_t{3}}) {
        SCOPED_TRACE(nPiece);
        VectorStream values, rows, recoded;
        BitmapEncoderStream bitmap;
        bitmap.initialise(&rows, nWidth);
        Group4EncoderStream recoder;
        recoder.initialise(&recoded, nWidth, nLines, nLines);
        Group4DecoderStream decoders[3];
        decoders[0].initialise(&values, nWidth, nLines, nLines, false);
        decoders[1].initialise(&bitmap, nWidth, nLines, nLines, false);
        decoders[2].initialise(&recoder, nWidth, nLines, nLines, false);
        for (Group4DecoderStream& decoder : decoders) {
            for (std::size_t i = 0; i < bytes.size(); i += nPiece)
                decoder.writeData(bytes.data() + i, 0, static_cast<std::int32_t>(std::min(nPiece, bytes.size() - i)));
            decoder.flush();
        }
        EXPECT_EQ(values.values(), runs);
        EXPECT_EQ(rows.bytes(), expectedRows.bytes());
        EXPECT_EQ(recoded.bytes(), bytes);
    }
}

TEST(Group4Streams, AreWriteOnly)
{
    VectorStream sink;
    Group4DecoderStream decoder;
    decoder.initialise(&sink, 8, 1, 1, false);
    unsigned char nByte = 0;
    EXPECT_FALSE(decoder.canRead());
    EXPECT_FALSE(decoder.canSeek());
    EXPECT_FALSE(decoder.seek(0, 1));
    EXPECT_TRUE(decoder.canWrite());
    EXPECT_THROW(decoder.readData(&nByte, 0, 1), core::exception::UnsupportedException);
    decoder.close();
    EXPECT_TRUE(sink.m_bClosed);
}

}
