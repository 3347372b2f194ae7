#pragma once

#include "Workstation.h"

#include <QList>

// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
// clang-format on

namespace platform {

// GetIpAddrTable, or a table of a test's own in its place.
using GetIpAddrTableFunction = DWORD(WINAPI*)(PMIB_IPADDRTABLE table, PULONG size, BOOL order);

// Fills rows with every row of the table getIpAddrTable reads, sorted by address, however many there are.
// Returns 0 on success, or getIpAddrTable's result, rows untouched, when the table cannot be read.
int readAddressTable(GetIpAddrTableFunction getIpAddrTable, QList<Ipv4Address>& rows);

} // namespace platform
