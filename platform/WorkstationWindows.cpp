#include "WorkstationWindows.h"

#include <algorithm>
#include <vector>

namespace platform {

int readAddressTable(GetIpAddrTableFunction getIpAddrTable, QList<Ipv4Address>& rows)
{
    // A buffer for one row first; a larger table answers with the size it needs. An address may come up
    // between two calls and the table outgrow that size, so the read is tried again a few times.
    std::vector<unsigned char> buffer;
    ULONG size = sizeof(MIB_IPADDRTABLE);
    DWORD result = ERROR_INSUFFICIENT_BUFFER;
    for (int attempt = 0; attempt < 4 && result == ERROR_INSUFFICIENT_BUFFER; ++attempt) {
        buffer.resize(std::max<ULONG>(size, sizeof(MIB_IPADDRTABLE)));
        size = ULONG(buffer.size());
        result = getIpAddrTable(reinterpret_cast<MIB_IPADDRTABLE*>(buffer.data()), &size, TRUE);
    }
    if (result != NO_ERROR)
        return int(result);
    const auto* table = reinterpret_cast<const MIB_IPADDRTABLE*>(buffer.data());
    rows.clear();
    for (DWORD i = 0; i < table->dwNumEntries; ++i) {
        // Network byte order: the first dotted component is the first byte.
        const auto* bytes = reinterpret_cast<const quint8*>(&table->table[i].dwAddr);
        rows.append({bytes[0], bytes[1], bytes[2], bytes[3]});
    }
    return 0;
}

int InterfaceAddresses::read(QList<Ipv4Address>& rows)
{
    return readAddressTable(GetIpAddrTable, rows);
}

NameStandIns nameStandIns()
{
    // COMPUTERNAME, USERDOMAIN and USERNAME are the workstation's own: one that is not set stays empty.
    return {};
}

} // namespace platform
