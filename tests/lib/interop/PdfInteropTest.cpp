// PDF files we write, checked with independent readers: qpdf for structure and
// encryption, pdfinfo for page counts and sizes, Ghostscript for pixels (it renders
// images 1:1 at the page's resolution, unlike pdftoppm, which resamples).
#include "lib/BilevelPage.h"
#include "lib/graphics.Conversion.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace velmo::tests;
using velmo::lib::graphics::convertToPdf;

namespace {

std::string readText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// A PBM (P4) file as a page.
BilevelPage readPbm(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::string token;
    BilevelPage page;
    file >> token;
    // Header fields, skipping comment lines.
    std::int32_t* fields[] = {&page.nWidth, &page.nHeight};
    for (std::int32_t* pField : fields) {
        while (file >> token && token[0] == '#')
            std::getline(file, token);
        *pField = std::stoi(token);
    }
    file.get();
    page.rows.resize(static_cast<std::size_t>(page.rowBytes() * page.nHeight));
    file.read(reinterpret_cast<char*>(page.rows.data()), static_cast<std::streamsize>(page.rows.size()));
    return page;
}

class PdfInterop : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* pszTool : {"tiffcp", "tiffset", "qpdf", "pdfinfo", "gs"}) {
            if (!haveTool(pszTool))
                GTEST_SKIP() << pszTool << " is not installed";
        }
        page = loadTextPage().window(100, 150, 600, 400);
        source = scratchPath("pdf-source.tif");
        writeTiff(source, uncompressedOf(page));
    }

    // The page coded by libtiff with tiffcp's options, at 200 x 100 dpi.
    std::string tiffOf(const std::string& name, const std::string& options)
    {
        std::string path = scratchPath(name);
        EXPECT_TRUE(runCommand("tiffcp " + options + " " + source + " " + path));
        EXPECT_TRUE(runCommand("tiffset -s 282 200 " + path + " && tiffset -s 283 100 " + path
                               + " && tiffset -s 296 2 " + path));
        return path;
    }

    // Renders with Ghostscript at the page's resolution (the y axis is stretched 2:1 by
    // rendering at 200 dpi and taking every other row).
    BilevelPage render(const std::string& pdf, const std::string& password = "")
    {
        std::string pbm = pdf + ".pbm";
        std::string options = password.empty() ? "" : " -sPDFPassword=" + password;
        EXPECT_TRUE(runCommand("gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=pbmraw -r200x100" + options
                               + " -sOutputFile=" + pbm + " " + pdf));
        return readPbm(pbm);
    }

    BilevelPage page;
    std::string source;
};

}

TEST_F(PdfInterop, CodedPagesRenderToTheirPixels)
{
    const std::pair<const char*, const char*> codings[] = {
        {"g4", "-c g4"},
        {"g4-strips", "-c g4 -r 150"},
        {"g4-lsb", "-c g4 -f lsb2msb"},
        {"g3", "-c g3"},
        {"g3-2d", "-c g3:2d"},
        {"none", "-c none -r 64"},
    };
    for (const auto& [pszName, pszOptions] : codings) {
        std::string tiff = tiffOf(std::string("pdf-") + pszName + ".tif", pszOptions);
        std::string pdf = scratchPath(std::string("pdf-") + pszName + ".pdf");
        ASSERT_EQ(convertToPdf(tiff.c_str(), "", pdf.c_str(), "", "", "", 0, 0, 1.0), 0) << pszName;
        EXPECT_TRUE(runCommand("qpdf --check " + pdf)) << pszName;
        EXPECT_TRUE(render(pdf) == page) << pszName;
    }
}

TEST_F(PdfInterop, PageSizeAndCountAsPdfinfoSeesThem)
{
    std::string tiff = tiffOf("pdf-size.tif", "-c g4");
    std::string pdf = scratchPath("pdf-size.pdf");
    ASSERT_EQ(convertToPdf(tiff.c_str(), nullptr, pdf.c_str(), "", "", "", 0, 0, -2), 0);
    std::string info = pdf + ".info";
    ASSERT_TRUE(runCommand("(pdfinfo " + pdf + " > " + info + ")"));
    std::string text = readText(info);
    EXPECT_NE(text.find("Pages:           1"), std::string::npos) << text;
    // 600 x 400 pixels at 200 x 100 dpi: 216 x 288 points.
    EXPECT_NE(text.find("216 x 288 pts"), std::string::npos) << text;
    EXPECT_NE(readText(pdf).find("XFORMAT=KVPDF\r\n"), std::string::npos);
}

TEST_F(PdfInterop, EncryptedFilesOpenWithEitherPassword)
{
    std::string tiff = tiffOf("pdf-secret.tif", "-c g4");
    struct Case {
        const char* pszName;
        std::int32_t nKeyFlag;
        const char* pszExpected;
    };
    for (const Case& test : {Case{"40", 0, "R = 2"}, Case{"128", 1, "R = 3"}}) {
        std::string pdf = scratchPath(std::string("pdf-secret-") + test.pszName + ".pdf");
        ASSERT_EQ(convertToPdf(tiff.c_str(), "", pdf.c_str(), "", "owner", "user", -4, test.nKeyFlag, 0), 0);
        std::string shown = pdf + ".encryption";
        ASSERT_TRUE(runCommand("(qpdf --password=user --show-encryption " + pdf + " > " + shown + ")"));
        std::string text = readText(shown);
        EXPECT_NE(text.find(test.pszExpected), std::string::npos) << text;
        EXPECT_NE(text.find(std::string("P = -4")), std::string::npos) << text;
        for (const char* pszPassword : {"user", "owner"}) {
            std::string plain = pdf + "." + pszPassword + ".pdf";
            EXPECT_TRUE(runCommand(std::string("qpdf --password=") + pszPassword + " --decrypt " + pdf + " " + plain))
                << test.pszName << " " << pszPassword;
            EXPECT_TRUE(runCommand("qpdf --check " + plain));
            EXPECT_TRUE(render(plain) == page) << test.pszName << " " << pszPassword;
        }
        EXPECT_FALSE(runCommand("qpdf --password=wrong --decrypt " + pdf + " " + pdf + ".wrong.pdf"));
    }
}
