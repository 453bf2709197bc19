#include "lib/TestStreams.h"
#include "lib/graphics.Group3DecoderStream.h"
#include "lib/graphics.Group3EncoderStream.h"

#include <gtest/gtest.h>

#include <random>

using namespace velmo::tests;
using velmo::lib::graphics::Group3DecoderStream;
using velmo::lib::graphics::Group3EncoderStream;

namespace {

using Values = std::vector<std::uint16_t>;

std::vector<unsigned char> encode(std::int32_t nWidth, const Values& runs, bool bEndOfLine)
{
    VectorStream sink;
    Group3EncoderStream encoder;
    encoder.initialise(&sink, nWidth, 1, 1, bEndOfLine, true);
    writeValues(encoder, runs);
    encoder.flush();
    return sink.bytes();
}

Values decode(std::int32_t nWidth, const std::vector<unsigned char>& bytes, bool bByteAlign, bool bReverse = false)
{
    VectorStream sink;
    Group3DecoderStream decoder;
    decoder.initialise(&sink, nWidth, bByteAlign, bReverse);
    decoder.writeData(bytes.data(), 0, static_cast<std::int32_t>(bytes.size()));
    decoder.flush();
    return sink.values();
}

TEST(Group3Encoder, CodesRowsAsTheStandardSays)
{
    // Modified Huffman: white 8 (10011) fills the row; the empty black run after it
    // begins at the width and is dropped; 0 bits to the byte boundary.
    EXPECT_EQ(encode(8, {8, 0, 0xFFFF, 0, 8, 0xFFFF}, false), (std::vector<unsigned char>{0x98, 0x35, 0x14}));
    // A run of 2561: the 2560 make-up code, then the code of 1.
    EXPECT_EQ(bitsOfBytes(encode(2561, {2561, 0, 0xFFFF}, false)), "000000011111" "000111" "000000");
    // T.4 with EOL: an EOL before the first row and after each row, each ending a byte.
    EXPECT_EQ(bitsOfBytes(encode(8, {8, 0, 0xFFFF, 0, 8, 0xFFFF}, true)),
              "0000" "000000000001" "10011" "0000000" "000000000001" "00110101" "000101" "000000" "000000000001");
}

TEST(Group3, DecodingReproducesTheRunsOfRandomRows)
{
    std::mt19937 random(3);
    for (std::int32_t nWidth : {1, 13, 1728, 5000}) {
        Values runs;
        for (int nRow = 0; nRow < 20; ++nRow) {
            std::int32_t nLeft = nWidth;
            std::size_t nRowStart = runs.size();
            while (nLeft > 0) {
                std::int32_t nRun = static_cast<std::int32_t>(random() % (random() % 4 == 0 ? 3000 : 40));
                nRun = nRun < nLeft ? nRun : nLeft;
                if (nRun == 0 && runs.size() > nRowStart)
                    nRun = 1;
                runs.push_back(static_cast<std::uint16_t>(nRun));
                nLeft -= nRun;
            }
            if ((runs.size() - nRowStart) % 2)
                runs.push_back(0);
            runs.push_back(0xFFFF);
        }
        SCOPED_TRACE(nWidth);
        EXPECT_EQ(decode(nWidth, encode(nWidth, runs, false), true), runs);
        EXPECT_EQ(decode(nWidth, encode(nWidth, runs, true), false), runs);
        EXPECT_EQ(decode(nWidth, reversedBits(encode(nWidth, runs, true)), false, true), runs) << "FillOrder 2";
    }
}

TEST(Group3Decoder, CutsRunsThatOverflowTheRow)
{
    // White 64+8 in a row of 10, then white 2 (0111), black 8 (000101): two rows of 10.
    EXPECT_EQ(decode(10, bytesOfBits("11011 10011 0111 000101"), false), (Values{10, 0, 0xFFFF, 2, 8, 0xFFFF}));
    // Bits that begin no code and EOLs are skipped one at a time.
    EXPECT_EQ(decode(8, bytesOfBits("0000000000000 000000000001 10011"), false), (Values{8, 0, 0xFFFF}));
}

TEST(Group3Encoder, DropsPixelsPastTheWidthAndCompletesShortRows)
{
    EXPECT_EQ(decode(8, encode(8, {5, 9, 7, 0xFFFF, 3, 0xFFFF}, false), true), (Values{5, 3, 0xFFFF, 3, 0, 5, 0, 0xFFFF}));
}

}
