#include "lib/graphics.PdfOutputGenerator.h"

#include "core/exception.BaseException.h"
#include "core/exception.UnsupportedException.h"
#include "core/io.MemoryStream.h"
#include "core/io.StringStream.h"
#include "core/security.Md5.h"
#include "core/security.Rc4Stream.h"
#include "lib/graphics.TiffConstants.h"
#include "lib/graphics.TiffPageImage.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace velmo::lib::graphics {

using core::String;
using core::collections::DictionaryList;
using core::collections::SimpleTypeArray;
using core::exception::BaseException;
using core::io::IStream;
using Bytes = SimpleTypeArray<unsigned char>;

namespace {

// Tags only the PDF pages read.
enum : std::int32_t {
    tagColorMap = 320,
    tagJpegInterchangeFormatLength = 514,
};

// The padding string of the standard security handler.
constexpr unsigned char kPasswordPadding[32] = {
    0x28, 0xBF, 0x4E, 0x5E, 0x4E, 0x75, 0x8A, 0x41, 0x64, 0x00, 0x4E, 0x56, 0xFF, 0xFA, 0x01, 0x08,
    0x2E, 0x2E, 0x00, 0xB6, 0xD0, 0x68, 0x3E, 0x80, 0x2F, 0x0C, 0xA9, 0xFE, 0x64, 0x53, 0x69, 0x7A,
};

const char* const kLineEnd = "\r\n";

String number(double dValue, std::int32_t nDecimals)
{
    char szBuffer[64] = {};
    String::formatNumber(dValue, szBuffer, sizeof szBuffer, nDecimals);
    return String(szBuffer);
}

String reference(std::int32_t nObject)
{
    String text(nObject);
    text.append(" 0 R");
    return text;
}

// Makes room for about nBytes more in one step. Text grows by small fixed steps, so the
// content of a page of thousands of strips would otherwise be copied over and over.
void reserve(String& text, std::int64_t nBytes)
{
    constexpr std::int64_t kMostReserved = 1 << 26;
    const std::int32_t nLength = text.getLength();
    const std::int64_t nRoom = std::min(nBytes, kMostReserved);
    if (nRoom <= 0 || nLength + nRoom >= INT32_MAX)
        return;
    text.setLength(static_cast<std::int32_t>(nLength + nRoom));
    text.setLength(nLength);
}

void appendHex(String& out, const unsigned char* pBytes, std::int32_t nCount)
{
    static const char kDigits[] = "0123456789ABCDEF";
    for (std::int32_t i = 0; i < nCount; ++i)
        out.append(kDigits[pBytes[i] >> 4]).append(kDigits[pBytes[i] & 15]);
}

void assign(Bytes& target, const unsigned char* pBytes, std::int32_t nCount)
{
    target.setCount(0);
    for (std::int32_t i = 0; i < nCount; ++i)
        target.add(pBytes[i]);
}

void append(Bytes& target, const unsigned char* pBytes, std::int32_t nCount)
{
    for (std::int32_t i = 0; i < nCount; ++i)
        target.add(pBytes[i]);
}

// The password's bytes, then the padding string, 32 bytes in all.
void padPassword(const Bytes& password, unsigned char (&padded)[32])
{
    std::int32_t nCount = password.getCount() < 32 ? password.getCount() : 32;
    for (std::int32_t i = 0; i < 32; ++i)
        padded[i] = i < nCount ? password.getData()[i] : kPasswordPadding[i - nCount];
}

// MD5 of the bytes, then (for 128-bit keys) 50 more passes over the first nKeyLength bytes.
void digestForKey(Bytes& bytes, std::int32_t nKeyLength, bool b128Bit)
{
    core::security::Md5::digestInPlace(bytes);
    if (b128Bit) {
        for (int i = 0; i < 50; ++i) {
            bytes.setCount(nKeyLength);
            core::security::Md5::digestInPlace(bytes);
        }
    }
    bytes.setCount(nKeyLength);
}

// RC4 with the key, then for 128-bit keys 19 more passes with each key byte XOR the pass.
void encryptPasses(const Bytes& key, unsigned char* pData, std::int32_t nCount, bool b128Bit)
{
    core::security::Rc4Stream::rc4Crypt(key.getData(), key.getCount(), pData, 0, pData, 0, nCount);
    if (!b128Bit)
        return;
    unsigned char passKey[16];
    for (int nPass = 1; nPass <= 19; ++nPass) {
        for (std::int32_t i = 0; i < key.getCount(); ++i)
            passKey[i] = static_cast<unsigned char>(key.getData()[i] ^ nPass);
        core::security::Rc4Stream::rc4Crypt(passKey, key.getCount(), pData, 0, pData, 0, nCount);
    }
}

TiffTag& requireTag(TiffPageImage& page, std::int32_t nTag, const char* pszName)
{
    TiffTag* pTag = page.getTag(nTag);
    if (!pTag)
        throw BaseException(VELMO_LOCATION, core::exception::tifTagNotFound, 0, pszName, "");
    return *pTag;
}

std::int32_t optionalValue(TiffPageImage& page, std::int32_t nTag, std::int32_t nDefault)
{
    TiffTag* pTag = page.getTag(nTag);
    return pTag && pTag->getValueCount() > 0 ? pTag->getLong(0) : nDefault;
}

// Points from pixels and a RATIONAL resolution (pixels per inch).
double toPoints(std::int32_t nPixels, TiffTag& resolution)
{
    std::int64_t nNumerator = static_cast<std::uint32_t>(resolution.getRationalTop(0));
    std::int64_t nDenominator = static_cast<std::uint32_t>(resolution.getRationalBottom(0));
    if (nNumerator == 0 || nDenominator == 0)
        throw BaseException(VELMO_LOCATION, core::exception::tifInvalidImage, 0, "resolution", "");
    return static_cast<double>(nDenominator) * nPixels * 72 / static_cast<double>(nNumerator);
}

// JPEG data that does not begin with the start-of-image marker (FF D8) is no image any
// reader decodes.
bool beginsWithJpegStart(IStream* pSource, std::int32_t nOffset, std::int32_t nLength)
{
    unsigned char marker[2] = {};
    return nLength >= 2 && pSource->seek(nOffset, IStream::seekBegin) && pSource->readData(marker, 0, 2) == 2
        && marker[0] == 0xFF && marker[1] == 0xD8;
}

unsigned char reverseBits(unsigned char nByte)
{
    nByte = static_cast<unsigned char>((nByte & 0xF0) >> 4 | (nByte & 0x0F) << 4);
    nByte = static_cast<unsigned char>((nByte & 0xCC) >> 2 | (nByte & 0x33) << 2);
    return static_cast<unsigned char>((nByte & 0xAA) >> 1 | (nByte & 0x55) << 1);
}

}

