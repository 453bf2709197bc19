#include "core/exception.BaseException.h"
#include "core/io.MemoryStream.h"
#include "lib/TestStreams.h"
#include "lib/graphics.PdfOutputGenerator.h"
#include "lib/graphics.TiffConstants.h"
#include "lib/graphics.TiffPageImage.h"

#include <gtest/gtest.h>

#include <string>

using namespace velmo;
using namespace velmo::lib::graphics;
using velmo::tests::VectorStream;

namespace {

template <typename Call>
std::int32_t codeOf(Call call)
{
    try {
        call();
    } catch (const core::exception::BaseException& error) {
        return error.getInternalCode() ? error.getInternalCode() : error.getCode();
    }
    return 0;
}

void setValue(TiffPageImage& page, std::int32_t nTag, std::int32_t nType, std::int32_t nValue)
{
    TiffTag& tag = *page.addTag(nTag);
    tag.setDataType(nType);
    tag.setValueCount(1, TiffConstants::getDataTypeByteCount(nType));
    tag.setValueOffset(nValue);
}

void setRational(TiffPageImage& page, std::int32_t nTag, std::int32_t nNumerator, std::int32_t nDenominator)
{
    TiffTag& tag = *page.addTag(nTag);
    tag.setDataType(TiffConstants::typeRational);
    tag.setValueCount(1, 8);
    tag.setRationalTop(0, nNumerator);
    tag.setRationalBottom(0, nDenominator);
}

// A Group 4 page of the given size whose strips are the given byte counts of the source.
struct Page {
    VectorStream source{std::vector<unsigned char>(4096, 0x55)};
    TiffPageImage image;

    Page(std::int32_t nWidth, std::int32_t nLength, std::int32_t nXResolution, std::int32_t nYResolution,
         std::initializer_list<std::int32_t> stripRows = {})
    {
        setValue(image, TiffConstants::tagImageWidth, TiffConstants::typeLong, nWidth);
        setValue(image, TiffConstants::tagImageLength, TiffConstants::typeLong, nLength);
        setValue(image, TiffConstants::tagBitsPerSample, TiffConstants::typeShort, 1);
        setValue(image, TiffConstants::tagCompression, TiffConstants::typeShort, 4);
        setRational(image, TiffConstants::tagXResolution, nXResolution, 1);
        setRational(image, TiffConstants::tagYResolution, nYResolution, 1);
        image.setStripStream(&source);
        if (stripRows.size() == 0) {
            image.addStrip(100, 0);
            return;
        }
        setValue(image, TiffConstants::tagRowsPerStrip, TiffConstants::typeLong, *stripRows.begin());
        std::int32_t nOffset = 0;
        for (std::int32_t nRows : stripRows) {
            image.addStrip(nRows, nOffset);
            nOffset += nRows;
        }
    }
};

std::string documentOf(Page& page, double dZoom, const char* pszUser = nullptr)
{
    core::io::MemoryStream output;
    PdfOutputGenerator generator;
    generator.setDocumentInfo("", "", dZoom);
    if (pszUser)
        generator.secureOutput(reinterpret_cast<const unsigned char*>("5038271946610427"), 16, nullptr, 0,
                               reinterpret_cast<const unsigned char*>(pszUser), 4, -4, false);
    generator.setOutputStream(&output);
    generator.start();
    generator.addTiffPage(page.image);
    generator.finish();
    return std::string(reinterpret_cast<const char*>(output.getData()), static_cast<std::size_t>(output.getSize()));
}

std::size_t offsetOf(const std::string& document, const std::string& text)
{
    std::size_t nOffset = document.find(text);
    EXPECT_NE(nOffset, std::string::npos) << text;
    return nOffset;
}

}

