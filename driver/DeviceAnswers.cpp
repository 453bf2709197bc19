#include "driver/DeviceAnswers.h"

#include <cstring>

namespace velmo::driver {

namespace {

GDIINFO gdiInfo;
DEVINFO devInfo;
DEVMODEW devmode;

constexpr DWORD deviceNameLimit = CCHDEVICENAME - 1;

LOGFONTW normalFont(const wchar_t* pszFace)
{
    LOGFONTW font{};
    font.lfHeight = 17;
    font.lfWeight = FW_NORMAL;
    copyText(font.lfFaceName, pszFace);
    return font;
}

void setPaper(GDIINFO& info, const PaperGeometry& paper)
{
    // A negative size is in micrometres: the engine's mapping modes then match the paper
    // to a tenth of a millimetre.
    info.ulHorzSize = static_cast<ULONG>(-paper.widthMicrometres);
    info.ulVertSize = static_cast<ULONG>(-paper.heightMicrometres);
    info.ulHorzRes = paper.widthPx;
    info.ulVertRes = paper.heightPx;
    info.szlPhysSize.cx = paper.widthPx;
    info.szlPhysSize.cy = paper.heightPx;
}

void fillGdiInfo(const PageFormat& format)
{
    gdiInfo = GDIINFO{};
    gdiInfo.ulVersion = DDI_DRIVER_VERSION_NT5;
    gdiInfo.ulTechnology = DT_RASPRINTER;
    gdiInfo.cBitsPixel = format.bitsPerPixel;
    gdiInfo.cPlanes = 1;
    gdiInfo.ulNumColors = 0xFFFFFFFF;
    gdiInfo.ulLogPixelsX = format.dpiX;
    gdiInfo.ulLogPixelsY = format.dpiY;
    gdiInfo.ulAspectX = 10;
    gdiInfo.ulAspectY = 10;
    gdiInfo.ulAspectXY = 14;
    gdiInfo.xStyleStep = 1;
    gdiInfo.yStyleStep = 1;
    gdiInfo.denStyleStep = 10;
    gdiInfo.ulNumPalReg = format.colorsUsed;
    gdiInfo.ulDevicePelsDPI = format.dpiX;
    gdiInfo.ulPrimaryOrder = PRIMARY_ORDER_ABC;
    gdiInfo.ulHTPatternSize = HT_PATSIZE_SUPERCELL_M;
    gdiInfo.ulHTOutputFormat = HT_FORMAT_24BPP;
    gdiInfo.flHTFlags = HT_FLAG_HAS_BLACK_DYE;
    setPaper(gdiInfo, format.letter);
}

void fillDevInfo()
{
    devInfo = DEVINFO{};
    devInfo.flGraphicsCaps = GCAPS_BEZIERS | GCAPS_GEOMETRICWIDE | GCAPS_ALTERNATEFILL | GCAPS_WINDINGFILL |
                             GCAPS_HALFTONE | GCAPS_HORIZSTRIKE | GCAPS_VERTSTRIKE | GCAPS_OPAQUERECT |
                             GCAPS_VECTORFONT | GCAPS_MONO_DITHER;
    devInfo.lfDefaultFont = normalFont(L"Arial");
    devInfo.lfAnsiVarFont = normalFont(L"Arial");
    devInfo.lfAnsiFixFont = normalFont(L"Courier New");
    devInfo.iDitherFormat = BMF_24BPP;
    devInfo.hpalDefault = reinterpret_cast<HPALETTE>(static_cast<ULONG_PTR>(0xFFFF));
}

void fillDefaultDevmode(const DriverConfig& config, const PageFormat& format)
{
    devmode = DEVMODEW{};
    copyText(devmode.dmDeviceName, std::wstring_view(config.deviceName).substr(0, deviceNameLimit));
    devmode.dmSpecVersion = 0x0400;
    devmode.dmDriverVersion = 0x0001;
    devmode.dmSize = sizeof(DEVMODEW);
    devmode.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_PRINTQUALITY | DM_COLOR;
    devmode.dmOrientation = static_cast<short>(config.orientation);
    devmode.dmPaperSize = DMPAPER_LETTER;
    devmode.dmCopies = 1;
    devmode.dmPrintQuality = static_cast<short>(format.dpiX);
    devmode.dmColor = DMCOLOR_COLOR;
    devmode.dmDuplex = DMDUP_SIMPLEX;
    devmode.dmYResolution = static_cast<short>(format.dpiY);
    devmode.dmTTOption = DMTT_BITMAP;
    devmode.dmCollate = DMCOLLATE_TRUE;
    copyText(devmode.dmFormName, L"Letter");
    devmode.dmBitsPerPel = format.bitsPerPixel;
    devmode.dmPelsWidth = format.letter.widthPx;
    devmode.dmPelsHeight = format.letter.heightPx;
}

}

static_assert(sizeof(DEVMODEW) == 220, "the settings record has no private part");

const DEVINFO& devInfoTemplate()
{
    return devInfo;
}

const DEVMODEW& defaultDevmode()
{
    return devmode;
}

void fillDeviceAnswers(const DriverConfig& config, const PageFormat& format)
{
    fillGdiInfo(format);
    fillDevInfo();
    fillDefaultDevmode(config, format);
}

GDIINFO gdiInfoFor(const PaperGeometry& paper)
{
    GDIINFO info = gdiInfo;
    setPaper(info, paper);
    return info;
}

DEVMODEW overlaidDefaultDevmode(const DEVMODEW& input)
{
    DEVMODEW working = defaultDevmode();
    const std::size_t nInputSize = static_cast<std::size_t>(input.dmSize) + input.dmDriverExtra;
    std::memcpy(&working, &input, nInputSize < sizeof(DEVMODEW) ? nInputSize : sizeof(DEVMODEW));
    return working;
}

}