void PdfOutputGenerator::write(const char* pszText)
{
    write(pszText, String::getLength(pszText));
}

void PdfOutputGenerator::write(const char* pBytes, std::int32_t nCount)
{
    m_pOutput->writeData(reinterpret_cast<const unsigned char*>(pBytes), 0, nCount);
    m_nByteOffset += nCount;
}

void PdfOutputGenerator::setDocumentInfo(const char* pszProducer, const char* pszDate, double dOpenZoom)
{
    m_producer = pszProducer;
    m_date = pszDate;
    m_dOpenZoom = dOpenZoom;
    m_nFirstPageObject = -1;
    m_bEncrypted = false;
    m_b128BitKey = false;
}

void PdfOutputGenerator::appendStart()
{
    throw core::exception::UnsupportedException(VELMO_LOCATION, core::exception::unsupported,
                                                core::exception::pdfUnsupportedAppendOperation, "");
}

void PdfOutputGenerator::start()
{
    m_nByteOffset = m_nImageCounter = m_nPageCounter = 0;
    m_crossReferences.clear();
    m_pageReferences.clear();
    *m_crossReferences.addNew() = "0000000000 65535 f";
    *m_crossReferences.addNew() = "";
    *m_crossReferences.addNew() = "";
    write("%PDF-1.3\r\n%\xE2\xE3\xCF\xD3\r\nXFORMAT=KVPDF\r\n");

    DictionaryList information;
    if (!m_date.isEmpty()) {
        String date("(D:");
        date.append(m_date).append(')');
        information.add("ModDate", date);
        information.add("CreationDate", date);
    }
    if (!m_producer.isEmpty()) {
        String producer("(");
        producer.append(m_producer).append(')');
        information.add("Producer", producer);
    }
    writeObject(1, information, nullptr, 0, nullptr, 0);
}