TEST(PdfOutputGenerator, OnePageDocumentLayout)
{
    Page page(1728, 2200, 204, 196);
    std::string document = documentOf(page, 0);
    EXPECT_EQ(document.substr(0, 32), "%PDF-1.3\r\n%\xE2\xE3\xCF\xD3\r\nXFORMAT=KVPDF\r\n");
    // Objects in the order written: information, image, content, resources, page, page tree, catalog.
    const char* objects[] = {"1 0 obj", "3 0 obj", "4 0 obj", "5 0 obj", "6 0 obj", "2 0 obj", "7 0 obj"};
    std::size_t nPrevious = 0;
    for (const char* pszObject : objects) {
        std::size_t nOffset = offsetOf(document, std::string("\r\n") + pszObject + "\r\n");
        EXPECT_GT(nOffset, nPrevious) << pszObject;
        nPrevious = nOffset;
        // The cross-reference entry points at the object.
        char szEntry[32];
        std::snprintf(szEntry, sizeof szEntry, "%010zu 00000 n", nOffset + 2);
        EXPECT_NE(document.find(szEntry), std::string::npos) << pszObject;
    }
    offsetOf(document, "1 0 obj\r\n<<\r\n>>\r\nendobj\r\n");
    offsetOf(document, "xref\r\n0 8\r\n0000000000 65535 f\r\n");
    // 1728 x 2200 pixels at 204 x 196 dpi, 15 decimals (the last ones are the double's).
    std::size_t nMediaBox = offsetOf(document, "/MediaBox [0 0 609.88235294117");
    EXPECT_EQ(document.find(" 808.16326530612", nMediaBox), nMediaBox + 34) << document.substr(nMediaBox, 60);
    offsetOf(document, "/Filter [/CCITTFaxDecode] /DecodeParms [<< /Columns 1728 /Rows 2200 /K -1 >>]\r\n");
    offsetOf(document, "%xxTiffTag 256 4 1 C0060000\r\n");
    EXPECT_EQ(document.find("/ID"), std::string::npos);
    EXPECT_EQ(document.find("/Encrypt"), std::string::npos);
    EXPECT_EQ(document.find("/OpenAction"), std::string::npos);
    std::size_t nXref = offsetOf(document, "xref\r\n");
    char szStart[64];
    std::snprintf(szStart, sizeof szStart, "startxref\r\n%010zu\r\n%%%%EOF\r\n", nXref);
    EXPECT_EQ(document.substr(document.size() - std::string(szStart).size()), szStart);
}

TEST(PdfOutputGenerator, StripsStackFromTheTop)
{
    Page page(100, 160, 72, 72, {100, 60});
    std::string document = documentOf(page, -2);
    offsetOf(document, "q\r\n1 0 0 1 0 60.0000000000 cm\r\n100.0000000000 0 0 100.0000000000 0 0 cm\r\n/im1 Do\r\nQ\r\n");
    offsetOf(document, "q\r\n1 0 0 1 0 0.0000000000 cm\r\n100.0000000000 0 0 60.0000000000 0 0 cm\r\n/im2 Do\r\nQ\r\n");
    offsetOf(document, "/Rows 60 /K -1");
    offsetOf(document, "/D [7 0 R /Fit]\r\n");
}

TEST(PdfOutputGenerator, OpenZoomActions)
{
    const std::pair<double, const char*> cases[] = {
        {-1, "/FitH -32768]"}, {1.0, "/XYZ -32768 -32768 1.000000000000000]"}, {1.5, "/XYZ -32768 -32768 1.500000000000000]"}};
    for (const auto& [dZoom, pszAction] : cases) {
        Page page(100, 100, 100, 100);
        std::string document = documentOf(page, dZoom);
        offsetOf(document, pszAction);
        offsetOf(document, "/OpenAction ");
    }
}

TEST(PdfOutputGenerator, EncryptionEntries)
{
    Page page(100, 100, 100, 100);
    std::string document = documentOf(page, 0, "user");
    offsetOf(document, "/Filter /Standard\r\n/V 1\r\n/Length 40\r\n/R 2\r\n/P -4\r\n/O <");
    offsetOf(document, "/ID [<35303338323731393436363130343237><35303338323731393436363130343237>]\r\n");
    offsetOf(document, "/Encrypt ");
    // The image stream is encrypted: its bytes are no longer the source's.
    std::size_t nStream = offsetOf(document, "stream\r\n") + 8;
    EXPECT_NE(document.substr(nStream, 4), std::string(4, 0x55));
}

