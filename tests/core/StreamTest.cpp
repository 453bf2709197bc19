#include "core/exception.BaseException.h"
#include "core/io.BitOutputStream.h"
#include "core/io.BufferedStream.h"
#include "core/io.MemoryStream.h"
#include "core/io.NullOutputStream.h"
#include "core/io.StringStream.h"

#include "core/ThrownCode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace velmo::core;
using namespace velmo::core::io;
using exception::BaseException;
using velmo::tests::codeOf;

namespace {

const unsigned char kTen[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};

std::vector<unsigned char> contents(const MemoryStream& stream)
{
    return std::vector<unsigned char>(stream.getData(), stream.getData() + stream.getSize());
}

// Counts the calls that reach it, to show what a filter passes on.
class CountingStream : public MemoryStream {
public:
    std::int32_t readData(unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount) override
    {
        ++nReads;
        return MemoryStream::readData(pBuffer, nOffset, nByteCount);
    }
    void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount) override
    {
        ++nWrites;
        MemoryStream::writeData(pBuffer, nOffset, nByteCount);
    }
    int nReads = 0;
    int nWrites = 0;
};

}

TEST(MemoryStream, SeekFromEndCountsBackwards)
{
    MemoryStream stream;
    stream.writeData(kTen, 0, 10);
    EXPECT_TRUE(stream.seek(3, IStream::seekEnd));
    EXPECT_EQ(stream.getPosition(), 7u);
    EXPECT_FALSE(stream.seek(11, IStream::seekBegin));
    EXPECT_FALSE(stream.seek(-8, IStream::seekCurrent));
    EXPECT_EQ(stream.getPosition(), 7u);
    EXPECT_TRUE(stream.seek(10, IStream::seekBegin));
    EXPECT_EQ(codeOf([&] { stream.seek(0, 4); }), 4006);
}

TEST(MemoryStream, ReadsWritesAndOverwrites)
{
    MemoryStream stream;
    for (int i = 0; i < 100; ++i)
        stream.writeData(kTen, 2, 5);
    EXPECT_EQ(stream.getSize(), 500);
    stream.seek(1, IStream::seekBegin);
    stream.writeData(kTen, 9, 1);
    unsigned char buffer[8] = {};
    stream.seek(0, IStream::seekBegin);
    EXPECT_EQ(stream.readData(buffer, 1, 3), 3);
    EXPECT_EQ(buffer[1], 2);
    EXPECT_EQ(buffer[2], 9);
    EXPECT_EQ(buffer[3], 4);
    EXPECT_EQ(stream.readData(buffer, 0, 0), 0);
    EXPECT_EQ(codeOf([&] { stream.readData(buffer, 0, -1); }), 4006);
    EXPECT_EQ(codeOf([&] { stream.writeData(buffer, 0, -1); }), 4006);
    stream.seek(2, IStream::seekEnd);
    EXPECT_EQ(stream.readData(buffer, 0, 8), 2);
    EXPECT_EQ(stream.getByteAt(1), 9);
    stream.setByteAt(42, 499);
    EXPECT_EQ(stream.getByteAt(499), 42);
    EXPECT_EQ(codeOf([&] { stream.getByteAt(500); }), 4001);
    stream.reset();
    EXPECT_EQ(stream.getSize(), 0);
}

TEST(StringStream, SeekReachesExistingBytesOnly)
{
    StringStream stream;
    stream.setText("abcde");
    EXPECT_TRUE(stream.seek(0, IStream::seekEnd));
    EXPECT_EQ(stream.getPosition(), 4u);
    EXPECT_FALSE(stream.seek(5, IStream::seekBegin));
    unsigned char buffer[4] = {};
    EXPECT_EQ(stream.readData(buffer, 0, 4), 1);
    EXPECT_EQ(buffer[0], 'e');
    EXPECT_EQ(stream.readData(buffer, 0, 4), 0);
    const unsigned char more[] = {'X', 'Y'};
    stream.seek(3, IStream::seekBegin);
    stream.writeData(more, 0, 2);
    stream.writeData(more, 0, 2);
    EXPECT_STREQ(stream.getText().getBuffer(), "abcXYXY");
}