void PdfOutputGenerator::makeObjectKey(std::int32_t nObjectNumber, Bytes& key) const
{
    assign(key, m_fileKey.getData(), m_fileKey.getCount());
    const unsigned char suffix[5] = {static_cast<unsigned char>(nObjectNumber), static_cast<unsigned char>(nObjectNumber >> 8),
                                     static_cast<unsigned char>(nObjectNumber >> 16), 0, 0};
    append(key, suffix, 5);
    core::security::Md5::digestInPlace(key);
    key.setCount(m_b128BitKey ? 16 : 10);
}

std::int32_t PdfOutputGenerator::copyStream(IStream* pSource, std::int32_t nLength, IStream* pTarget)
{
    std::int32_t nCopied = 0;
    while (nCopied < nLength) {
        std::int32_t nWanted = nLength - nCopied < 512 ? nLength - nCopied : 512;
        std::int32_t nRead = pSource->readData(m_copyBuffer, 0, nWanted);
        if (nRead <= 0)
            break;
        pTarget->writeData(m_copyBuffer, 0, nRead);
        nCopied += nRead;
    }
    return nCopied;
}

std::int32_t PdfOutputGenerator::writeObject(std::int32_t nObjectNumber, const DictionaryList& dictionary,
                                             IStream* pSource, std::int32_t nLength, const unsigned char* pExtra,
                                             std::int32_t nExtraLength)
{
    m_offsetText = "";
    m_offsetText.append(m_nByteOffset);
    m_offsetText.padLeft('0', 10);
    m_offsetText.append(" 00000 n");
    if (nObjectNumber < 1) {
        nObjectNumber = m_crossReferences.getCount();
        *m_crossReferences.addNew() = m_offsetText;
    } else {
        *m_crossReferences.getItem(nObjectNumber) = m_offsetText;
    }

    String text(nObjectNumber);
    text.append(" 0 obj\r\n<<\r\n");
    for (std::int32_t i = 0; i < dictionary.getCount(); ++i)
        text.append('/').append(dictionary.getKey(i)).append(' ').append(dictionary.getValue(i)).append(kLineEnd);
    if (!pSource) {
        text.append(">>\r\n");
        write(text);
    } else {
        text.append("/Length ").append(nLength).append("\r\n>>\r\nstream\r\n");
        write(text);
        if (m_bEncrypted) {
            Bytes key;
            makeObjectKey(nObjectNumber, key);
            core::security::Rc4Stream cipher;
            cipher.setStream(m_pOutput, key.getData(), key.getCount());
            m_nByteOffset += copyStream(pSource, nLength, &cipher);
        } else {
            m_nByteOffset += copyStream(pSource, nLength, m_pOutput);
        }
        write("\r\nendstream\r\n");
    }
    if (pExtra && nExtraLength > 0)
        write(reinterpret_cast<const char*>(pExtra), nExtraLength);
    write("endobj\r\n");
    return nObjectNumber;
}

std::int32_t PdfOutputGenerator::writePalette(const TiffTag& colorMap)
{
    std::int32_t nEntries = colorMap.getValueCount() / 3;
    core::io::MemoryStream palette(false, 256);
    for (std::int32_t i = 0; i < nEntries; ++i) {
        // The high byte of each 16-bit red, green and blue value.
        const unsigned char rgb[3] = {colorMap.getValue(i)[1], colorMap.getValue(nEntries + i)[1],
                                      colorMap.getValue(2 * nEntries + i)[1]};
        palette.writeData(rgb, 0, 3);
    }
    palette.seek(0, IStream::seekBegin);
    DictionaryList dictionary;
    dictionary.add("Length", 3 * nEntries);
    return writeObject(0, dictionary, &palette, palette.getSize(), nullptr, 0);
}

