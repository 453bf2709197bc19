#ifndef VELMO_CORE_HANDLE_H
#define VELMO_CORE_HANDLE_H

#include "core/object.Object.h"
#include "core/os/Os.h"

namespace velmo::core {

// Owns a system handle; closes it when replaced or destroyed.
class Handle : public object::Object {
public:
    Handle() = default;
    explicit Handle(os::NativeHandle hHandle) : m_hHandle(hHandle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() override { close(); }

    os::NativeHandle get() const { return m_hHandle; }
    void set(os::NativeHandle hHandle)
    {
        close();
        m_hHandle = hHandle;
    }
    void close()
    {
        if (!isInvalid())
            os::closeHandle(m_hHandle);
        m_hHandle = os::kNoHandle;
    }
    bool isInvalid() const { return m_hHandle == os::kNoHandle || m_hHandle == os::kInvalidHandle; }

private:
    os::NativeHandle m_hHandle = os::kNoHandle;
};

}

#endif
