// How the graphics engine binds the driver, enables its device and surface, and what the
// driver answers about them.
#include "driver/DeviceRecord.h"
#include "tests/driver/DriverProbe.h"
#include "tests/util/ScratchDirectory.h"

#include "tools/engine/korvaeng.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace velmo::driver::test {

namespace {

using EnableDriver = BOOL(APIENTRY*)(ULONG, ULONG, DRVENABLEDATA*);
using QueryDriverInfo = BOOL(APIENTRY*)(DWORD, PVOID, DWORD, PDWORD);
using Escape = ULONG(APIENTRY*)(SURFOBJ*, ULONG, ULONG, PVOID, ULONG, PVOID);

class DdiTest : public ::testing::Test {
protected:
    util::test::ScratchDirectory m_directory;
    DriverProbe m_probe{m_directory.path(), "ddi", ""};
};

TEST_F(DdiTest, enableDriverHandsOutTheTableInItsOrder)
{
    const ULONG expectedOrder[] = {0, 1, 7, 2, 3, 4, 14, 15, 16, 31, 17, 18, 19, 20, 23, 24, 35, 34, 33, 32};
    const DRVENABLEDATA data = m_probe.enableData();
    EXPECT_EQ(data.iDriverVersion, 0x30000u);
    ASSERT_EQ(data.c, 20u);
    for (ULONG i = 0; i < data.c; ++i) {
        EXPECT_EQ(data.pdrvfn[i].iFunc, expectedOrder[i]) << "entry " << i;
        EXPECT_NE(data.pdrvfn[i].pfn, nullptr) << "entry " << i;
    }
    // Every call gets the same table.
    EXPECT_EQ(m_probe.enableData().pdrvfn, data.pdrvfn);
}

TEST_F(DdiTest, enableDriverRefusesOldEnginesAndShortRecords)
{
    auto pfnEnable = m_probe.exported<EnableDriver>("DrvEnableDriver");
    DRVENABLEDATA data{};
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(pfnEnable(0x1FFFF, sizeof(data), &data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_DRIVER_LEVEL));

    // One byte short of the record, in a buffer with a canary after it: nothing is written.
    std::vector<unsigned char> buffer(sizeof(DRVENABLEDATA) + 8, 0xA5);
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(pfnEnable(0x20000, sizeof(DRVENABLEDATA) - 1, reinterpret_cast<DRVENABLEDATA*>(buffer.data())));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(buffer, std::vector<unsigned char>(sizeof(DRVENABLEDATA) + 8, 0xA5));

    EXPECT_FALSE(pfnEnable(0x20000, sizeof(DRVENABLEDATA), nullptr));
    EXPECT_TRUE(pfnEnable(0x20000, sizeof(data), &data));
    EXPECT_EQ(data.c, 20u);
}

TEST_F(DdiTest, queryDriverInfoReportsUserMode)
{
    auto pfnQuery = m_probe.exported<QueryDriverInfo>("DrvQueryDriverInfo");
    DWORD buffer[2] = {0, 0xA5A5A5A5};
    DWORD cbNeeded = 0;
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(pfnQuery(DRVQUERY_USERMODE, buffer, 3, &cbNeeded));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(cbNeeded, 4u);
    EXPECT_EQ(buffer[0], 0u);
    EXPECT_FALSE(pfnQuery(DRVQUERY_USERMODE, nullptr, 4, &cbNeeded));

    EXPECT_TRUE(pfnQuery(DRVQUERY_USERMODE, buffer, 4, &cbNeeded));
    EXPECT_EQ(buffer[0], 1u);
    EXPECT_EQ(buffer[1], 0xA5A5A5A5u);

    cbNeeded = 77;
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(pfnQuery(2, buffer, 4, &cbNeeded));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(cbNeeded, 77u);
    // A null size pointer is refused or answered, never written through.
    EXPECT_TRUE(pfnQuery(DRVQUERY_USERMODE, buffer, 4, nullptr));
}

TEST_F(DdiTest, escapeSupportsNothing)
{
    auto pfnEscape = m_probe.ddi<Escape>(INDEX_DrvEscape);
    ULONG nQuery = 0;
    EXPECT_EQ(pfnEscape(nullptr, QUERYESCSUPPORT, sizeof(nQuery), &nQuery, 0, nullptr), 0u);
    EXPECT_EQ(pfnEscape(nullptr, 0x1234, 0, nullptr, 0, nullptr), 0u);
}

struct PaperCase {
    short nPaperSize;
    short nOrientation;
    LONG width;
    LONG height;
    double widthMm;
    double heightMm;
};

// A GDIINFO size in millimetres: whole millimetres, or micrometres when negative.
double reportedMillimetres(ULONG nSize)
{
    const auto nValue = static_cast<LONG>(nSize);
    return nValue < 0 ? -nValue / 1000.0 : nValue;
}

TEST_F(DdiTest, paperAndOrientationChooseTheReportedSizes)
{
    const PaperCase cases[] = {
        {DMPAPER_LEGAL, DMORIENT_PORTRAIT, 1700, 2800, 215.9, 355.6},
        {DMPAPER_LEGAL, DMORIENT_LANDSCAPE, 2800, 1700, 355.6, 215.9},
        {DMPAPER_LETTER, DMORIENT_PORTRAIT, 1700, 2200, 215.9, 279.4},
        {DMPAPER_A4, DMORIENT_PORTRAIT, 1700, 2200, 215.9, 279.4},   // anything but Legal is Letter
        {DMPAPER_LETTER, 0, 2200, 1700, 279.4, 215.9},               // anything but portrait is landscape
    };
    for (const PaperCase& paper : cases) {
        SCOPED_TRACE(testing::Message() << "paper " << paper.nPaperSize << " orientation " << paper.nOrientation);
        const DEVMODEW devmode = jobDevmode(L"Fax", paper.nPaperSize, paper.nOrientation);
        ProbeDevice device(m_probe, &devmode);
        ASSERT_NE(device.handle(), nullptr);
        const GDIINFO& info = device.gdiInfo();
        EXPECT_EQ(info.ulHorzRes, static_cast<ULONG>(paper.width));
        EXPECT_EQ(info.ulVertRes, static_cast<ULONG>(paper.height));
        EXPECT_EQ(info.szlPhysSize.cx, paper.width);
        EXPECT_EQ(info.szlPhysSize.cy, paper.height);
        EXPECT_DOUBLE_EQ(reportedMillimetres(info.ulHorzSize), paper.widthMm);
        EXPECT_DOUBLE_EQ(reportedMillimetres(info.ulVertSize), paper.heightMm);
        SURFOBJ* pSurface = device.enableSurface();
        ASSERT_NE(pSurface, nullptr);
        EXPECT_EQ(pSurface->sizlBitmap.cx, paper.width);
        EXPECT_EQ(pSurface->sizlBitmap.cy, paper.height);
    }
}

TEST_F(DdiTest, deviceAnswersDescribeATrueColourRasterPrinter)
{
    const DEVMODEW devmode = jobDevmode(L"Fax", DMPAPER_LETTER, DMORIENT_PORTRAIT);
    ProbeDevice device(m_probe, &devmode);
    const GDIINFO& info = device.gdiInfo();
    EXPECT_EQ(info.ulVersion, 0x30000u);
    EXPECT_EQ(info.ulTechnology, static_cast<ULONG>(DT_RASPRINTER));
    EXPECT_EQ(info.cBitsPixel, 24u);
    EXPECT_EQ(info.cPlanes, 1u);
    EXPECT_EQ(info.ulNumColors, 0xFFFFFFFFu);
    EXPECT_EQ(info.ulLogPixelsX, 200u);
    EXPECT_EQ(info.ulLogPixelsY, 200u);
    EXPECT_EQ(info.ulAspectXY, 14u);
    EXPECT_EQ(info.denStyleStep, 10u);
    EXPECT_EQ(info.ulHTPatternSize, 17u);
    EXPECT_EQ(info.ulHTOutputFormat, 6u);
    EXPECT_EQ(info.flHTFlags, 2u);

    const DEVINFO& devInfo = device.devInfo();
    EXPECT_EQ(devInfo.flGraphicsCaps, 0x7DFu);
    EXPECT_EQ(devInfo.iDitherFormat, static_cast<ULONG>(BMF_24BPP));
    EXPECT_EQ(devInfo.lfDefaultFont.lfHeight, 17);
    EXPECT_EQ(std::wstring(devInfo.lfAnsiFixFont.lfFaceName), L"Courier New");
    // The device's own palette, not the template's placeholder.
    EXPECT_NE(devInfo.hpalDefault, nullptr);
    EXPECT_NE(devInfo.hpalDefault, reinterpret_cast<HPALETTE>(static_cast<ULONG_PTR>(0xFFFF)));
    for (int i = 0; i < HS_DDI_MAX; ++i)
        EXPECT_EQ(device.patterns()[i], nullptr) << "pattern " << i;
}

TEST_F(DdiTest, deviceNameSpacesBecomeDashes)
{
    const DEVMODEW devmode = jobDevmode(L"Office Fax Printer", DMPAPER_LETTER, DMORIENT_PORTRAIT);
    ProbeDevice device(m_probe, &devmode);
    const auto* pRecord = reinterpret_cast<const DeviceRecord*>(device.handle());
    ASSERT_NE(pRecord, nullptr);
    EXPECT_EQ(std::wstring(pRecord->deviceName), L"Office-Fax-Printer");
    EXPECT_EQ(std::memcmp(pRecord->tagHead, "DIBD", 4), 0);
    EXPECT_EQ(std::memcmp(pRecord->tagTail, "DIBD", 4), 0);
    EXPECT_EQ(pRecord->devmode.dmPaperSize, DMPAPER_LETTER);
}

TEST_F(DdiTest, noSettingsRecordGivesLetterLandscapeAndNoName)
{
    ProbeDevice device(m_probe, nullptr);
    ASSERT_NE(device.handle(), nullptr);
    EXPECT_EQ(device.gdiInfo().ulHorzRes, 2200u);
    EXPECT_EQ(device.gdiInfo().ulVertRes, 1700u);
    const auto* pRecord = reinterpret_cast<const DeviceRecord*>(device.handle());
    EXPECT_EQ(pRecord->deviceName[0], L'\0');
    EXPECT_EQ(pRecord->devmode.dmSize, 0);
}

// The engine may ask for fewer bytes of the answers than the driver has: nothing beyond
// them is written, and no null buffer is written through.
TEST_F(DdiTest, shortAnswerBuffersAreNotOverrun)
{
    using EnablePdev = DHPDEV(APIENTRY*)(DEVMODEW*, LPWSTR, ULONG, HSURF*, ULONG, ULONG*, ULONG, DEVINFO*, HDEV,
                                         LPWSTR, HANDLE);
    using DisablePdev = VOID(APIENTRY*)(DHPDEV);
    auto pfnEnable = m_probe.ddi<EnablePdev>(INDEX_DrvEnablePDEV);
    DEVMODEW devmode = jobDevmode(L"Fax", DMPAPER_LETTER, DMORIENT_PORTRAIT);
    std::vector<unsigned char> caps(sizeof(GDIINFO) + 16, 0xA5);
    std::vector<unsigned char> devInfo(sizeof(DEVINFO) + 16, 0xA5);
    const ULONG cjCaps = 12;
    const ULONG cjDevInfo = 8;  // too short to hold the palette field
    DHPDEV dhpdev = pfnEnable(&devmode, nullptr, 0, nullptr, cjCaps, reinterpret_cast<ULONG*>(caps.data()), cjDevInfo,
                              reinterpret_cast<DEVINFO*>(devInfo.data()), nullptr, nullptr, nullptr);
    ASSERT_NE(dhpdev, nullptr);
    for (std::size_t i = cjCaps; i < caps.size(); ++i)
        ASSERT_EQ(caps[i], 0xA5) << "caps byte " << i;
    for (std::size_t i = cjDevInfo; i < devInfo.size(); ++i)
        ASSERT_EQ(devInfo[i], 0xA5) << "devinfo byte " << i;
    m_probe.ddi<DisablePdev>(INDEX_DrvDisablePDEV)(dhpdev);

    dhpdev = pfnEnable(&devmode, nullptr, HS_DDI_MAX, nullptr, sizeof(GDIINFO), nullptr, sizeof(DEVINFO), nullptr,
                       nullptr, nullptr, nullptr);
    ASSERT_NE(dhpdev, nullptr);
    m_probe.ddi<DisablePdev>(INDEX_DrvDisablePDEV)(dhpdev);
}

TEST_F(DdiTest, freshSurfaceIsWhiteAndEverythingIsReleased)
{
    const int nSurfaces = korvaEngLiveSurfaces();
    const int nPalettes = korvaEngLivePalettes();
    {
        const DEVMODEW devmode = jobDevmode(L"Fax", DMPAPER_LETTER, DMORIENT_PORTRAIT);
        ProbeDevice device(m_probe, &devmode);
        SURFOBJ* pSurface = device.enableSurface();
        ASSERT_NE(pSurface, nullptr);
        EXPECT_EQ(pSurface->iBitmapFormat, static_cast<ULONG>(BMF_24BPP));
        const auto* pBits = static_cast<const unsigned char*>(pSurface->pvBits);
        std::size_t nNotWhite = 0;
        for (ULONG i = 0; i < pSurface->cjBits; ++i)
            nNotWhite += pBits[i] != 0xFF ? 1 : 0;
        EXPECT_EQ(nNotWhite, 0u);
        EXPECT_EQ(korvaEngLiveSurfaces(), nSurfaces + 1);
    }
    EXPECT_EQ(korvaEngLiveSurfaces(), nSurfaces);
    EXPECT_EQ(korvaEngLivePalettes(), nPalettes);
}

// Whatever the drawing resolution, the physical size is the paper's own, so that a page laid
// out in millimetres or inches fills the paper: pixels / dpi agrees with it.
TEST(DdiDrawScale, physicalSizeIsThePapersAtEveryDrawingResolution)
{
    struct Case {
        int nResolution;
        int nDrawScale;
        ULONG nDpi;
        LONG width;
        LONG height;
    };
    const Case cases[] = {{200, 0, 200, 1700, 2200}, {300, 0, 300, 2550, 3300}, {200, 2, 600, 5100, 6600},
                          {200, 3, 300, 2550, 3300}, {300, 4, 400, 3400, 4400}};
    for (const Case& scale : cases) {
        SCOPED_TRACE(testing::Message() << "resolution " << scale.nResolution << ", drawScale " << scale.nDrawScale);
        util::test::ScratchDirectory directory;
        DriverProbe probe(directory.path(), "scaled",
                          "[graphics]\ndrawScale=" + std::to_string(scale.nDrawScale) +
                              "\n[options]\nresolution=" + std::to_string(scale.nResolution) + "\n");
        for (short nPaper : {DMPAPER_LETTER, DMPAPER_LEGAL}) {
            const DEVMODEW devmode = jobDevmode(L"Fax", nPaper, DMORIENT_LANDSCAPE);
            ProbeDevice device(probe, &devmode);
            const GDIINFO& info = device.gdiInfo();
            EXPECT_EQ(info.ulLogPixelsX, scale.nDpi);
            EXPECT_EQ(info.ulLogPixelsY, scale.nDpi);
            EXPECT_NEAR(reportedMillimetres(info.ulHorzSize), info.ulHorzRes * 25.4 / scale.nDpi, 0.05);
            EXPECT_NEAR(reportedMillimetres(info.ulVertSize), info.ulVertRes * 25.4 / scale.nDpi, 0.05);
            if (nPaper == DMPAPER_LETTER) {
                SURFOBJ* pSurface = device.enableSurface();
                ASSERT_NE(pSurface, nullptr);
                EXPECT_EQ(pSurface->sizlBitmap.cx, scale.height);
                EXPECT_EQ(pSurface->sizlBitmap.cy, scale.width);
            }
        }
    }
}

// Calls for no device of the driver's do nothing; the job calls say so.
TEST(DdiBoundary, nullDeviceHandlesAreIgnored)
{
    util::test::ScratchDirectory directory;
    DriverProbe probe(directory.path(), "nulls", "");
    EXPECT_EQ(probe.ddi<HSURF(APIENTRY*)(DHPDEV)>(INDEX_DrvEnableSurface)(nullptr), nullptr);
    probe.ddi<VOID(APIENTRY*)(DHPDEV)>(INDEX_DrvDisableSurface)(nullptr);
    probe.ddi<VOID(APIENTRY*)(DHPDEV)>(INDEX_DrvDisablePDEV)(nullptr);
    probe.ddi<VOID(APIENTRY*)(DHPDEV, HDEV)>(INDEX_DrvCompletePDEV)(nullptr, nullptr);
    SURFOBJ foreign{};
    for (SURFOBJ* pSurface : {static_cast<SURFOBJ*>(nullptr), &foreign}) {
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(probe.ddi<BOOL(APIENTRY*)(SURFOBJ*)>(INDEX_DrvSendPage)(pSurface));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
        EXPECT_FALSE(probe.ddi<BOOL(APIENTRY*)(SURFOBJ*, FLONG)>(INDEX_DrvEndDoc)(pSurface, 0));
        EXPECT_FALSE(probe.ddi<BOOL(APIENTRY*)(SURFOBJ*, LPWSTR, DWORD)>(INDEX_DrvStartDoc)(pSurface, nullptr, 9));
    }
}

}

}

