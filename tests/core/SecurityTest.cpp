#include "core/io.MemoryStream.h"
#include "core/security.Md5.h"
#include "core/security.Rc4Stream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace velmo::core;
using security::Md5;
using security::Rc4Stream;

namespace {

std::string hex(const unsigned char* pBytes, std::size_t nCount)
{
    std::string text;
    char szByte[3];
    for (std::size_t i = 0; i < nCount; ++i) {
        std::snprintf(szByte, sizeof szByte, "%02x", pBytes[i]);
        text += szByte;
    }
    return text;
}

std::string md5(const std::string& input, std::size_t nChunk)
{
    Md5 digest;
    const unsigned char* pBytes = reinterpret_cast<const unsigned char*>(input.data());
    for (std::size_t nDone = 0; nDone < input.size(); nDone += nChunk)
        digest.update(pBytes + nDone, static_cast<std::int32_t>(std::min(nChunk, input.size() - nDone)));
    digest.final();
    return hex(digest.getDigest(), 16);
}

}

TEST(Md5, Rfc1321TestSuite)
{
    const std::pair<std::string, const char*> cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& [input, expected] : cases) {
        EXPECT_EQ(md5(input, input.size() + 1), expected) << input;
        EXPECT_EQ(md5(input, 7), expected) << input << " in pieces";
    }
    // Lengths that fill a block exactly and that leave 56 to 63 bytes in the last block.
    EXPECT_EQ(md5(std::string(64, 'a'), 64), "014842d480b571495a4a0363793f7367");
    EXPECT_EQ(md5(std::string(56, 'a'), 56), "3b0c8ac703f828b04c6c197006d17218");
    EXPECT_EQ(md5(std::string(63, 'a'), 63), "b06521f39153d618550606be297466d5");
}

TEST(Md5, DigestInPlaceAndWipe)
{
    collections::SimpleTypeArray<unsigned char> bytes;
    for (char cChar : std::string("abc"))
        bytes.add(static_cast<unsigned char>(cChar));
    Md5::digestInPlace(bytes);
    ASSERT_EQ(bytes.getCount(), 16);
    EXPECT_EQ(hex(bytes.getData(), 16), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(Rc4, PublishedVectors)
{
    // Test vectors published with the cipher's description ("Key", "Wiki", "Secret").
    const struct {
        const char* pszKey;
        const char* pszPlain;
        const char* pszCipher;
    } cases[] = {
        {"Key", "Plaintext", "bbf316e8d940af0ad3"},
        {"Wiki", "pedia", "1021bf0420"},
        {"Secret", "Attack at dawn", "45a01f645fc35b383552544b9bf5"},
    };
    for (const auto& test : cases) {
        std::vector<unsigned char> data(test.pszPlain, test.pszPlain + std::strlen(test.pszPlain));
        Rc4Stream::rc4Crypt(reinterpret_cast<const unsigned char*>(test.pszKey), static_cast<std::int32_t>(std::strlen(test.pszKey)),
                            data.data(), 0, data.data(), 0, static_cast<std::int32_t>(data.size()));
        EXPECT_EQ(hex(data.data(), data.size()), test.pszCipher) << test.pszKey;
        Rc4Stream::rc4Crypt(reinterpret_cast<const unsigned char*>(test.pszKey), static_cast<std::int32_t>(std::strlen(test.pszKey)),
                            data.data(), 0, data.data(), 0, static_cast<std::int32_t>(data.size()));
        EXPECT_EQ(std::string(data.begin(), data.end()), test.pszPlain);
    }
}

TEST(Rc4, StreamKeyRunsOnAcrossWrites)
{
    const unsigned char key[5] = {1, 2, 3, 4, 5};
    std::vector<unsigned char> plain(1000);
    for (std::size_t i = 0; i < plain.size(); ++i)
        plain[i] = static_cast<unsigned char>(i * 7);

    io::MemoryStream whole;
    Rc4Stream one;
    one.setStream(&whole, key, 5);
    one.writeData(plain.data(), 0, 1000);

    io::MemoryStream pieces;
    Rc4Stream several;
    several.setStream(&pieces, key, 5);
    for (std::int32_t nDone = 0, nStep = 1; nDone < 1000; nDone += nStep, nStep *= 2) {
        nStep = std::min(nStep, 1000 - nDone);
        several.writeData(plain.data(), nDone, nStep);
    }
    ASSERT_EQ(pieces.getSize(), 1000);
    EXPECT_EQ(0, std::memcmp(whole.getData(), pieces.getData(), 1000));

    // Reading through a fresh cipher with the same key gives the plain text back.
    whole.seek(0, io::IStream::seekBegin);
    Rc4Stream reader;
    reader.setStream(&whole, key, 5);
    std::vector<unsigned char> back(1000);
    EXPECT_EQ(reader.readData(back.data(), 0, 1000), 1000);
    EXPECT_EQ(back, plain);
}