std::int32_t PdfOutputGenerator::writeStrip(TiffPageImage& page, std::int32_t nStrip, std::int32_t nCompression,
                                            std::int32_t nFillOrder, std::int32_t nPhotometric,
                                            DictionaryList& dictionary)
{
    IStream* pSource = page.getStripStream();
    std::int32_t nOffset = page.getStripOffset(nStrip);
    std::int32_t nLength = page.getStripByteCount(nStrip);
    if (nCompression == 6) {
        nOffset = requireTag(page, TiffConstants::tagJpegInterchangeFormat, "jpegInterchangeFormat").getLong(0);
        nLength = requireTag(page, tagJpegInterchangeFormatLength, "jpegInterchangeFormatLength").getLong(0);
    }
    // A strip that runs past the end of its file would leave /Length larger than the data.
    if (!pSource->seek(0, IStream::seekEnd))
        throw BaseException(VELMO_LOCATION, core::exception::pdfDataPositionSeekError,
                            core::exception::pdfDataPositionSeekError, "", "");
    std::uint32_t nSourceLength = pSource->getPosition();
    if (nOffset < 0 || nLength < 0 || static_cast<std::uint32_t>(nOffset) > nSourceLength
        || static_cast<std::uint32_t>(nLength) > nSourceLength - static_cast<std::uint32_t>(nOffset))
        throw BaseException(VELMO_LOCATION, core::exception::tifDataStreamReadError, 0, "strip", "");
    if ((nCompression == 6 || nCompression == 7) && !beginsWithJpegStart(pSource, nOffset, nLength))
        throw BaseException(VELMO_LOCATION, core::exception::tifInvalidImage, 0, "jpeg start of image", "");
    if (!pSource->seek(nOffset, IStream::seekBegin))
        throw BaseException(VELMO_LOCATION, core::exception::pdfDataPositionSeekError,
                            core::exception::pdfDataPositionSeekError, "", "");

    bool bCompressed = nCompression >= 2 && nCompression <= 7;
    if (bCompressed && nFillOrder != 2)
        return writeObject(0, dictionary, pSource, nLength, nullptr, 0);

    // Bit-reversed or uncompressed data is prepared in memory, in one block for the strip and
    // its padding: growing by small steps would copy a large strip over and over.
    core::io::MemoryStream prepared(false, static_cast<std::uint32_t>(nLength) + 8);
    copyStream(pSource, nLength, &prepared);
    bool bInvert = !bCompressed && nPhotometric == 0;
    for (std::int32_t i = 0; i < prepared.getSize(); ++i) {
        unsigned char nByte = prepared.getByteAt(i);
        if (nFillOrder == 2)
            nByte = reverseBits(nByte);
        if (bInvert)
            nByte = static_cast<unsigned char>(~nByte);
        prepared.setByteAt(nByte, i);
    }
    if (!bCompressed) {
        const unsigned char padding[4] = {0xFF, 0xFF, 0xFF, 0xFF};
        prepared.seek(0, IStream::seekEnd);
        prepared.writeData(padding, 0, 4 - nLength % 4);
    }
    prepared.seek(0, IStream::seekBegin);
    return writeObject(0, dictionary, &prepared, prepared.getSize(), nullptr, 0);
}

void PdfOutputGenerator::writeTagLines(TiffPageImage& page, String& out) const
{
    for (std::int32_t i = 0; i < page.getTagCount(); ++i) {
        const TiffTag& tag = *page.getTagAt(i);
        // A comment line, so that readers take the object as it is without complaint.
        out.append("%xxTiffTag ").append(tag.getTagNumber()).append(' ').append(tag.getDataType()).append(' ');
        out.append(tag.getValueCount()).append(' ');
        appendHex(out, tag.getData(), tag.getValueCount() * tag.getValueSize());
        out.append(kLineEnd);
    }
}