namespace velmo::driver::test {

namespace {

// The default settings follow the configuration: name cut to the field, orientation, and
// the drawing resolution's Letter size.
TEST(DefaultDevmodeTest, defaultSettingsFollowTheConfiguration)
{
    util::test::ScratchDirectory directory;
    DriverProbe probe(directory.path(), "defaults",
                      "[driver]\nname=Office Fax Printer With A Rather Long Name\n[options]\nlandscape=1\n"
                      "[graphics]\ndrawScale=2\n");
    using ConvertDevMode = BOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);
    DEVMODEW devmode{};
    ASSERT_TRUE(probe.exported<ConvertDevMode>("DrvConvertDevMode")(nullptr, nullptr, &devmode, nullptr, 4));
    EXPECT_EQ(std::wstring(devmode.dmDeviceName), L"Office Fax Printer With A Rathe");
    EXPECT_EQ(devmode.dmSpecVersion, 0x0400);
    EXPECT_EQ(devmode.dmDriverVersion, 0x0001);
    EXPECT_EQ(devmode.dmSize, 220);
    EXPECT_EQ(devmode.dmDriverExtra, 0);
    EXPECT_EQ(devmode.dmFields, 0xC03u);
    EXPECT_EQ(devmode.dmOrientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(devmode.dmPaperSize, DMPAPER_LETTER);
    EXPECT_EQ(devmode.dmCopies, 1);
    EXPECT_EQ(devmode.dmPrintQuality, 600);
    EXPECT_EQ(devmode.dmYResolution, 600);
    EXPECT_EQ(devmode.dmColor, DMCOLOR_COLOR);
    EXPECT_EQ(devmode.dmDuplex, DMDUP_SIMPLEX);
    EXPECT_EQ(devmode.dmTTOption, DMTT_BITMAP);
    EXPECT_EQ(devmode.dmCollate, DMCOLLATE_TRUE);
    EXPECT_EQ(std::wstring(devmode.dmFormName), L"Letter");
    EXPECT_EQ(devmode.dmBitsPerPel, 24u);
    EXPECT_EQ(devmode.dmPelsWidth, 5100u);
    EXPECT_EQ(devmode.dmPelsHeight, 6600u);
}

}

}
