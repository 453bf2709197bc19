#include "core/net.DnsUtil.h"

#include "core/exception.BaseException.h"
#include "core/lock.Lock.h"
#include "core/object.Heap.h"
#include "core/os/Os.h"

#include <atomic>

namespace velmo::core::net {

namespace {

struct Statics {
    lock::CriticalSection section;
    std::atomic<bool> bSaved{false};
    String dnsServer;
    String hostName;
    String domainName;
    String fullHostName;
};

Statics& statics()
{
    static Statics values;
    return values;
}

// A block of the library heap (global memory) for the duration of one query.
class QueryBuffer {
public:
    explicit QueryBuffer(std::uint32_t nSize)
        : m_pBlock(object::Heap::allocateMemory(static_cast<std::int32_t>(nSize), true))
    {
    }
    ~QueryBuffer() { object::Heap::freeMemory(m_pBlock, true); }
    QueryBuffer(const QueryBuffer&) = delete;
    QueryBuffer& operator=(const QueryBuffer&) = delete;
    void* get() const { return m_pBlock; }

private:
    void* m_pBlock;
};

}

void DnsUtil::saveInfo()
{
    Statics& values = statics();
    if (values.bSaved.load())
        return;
    lock::Lock guard(&values.section);
    if (values.bSaved.load())
        return;

    std::uint32_t nSize = 0;
    std::uint32_t nResult = os::getNetworkParams(nullptr, &nSize);
    if (nResult != os::kErrorBufferOverflow)
        throw exception::BaseException(VELMO_LOCATION, static_cast<std::int32_t>(nResult), 0, "", "");
    QueryBuffer buffer(nSize);
    if (!buffer.get())
        throw exception::BaseException(VELMO_LOCATION, exception::resourceUnavailable, 0, "", "");
    nResult = os::getNetworkParams(buffer.get(), &nSize);
    if (nResult != 0)
        throw exception::BaseException(VELMO_LOCATION, static_cast<std::int32_t>(nResult), 0, "", "");

    os::NetworkParams params = os::readNetworkParams(buffer.get());
    values.dnsServer = params.pszFirstDnsServer;
    values.hostName = params.pszHostName;
    values.hostName.trim();
    values.hostName.toUpper();
    values.domainName = params.pszDomainName;
    values.domainName.trim();
    values.domainName.toUpper();
    values.fullHostName = values.hostName;
    values.fullHostName.append('.').append(values.domainName);
    values.bSaved.store(true);
}

const String& DnsUtil::getFullHostName()
{
    saveInfo();
    return statics().fullHostName;
}

const String& DnsUtil::getHostName()
{
    saveInfo();
    return statics().hostName;
}

const String& DnsUtil::getDomainName()
{
    saveInfo();
    return statics().domainName;
}

const String& DnsUtil::getDnsServer()
{
    saveInfo();
    return statics().dnsServer;
}

}