void PdfOutputGenerator::addTiffPage(TiffPageImage& page)
{
    ++m_nPageCounter;
    std::int32_t nWidth = requireTag(page, TiffConstants::tagImageWidth, "imageWidth").getLong(0);
    std::int32_t nLength = requireTag(page, TiffConstants::tagImageLength, "imageLength").getLong(0);
    std::int32_t nCompression = requireTag(page, TiffConstants::tagCompression, "compression").getLong(0);
    TiffTag& xResolution = requireTag(page, TiffConstants::tagXResolution, "xResolution");
    TiffTag& yResolution = requireTag(page, TiffConstants::tagYResolution, "yResolution");
    std::int32_t nBitsPerComponent = requireTag(page, TiffConstants::tagBitsPerSample, "bitsPerSample").getLong(0);
    std::int32_t nSamplesPerPixel = optionalValue(page, TiffConstants::tagSamplesPerPixel, 1);
    std::int32_t nFillOrder = optionalValue(page, TiffConstants::tagFillOrder, 1);
    std::int32_t nPhotometric = optionalValue(page, TiffConstants::tagPhotometricInterpretation, 0);
    std::int32_t nStripCount = page.getStripCount();
    std::int32_t nRowsPerStrip = nLength;
    if (nStripCount > 1)
        nRowsPerStrip = requireTag(page, TiffConstants::tagRowsPerStrip, "rowsPerStrip").getLong(0);
    if (nWidth < 1 || nLength < 1)
        throw BaseException(VELMO_LOCATION, core::exception::tifInvalidImage, 0, "image size", "");
    // Every strip must hold at least one row, or an image object would get a height of zero or less.
    if (nRowsPerStrip < 1 || static_cast<std::int64_t>(nRowsPerStrip) * (nStripCount - 1) >= nLength)
        throw BaseException(VELMO_LOCATION, core::exception::tifInvalidImage, 0, "rows per strip", "");

    String colorSpace("/DeviceGray");
    String filter;
    const char* pszDecodeStart = nullptr;
    const char* pszDecodeEnd = nullptr;
    switch (nCompression) {
    case 2:
        filter = "[/CCITTFaxDecode] ";
        pszDecodeStart = "/DecodeParms [<< /EncodedByteAlign true /Columns ";
        pszDecodeEnd = " /K 0 >>]";
        break;
    case 3:
        filter = "[/CCITTFaxDecode] ";
        pszDecodeStart = "/DecodeParms [<< /Columns ";
        // Two-dimensional Group 3 (T4Options bit 0) needs K > 0, or it decodes to garbage.
        pszDecodeEnd = optionalValue(page, TiffConstants::tagT4Options, 0) & 1 ? " /K 1 >>]" : " /K 0 >>]";
        break;
    case 4:
        filter = "[/CCITTFaxDecode] ";
        pszDecodeStart = "/DecodeParms [<< /Columns ";
        pszDecodeEnd = " /K -1 >>]";
        break;
    case 5:
        if (TiffTag* pColorMap = page.getTag(tagColorMap)) {
            colorSpace = "[/Indexed /DeviceRGB 255 ";
            colorSpace.append(writePalette(*pColorMap)).append(" 0 R]");
            filter = "/LZWDecode /DecodeParams <</EarlyChange 1>>";
        } else {
            if (page.getBitsPerPixel() != 8)
                colorSpace = "/DeviceRGB";
            filter = "/LZWDecode";
        }
        break;
    case 6:
    case 7:
        if (nSamplesPerPixel != 1)
            colorSpace = "/DeviceRGB";
        filter = "[/DCTDecode]";
        break;
    default:
        if (nSamplesPerPixel == 3)
            colorSpace = "/DeviceRGB";
        break;
    }

    double dPageWidth = toPoints(nWidth, xResolution);
    double dPageHeight = toPoints(nLength, yResolution);
    double dY = dPageHeight;
    String content;
    String resources("<<\r\n");
    reserve(content, std::int64_t{128} * nStripCount);
    reserve(resources, std::int64_t{32} * nStripCount);
    for (std::int32_t i = 0; i < nStripCount; ++i) {
        ++m_nImageCounter;
        std::int32_t nRows = nStripCount == 1 ? nLength
            : i < nStripCount - 1 ? nRowsPerStrip : nLength - nRowsPerStrip * (nStripCount - 1);

        DictionaryList image;
        image.add("Type", "/XObject");
        image.add("Subtype", "/Image");
        image.add("Width", nWidth);
        image.add("Height", nRows);
        image.add("ColorSpace", colorSpace);
        if (!filter.isEmpty()) {
            String filterValue(filter);
            if (pszDecodeStart)
                filterValue.append(pszDecodeStart).append(nWidth).append(" /Rows ").append(nRows).append(pszDecodeEnd);
            image.add("Filter", filterValue);
        }
        image.add("BitsPerComponent", nBitsPerComponent);
        std::int32_t nImageObject = writeStrip(page, i, nCompression, nFillOrder, nPhotometric, image);
        resources.append("/im").append(m_nImageCounter).append(' ').append(reference(nImageObject)).append(kLineEnd);

        double dStripHeight = nRows * dPageHeight / nLength;
        dY -= dStripHeight;
        content.append("q\r\n1 0 0 1 0 ").append(number(dY, 10)).append(" cm\r\n");
        content.append(number(dPageWidth, 10)).append(" 0 0 ").append(number(dStripHeight, 10)).append(" 0 0 cm\r\n");
        content.append("/im").append(m_nImageCounter).append(" Do\r\nQ\r\n");
    }
    resources.append(">>");

    core::io::StringStream contentStream;
    contentStream.setText(content.getBuffer());
    std::int32_t nContentObject = writeObject(0, DictionaryList(), &contentStream, content.getLength(), nullptr, 0);

    DictionaryList resourceDictionary;
    resourceDictionary.add("ProcSet", "[/PDF /ImageC]");
    resourceDictionary.add("XObject", resources);
    std::int32_t nResourceObject = writeObject(0, resourceDictionary, nullptr, 0, nullptr, 0);

    DictionaryList pageDictionary;
    pageDictionary.add("Type", "/Page");
    pageDictionary.add("Parent", reference(2));
    String mediaBox("[0 0 ");
    mediaBox.append(number(dPageWidth, 15)).append(' ').append(number(dPageHeight, 15)).append(']');
    pageDictionary.add("MediaBox", mediaBox);
    pageDictionary.add("Resources", reference(nResourceObject));
    pageDictionary.add("Contents", reference(nContentObject));
    String tagLines;
    writeTagLines(page, tagLines);
    std::int32_t nPageObject = writeObject(0, pageDictionary, nullptr, 0,
                                           reinterpret_cast<const unsigned char*>(tagLines.getBuffer()), tagLines.getLength());
    *m_pageReferences.addNew() = reference(nPageObject);
    if (m_nFirstPageObject < 0)
        m_nFirstPageObject = nPageObject;
}