TEST(PdfOutputGenerator, RefusesBadSettingsAndPages)
{
    PdfOutputGenerator generator;
    const unsigned char id[16] = {};
    const unsigned char longPassword[33] = {};
    EXPECT_EQ(codeOf([&] { generator.secureOutput(id, 15, nullptr, 0, id, 1, 0, false); }), 4973);
    EXPECT_EQ(codeOf([&] { generator.secureOutput(id, 16, longPassword, 33, id, 1, 0, false); }), 4972);
    EXPECT_EQ(codeOf([&] { generator.appendStart(); }), 4974);

    struct Case {
        const char* pszName;
        void (*spoil)(Page&);
        std::int32_t nCode;
    };
    const Case cases[] = {
        {"no resolution", [](Page& page) { page.image.removeTag(TiffConstants::tagXResolution); }, 4951},
        {"zero resolution", [](Page& page) { setRational(page.image, TiffConstants::tagYResolution, 0, 1); }, 4958},
        {"zero resolution denominator", [](Page& page) { setRational(page.image, TiffConstants::tagXResolution, 200, 0); }, 4958},
        {"no width", [](Page& page) { page.image.removeTag(TiffConstants::tagImageWidth); }, 4951},
        {"several strips without rows per strip", [](Page& page) { page.image.addStrip(1, 0); }, 4951},
        {"rows per strip leaving the last strip empty",
         [](Page& page) {
             page.image.addStrip(1, 0);
             setValue(page.image, TiffConstants::tagRowsPerStrip, TiffConstants::typeLong, 100);
         },
         4958},
        {"rows per strip beyond any image",
         [](Page& page) {
             page.image.addStrip(1, 0);
             page.image.addStrip(1, 0);
             page.image.addStrip(1, 0);
             setValue(page.image, TiffConstants::tagRowsPerStrip, TiffConstants::typeLong, 1442851401);
         },
         4958},
    };
    for (const Case& test : cases) {
        Page page(100, 100, 100, 100);
        test.spoil(page);
        EXPECT_EQ(codeOf([&] { documentOf(page, 0); }), test.nCode) << test.pszName;
    }
    // A strip that runs past the end of its file.
    Page page(100, 100, 100, 100, {50, 4050});
    EXPECT_EQ(codeOf([&] { documentOf(page, 0); }), 4961);
}

TEST(PdfOutputGenerator, UncompressedPagesKeepTheirColours)
{
    struct Case {
        std::int32_t nSamples, nBits, nPhotometric;
        const char* pszColorSpace;
        unsigned char nFirstByte;
    };
    const Case cases[] = {
        {1, 1, 0, "/DeviceGray", 0xAA},   // white is zero: inverted
        {1, 1, 1, "/DeviceGray", 0x55},   // black is zero: as it stands
        {3, 8, 2, "/DeviceRGB", 0x55},
    };
    for (const Case& test : cases) {
        Page page(4, 1, 100, 100);
        setValue(page.image, TiffConstants::tagCompression, TiffConstants::typeShort, 1);
        setValue(page.image, 277, TiffConstants::typeShort, test.nSamples);
        setValue(page.image, TiffConstants::tagBitsPerSample, TiffConstants::typeShort, test.nBits);
        setValue(page.image, TiffConstants::tagPhotometricInterpretation, TiffConstants::typeShort, test.nPhotometric);
        std::string document = documentOf(page, 0);
        offsetOf(document, std::string("/ColorSpace ") + test.pszColorSpace + "\r\n");
        EXPECT_EQ(document.find("/Filter"), std::string::npos);
        std::size_t nStream = offsetOf(document, "/Length 104\r\n>>\r\nstream\r\n") + 25;
        EXPECT_EQ(static_cast<unsigned char>(document[nStream]), test.nFirstByte) << test.pszColorSpace;
    }
}

TEST(PdfOutputGenerator, JpegPagesBeginWithTheStartOfImageMarker)
{
    struct Case {
        std::int32_t nCompression;
        bool bMarker;
        std::int32_t nCode;
    };
    for (const Case& test : {Case{7, true, 0}, Case{7, false, 4958}, Case{6, true, 0}, Case{6, false, 4958}}) {
        Page page(100, 100, 100, 100);
        setValue(page.image, TiffConstants::tagCompression, TiffConstants::typeShort, test.nCompression);
        // An old-style JPEG page names its stream with JPEGInterchangeFormat and its length.
        setValue(page.image, TiffConstants::tagJpegInterchangeFormat, TiffConstants::typeLong, 0);
        setValue(page.image, 514, TiffConstants::typeLong, 100);
        if (test.bMarker) {
            const unsigned char startOfImage[2] = {0xFF, 0xD8};
            page.source.writeData(startOfImage, 0, 2);
        }
        std::string document;
        EXPECT_EQ(codeOf([&] { document = documentOf(page, 0); }), test.nCode) << test.nCompression << " " << test.bMarker;
        if (test.nCode == 0)
            offsetOf(document, "/Filter [/DCTDecode]\r\n");
    }
}
