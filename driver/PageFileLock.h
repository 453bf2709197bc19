#ifndef VELMO_DRIVER_PAGEFILELOCK_H
#define VELMO_DRIVER_PAGEFILELOCK_H

#include <windows.h>

#include <string>

namespace velmo::driver {

// Holds a page file for one job while its pages go in, against every other job of the
// session, in this process or another: a named mutex in the session's namespace, named
// after the page file's full path.
class PageFileLock {
public:
    explicit PageFileLock(const std::string& pageFile);
    ~PageFileLock();
    PageFileLock(const PageFileLock&) = delete;
    PageFileLock& operator=(const PageFileLock&) = delete;

    // False when the lock could not be had within a minute; the page file must then be
    // left alone.
    bool isHeld() const { return m_bHeld; }

private:
    HANDLE m_hMutex = nullptr;
    bool m_bHeld = false;
};

}

#endif
