#include "tools/printhost/PrintJob.h"

#include "tools/printhost/DrawnPage.h"
#include "tools/printhost/PageCanvas.h"
#include "tools/printhost/SampleDocument.h"
#include "tools/printhost/WideText.h"

namespace velmo::tools::printhost {

namespace {

// The page as drawn, before the driver sees it as finished: what its output is judged by.
bool keepDrawnPage(DriverSession& session, const std::wstring& folder, std::size_t nPage)
{
    const std::string path = narrow(folder) + "\\page-" + std::to_string(nPage + 1) + ".ppm";
    return session.report("keep page", writePpmFile(path, pixelsOf(*session.surface())), path);
}

bool drawPage(PageCanvas& canvas, DriverSession& session, const JobOptions& job, std::size_t nPage)
{
    if (job.bSample)
        return drawSamplePage(canvas, static_cast<int>(nPage));
    const std::string path = narrow(job.images[nPage]);
    std::string error;
    const RgbImage image = readImageFile(path, error);
    return session.report("read image", image.width > 0, image.width > 0 ? path : error) && canvas.blitImage(image);
}

bool printPage(DriverSession& session, const JobOptions& job, std::size_t nPage)
{
    if (!session.startPage())
        return false;
    PageCanvas canvas(session);
    bool bDrawn = drawPage(canvas, session, job, nPage);
    bDrawn = canvas.reportCalls() && bDrawn;
    if (!job.keepFolder.empty())
        bDrawn = keepDrawnPage(session, job.keepFolder, nPage) && bDrawn;
    return session.sendPage() && bDrawn;
}

}

std::size_t JobOptions::pageCount() const
{
    return bSample ? samplePageCount : images.size();
}

bool printJob(const LoadedDriver& driver, const JobOptions& job, const StepLog& log, unsigned nDevice)
{
    DriverSession session(driver, log, nDevice);
    if (!session.enableDevice(job.settings) || !session.startDoc(job.settings))
        return false;
    bool bAllPrinted = true;
    for (std::size_t nPage = 0; nPage < job.pageCount() && bAllPrinted; ++nPage)
        bAllPrinted = printPage(session, job, nPage);
    const bool bEnded = session.endDoc();
    return bAllPrinted && bEnded;
}

}
