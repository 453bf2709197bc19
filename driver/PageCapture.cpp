// The job bracket: start and end of a job, and the capture of every finished page.
#include "driver/DdiBoundary.h"
#include "driver/DeviceRecord.h"
#include "driver/DriverConfig.h"
#include "driver/JobFileName.h"
#include "driver/Job.h"
#include "driver/PageConversion.h"
#include "driver/PageFileLock.h"
#include "driver/PageFilePath.h"
#include "driver/PageImage.h"
#include "util/Text.h"

namespace velmo::driver {

namespace {

// With append 0 every job starts a new page file: the one the control file names goes.
void deletePageFileOfUser()
{
    const std::wstring pageFile = userPageFile();
    if (pageFile.empty())
        return;
    // Not while another job puts its pages there.
    PageFileLock lock(util::text::narrow(pageFile));
    DeleteFileW(pageFile.c_str());
}

void startJob(Job& job, const wchar_t* pwszDocName, DWORD dwJobId)
{
    DeleteFileW(makeJobFileName(L"LOG").c_str());
    if (driverConfig().append == 0)
        deletePageFileOfUser();
    // Pages of a job that never ended are not this job's.
    job.pages.discard();
    job.state.jobId = static_cast<LONG>(dwJobId);
    job.state.pageCount = 0;
    job.state.pagesWritten = 0;
    job.state.failedPages = 0;
    copyText(job.state.documentName, viewOf(pwszDocName));
}

// 0, or why the page is lost.
DWORD sendPage(Job& job, SURFOBJ& surface)
{
    ++job.state.pageCount;
    DWORD nError = ERROR_NOT_ENOUGH_MEMORY;
    if (HGLOBAL hImage = capturePageImage(surface)) {
        nError = convertPage(job, hImage);
        GlobalFree(hImage);
    }
    ++(nError == 0 ? job.state.pagesWritten : job.state.failedPages);
    if (DeviceRecord* pRecord = deviceRecordOf(surface.dhpdev))
        eraseDeviceSurface(*pRecord);
    return nError;
}

bool endJob(Job& job, const SURFOBJ& surface, FLONG fl)
{
    const DeviceRecord* pRecord = deviceRecordOf(surface.dhpdev);
    copyText(job.state.printerName, pRecord ? viewOf(pRecord->deviceName) : std::wstring_view());
    return completeJob(job, (fl & ED_ABORTDOC) != 0);
}

// A call for a surface of no device of ours: nothing to do, and nothing the caller can mend.
BOOL refuseUnknownSurface()
{
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

}

}

using namespace velmo::driver;

BOOL APIENTRY DrvStartDoc(SURFOBJ* pso, LPWSTR pwszDocName, DWORD dwJobId)
{
    return guardBoundary<BOOL>(FALSE, [&] {
        Job* pJob = jobOf(pso);
        if (!pJob)
            return refuseUnknownSurface();
        // A start without a job number (a document that is not spooled) leaves the job alone.
        if (dwJobId != 0)
            startJob(*pJob, pwszDocName, dwJobId);
        return TRUE;
    });
}

BOOL APIENTRY DrvStartPage(SURFOBJ* /*pso*/)
{
    return TRUE;
}

// A page that cannot be converted or written fails, so that the application can tell its
// user; the job goes on with the next page.
BOOL APIENTRY DrvSendPage(SURFOBJ* pso)
{
    return guardBoundary<BOOL>(FALSE, [&] {
        Job* pJob = jobOf(pso);
        if (!pJob)
            return refuseUnknownSurface();
        const DWORD nError = sendPage(*pJob, *pso);
        if (nError == 0)
            return TRUE;
        SetLastError(nError);
        return FALSE;
    });
}

BOOL APIENTRY DrvEndDoc(SURFOBJ* pso, FLONG fl)
{
    return guardBoundary<BOOL>(FALSE, [&] {
        Job* pJob = jobOf(pso);
        if (!pJob)
            return refuseUnknownSurface();
        if (endJob(*pJob, *pso, fl))
            return TRUE;
        SetLastError(ERROR_WRITE_FAULT);
        return FALSE;
    });
}
