#include "Workstation.h"

#include <QSysInfo>

#include <algorithm>
#include <cerrno>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

int InterfaceAddresses::read(QList<Ipv4Address>& rows)
{
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return errno;

    rows.clear();
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET)
            continue;
        const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
        const auto* bytes = reinterpret_cast<const quint8*>(&address->sin_addr.s_addr);
        rows.append({bytes[0], bytes[1], bytes[2], bytes[3]});
    }
    freeifaddrs(list);

    // Network byte order: comparing the bytes in turn compares the addresses as numbers.
    std::sort(rows.begin(), rows.end());
    return 0;
}

NameStandIns nameStandIns()
{
    const auto loginName = [] {
        const passwd* user = getpwuid(getuid());
        return user && user->pw_name ? QString::fromLocal8Bit(user->pw_name) : QString();
    };
    return {QSysInfo::machineHostName, loginName, true};
}

} // namespace platform
