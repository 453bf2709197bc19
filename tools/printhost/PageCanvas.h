#ifndef VELMO_TOOLS_PRINTHOST_PAGECANVAS_H
#define VELMO_TOOLS_PRINTHOST_PAGECANVAS_H

#include "tools/printhost/DriverSession.h"
#include "tools/imagefile/RgbImage.h"

#include <map>
#include <string>

namespace velmo::tools::printhost {

// Draws on the page as the engine does for an application: through the driver's hooked
// drawing functions, with brushes, paths and clip objects made by the engine. Colours are
// 0xRRGGBB; every call answers whether the driver accepted it, and the calls of a page are
// reported together, one line per drawing function.
class PageCanvas {
public:
    explicit PageCanvas(DriverSession& session) : m_session(session) {}

    // The image at the top-left corner, one image pixel per device pixel, clipped to the page.
    bool blitImage(const RgbImage& image);
    bool stretchImage(const RgbImage& image, const RECTL& target);
    bool fillRect(const RECTL& area, ULONG rgb);
    bool strokeLine(POINTL from, POINTL to, ULONG rgb);
    bool line(POINTL from, POINTL to, ULONG rgb);
    bool paint(const RECTL& area, ULONG rgb);
    // A line of text as the engine reports it: its glyphs' box, filled in the text colour.
    bool textRun(const RECTL& box, ULONG rgb);

    // One line per drawing function used since the last report: calls and refusals.
    bool reportCalls();

    LONG width() const { return m_session.surface()->sizlBitmap.cx; }
    LONG height() const { return m_session.surface()->sizlBitmap.cy; }

private:
    struct Calls {
        int nCount = 0;
        int nFailures = 0;
    };

    bool record(const char* pszFunction, bool bSuccess);

    std::map<std::string, Calls> m_calls;
    DriverSession& m_session;
};

}

#endif
