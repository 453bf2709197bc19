#ifndef VELMO_CORE_NET_DNSUTIL_H
#define VELMO_CORE_NET_DNSUTIL_H

#include "core/String.h"

namespace velmo::core::net {

// Host and DNS facts, recorded once: the first DNS server, the host and domain names
// (upper case) and the full host name "HOST.DOMAIN".
class DnsUtil {
public:
    static void saveInfo();
    static const String& getFullHostName();
    static const String& getHostName();
    static const String& getDomainName();
    static const String& getDnsServer();
};

}

#endif