void PdfOutputGenerator::finish()
{
    std::int32_t nEncryptObject = 0;
    if (m_bEncrypted) {
        DictionaryList encryption;
        encryption.add("Filter", "/Standard");
        encryption.add("V", m_b128BitKey ? 2 : 1);
        encryption.add("Length", m_b128BitKey ? 128 : 40);
        encryption.add("R", m_b128BitKey ? 3 : 2);
        encryption.add("P", m_nPermissions);
        String owner("<");
        appendHex(owner, m_ownerEntry.getData(), 32);
        owner.append('>');
        encryption.add("O", owner);
        String user("<");
        appendHex(user, m_userEntry.getData(), 32);
        user.append('>');
        encryption.add("U", user);
        nEncryptObject = writeObject(0, encryption, nullptr, 0, nullptr, 0);
    }

    std::int32_t nActionObject = 0;
    if (m_dOpenZoom != 0 && m_nFirstPageObject > 0) {
        String destination("[");
        destination.append(reference(m_nFirstPageObject)).append(' ');
        if (m_dOpenZoom == -2)
            destination.append("/Fit");
        else if (m_dOpenZoom == -1)
            destination.append("/FitH -32768");
        else
            destination.append("/XYZ -32768 -32768 ").append(number(m_dOpenZoom, 15));
        destination.append(']');
        DictionaryList action;
        action.add("D", destination);
        action.add("S", "/GoTo");
        nActionObject = writeObject(0, action, nullptr, 0, nullptr, 0);
    }

    DictionaryList pages;
    pages.add("Type", "/Pages");
    String kids("[");
    for (std::int32_t i = 0; i < m_pageReferences.getCount(); ++i)
        kids.append(' ').append(*m_pageReferences.getItem(i));
    kids.append(']');
    pages.add("Kids", kids);
    pages.add("Count", m_nPageCounter);
    writeObject(2, pages, nullptr, 0, nullptr, 0);

    DictionaryList catalog;
    catalog.add("Type", "/Catalog");
    if (nActionObject > 0)
        catalog.add("OpenAction", reference(nActionObject));
    catalog.add("PageLayout", "/SinglePage");
    catalog.add("Pages", reference(2));
    std::int32_t nCatalogObject = writeObject(0, catalog, nullptr, 0, nullptr, 0);

    String startOffset(m_nByteOffset);
    startOffset.padLeft('0', 10);
    String table("xref\r\n0 ");
    table.append(m_crossReferences.getCount()).append(kLineEnd);
    reserve(table, std::int64_t{20} * m_crossReferences.getCount() + 256);
    for (std::int32_t i = 0; i < m_crossReferences.getCount(); ++i)
        table.append(*m_crossReferences.getItem(i)).append(kLineEnd);
    table.append("trailer\r\n<<\r\n/Size ").append(m_crossReferences.getCount()).append(kLineEnd);
    table.append("/Info ").append(reference(1)).append(kLineEnd);
    table.append("/Root ").append(reference(nCatalogObject)).append(kLineEnd);
    if (m_bEncrypted) {
        table.append("/Encrypt ").append(reference(nEncryptObject)).append(kLineEnd);
        String identifier;
        appendHex(identifier, m_fileId.getData(), 16);
        table.append("/ID [<").append(identifier).append("><").append(identifier).append(">]\r\n");
    }
    table.append(">>\r\nstartxref\r\n").append(startOffset).append("\r\n%%EOF\r\n");
    write(table);
}

