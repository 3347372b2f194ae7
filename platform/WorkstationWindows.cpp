#include "Workstation.h"

#include <string>

// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
// clang-format on

namespace platform {

int InterfaceAddresses::read(QList<Ipv4Address>& rows)
{
    // As the suite reads the table: one call into a 512-byte buffer, rows sorted by address. A table of
    // more than 21 rows does not fit and fails with the platform's code (122, insufficient buffer).
    alignas(MIB_IPADDRTABLE) unsigned char buffer[512];
    ULONG size = sizeof buffer;
    const DWORD result = GetIpAddrTable(reinterpret_cast<MIB_IPADDRTABLE*>(buffer), &size, TRUE);
    if (result != NO_ERROR)
        return int(result);
    const auto* table = reinterpret_cast<const MIB_IPADDRTABLE*>(buffer);
    rows.clear();
    for (DWORD i = 0; i < table->dwNumEntries; ++i) {
        // Network byte order: the first dotted component is the first byte.
        const auto* bytes = reinterpret_cast<const quint8*>(&table->table[i].dwAddr);
        rows.append({bytes[0], bytes[1], bytes[2], bytes[3]});
    }
    return 0;
}

QString hostName()
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameW(name, &size) ? QString::fromWCharArray(name, int(size)) : QString();
}

QString loginName()
{
    wchar_t name[257];
    DWORD size = 257;
    return GetUserNameW(name, &size) && size > 0 ? QString::fromWCharArray(name, int(size - 1)) : QString();
}

} // namespace platform