TEST(BufferedStream, BuffersAndRefusesRelativeSeeks)
{
    CountingStream inner;
    BufferedStream buffered;
    EXPECT_EQ(codeOf([&] { buffered.writeData(kTen, 0, 1); }), 4002);
    buffered.setStream(&inner, 4096);
    EXPECT_EQ(codeOf([&] { buffered.seek(0, IStream::seekCurrent); }), 4914);

    for (int i = 0; i < 1000; ++i)
        buffered.writeData(kTen, 0, 10);
    EXPECT_EQ(inner.nWrites, 2);
    EXPECT_EQ(buffered.getPosition(), 10000u);
    buffered.flush();
    EXPECT_EQ(inner.getSize(), 10000);

    ASSERT_TRUE(buffered.seek(5, IStream::seekBegin));
    unsigned char buffer[20] = {};
    inner.nReads = 0;
    EXPECT_EQ(buffered.readData(buffer, 0, 0), 0);
    EXPECT_EQ(inner.nReads, 0);
    EXPECT_EQ(codeOf([&] { buffered.readData(buffer, 0, -1); }), 4006);
    EXPECT_EQ(buffered.readData(buffer, 0, 20), 20);
    EXPECT_EQ(buffer[0], 5);
    EXPECT_EQ(buffer[19], 4);
    EXPECT_EQ(buffered.getPosition(), 25u);
    ASSERT_TRUE(buffered.seek(3, IStream::seekEnd));
    EXPECT_EQ(buffered.readData(buffer, 0, 20), 3);
}

TEST(NullOutputStream, CountsOnly)
{
    NullOutputStream stream;
    stream.writeData(kTen, 0, 10);
    stream.writeData(kTen, 3, 5);
    EXPECT_EQ(stream.getCount(), 15);
    EXPECT_EQ(stream.getPosition(), 0xFFFFFFFFu);
    EXPECT_TRUE(stream.seek(100, IStream::seekBegin));
    unsigned char buffer[1];
    EXPECT_EQ(codeOf([&] { stream.readData(buffer, 0, 1); }), 4003);
    stream.resetCount();
    EXPECT_EQ(stream.getCount(), 0);
}

TEST(BitOutputStream, PacksMostSignificantFirst)
{
    struct Case {
        const char* pszName;
        void (*write)(BitOutputStream&);
        std::vector<unsigned char> expected;
    };
    const Case cases[] = {
        {"three ones, flushed at the top of the byte", [](BitOutputStream& bits) { bits.writeBits(1, 3); bits.flush(); },
         {0xE0}},
        {"twenty ones: two whole bytes and four pending", [](BitOutputStream& bits) { bits.writeBits(1, 20); },
         {0xFF, 0xFF}},
        {"runs across byte edges",
         [](BitOutputStream& bits) { bits.writeBits(0, 3); bits.writeBits(1, 10); bits.writeBits(0, 3); },
         {0x1F, 0xF8}},
        {"codes of several widths",
         [](BitOutputStream& bits) { bits.writeCode(0x1, 1); bits.writeCode(0x35, 8); bits.writeCode(0x1, 12); bits.writeCode(0x7, 3); },
         {0x9A, 0x80, 0x0F}},
        {"bytes after pending bits are shifted in",
         [](BitOutputStream& bits) { const unsigned char data[] = {0xFF, 0x00}; bits.writeBits(1, 4); bits.writeData(data, 0, 2); bits.flush(); },
         {0xFF, 0xF0, 0x00}},
        {"a long run uses whole blocks", [](BitOutputStream& bits) { bits.writeBits(1, 8 * 5000 + 1); bits.flush(); },
         [] { std::vector<unsigned char> bytes(5000, 0xFF); bytes.push_back(0x80); return bytes; }()},
    };
    for (const Case& test : cases) {
        MemoryStream sink;
        BitOutputStream bits;
        bits.setStream(&sink);
        test.write(bits);
        EXPECT_EQ(contents(sink), test.expected) << test.pszName;
    }
}

TEST(BitOutputStream, RejectsBadCountsAndReads)
{
    MemoryStream sink;
    BitOutputStream bits;
    bits.setStream(&sink);
    EXPECT_EQ(codeOf([&] { bits.writeBits(1, -1); }), 4006);
    EXPECT_EQ(codeOf([&] { bits.writeCode(1, 0); }), 4006);
    unsigned char buffer[1];
    EXPECT_EQ(codeOf([&] { bits.readData(buffer, 0, 1); }), 4003);
    EXPECT_FALSE(bits.canRead());
}