void PdfOutputGenerator::secureOutput(const unsigned char* pFileId, std::int32_t nFileIdLength,
                                      const unsigned char* pOwnerPassword, std::int32_t nOwnerLength,
                                      const unsigned char* pUserPassword, std::int32_t nUserLength,
                                      std::int32_t nPermissions, bool bUse128Bit)
{
    if (nFileIdLength != 16)
        throw BaseException(VELMO_LOCATION, core::exception::pdfFileIdInvalidLength,
                            core::exception::pdfFileIdInvalidLength, "16bytesRequired", "");
    if (nOwnerLength > 32 || nUserLength > 32)
        throw BaseException(VELMO_LOCATION, core::exception::pdfPasswordMaxLengthExceeded,
                            core::exception::pdfPasswordMaxLengthExceeded, "32", "");
    m_b128BitKey = bUse128Bit;
    assign(m_fileId, pFileId, 16);
    assign(m_ownerPassword, pOwnerPassword, nOwnerLength < 0 ? 0 : nOwnerLength);
    assign(m_userPassword, pUserPassword, nUserLength < 0 ? 0 : nUserLength);
    m_nPermissions = nPermissions;
    std::int32_t nKeyLength = bUse128Bit ? 16 : 5;

    unsigned char paddedUser[32];
    padPassword(m_userPassword, paddedUser);
    unsigned char paddedOwner[32];
    padPassword(m_ownerPassword.getCount() > 0 ? m_ownerPassword : m_userPassword, paddedOwner);

    // The owner entry: the padded user password encrypted with a key from the owner password.
    Bytes ownerKey;
    assign(ownerKey, paddedOwner, 32);
    digestForKey(ownerKey, nKeyLength, bUse128Bit);
    assign(m_ownerEntry, paddedUser, 32);
    encryptPasses(ownerKey, m_ownerEntry.getData(), 32, bUse128Bit);

    // The file key.
    assign(m_fileKey, paddedUser, 32);
    append(m_fileKey, m_ownerEntry.getData(), 32);
    const unsigned char permissions[4] = {static_cast<unsigned char>(nPermissions), static_cast<unsigned char>(nPermissions >> 8),
                                          static_cast<unsigned char>(nPermissions >> 16), static_cast<unsigned char>(nPermissions >> 24)};
    append(m_fileKey, permissions, 4);
    append(m_fileKey, pFileId, 16);
    digestForKey(m_fileKey, nKeyLength, bUse128Bit);

    // The user entry.
    if (!bUse128Bit) {
        assign(m_userEntry, kPasswordPadding, 32);
        encryptPasses(m_fileKey, m_userEntry.getData(), 32, false);
    } else {
        assign(m_userEntry, kPasswordPadding, 32);
        append(m_userEntry, pFileId, 16);
        core::security::Md5::digestInPlace(m_userEntry);
        encryptPasses(m_fileKey, m_userEntry.getData(), 16, true);
        append(m_userEntry, kPasswordPadding, 16);
    }
    m_bEncrypted = true;
}

}
