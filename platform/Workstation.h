#pragma once

#include <QList>
#include <QProcessEnvironment>
#include <QString>

#include <array>

namespace platform {

// An IPv4 address as four bytes, the first dotted component first.
using Ipv4Address = std::array<quint8, 4>;

// The source of the workstation's local IPv4 addresses. Behind an interface so that tests can hand in
// tables of their own.
class AddressSource
{
public:
    virtual ~AddressSource() = default;

    // Fills rows with every IPv4 address of every interface, loopback included, in ascending order of
    // address. Returns 0 on success, or the platform's error code (errno, or GetIpAddrTable's result) when
    // the table cannot be read.
    virtual int read(QList<Ipv4Address>& rows) = 0;
};

// The machine's own address table, read with getifaddrs(3), or on Windows with GetIpAddrTable.
class InterfaceAddresses : public AddressSource
{
public:
    int read(QList<Ipv4Address>& rows) override;
};

// The one instance the program uses.
AddressSource& systemAddresses();

// The process's environment.
QProcessEnvironment environment();
// The machine's host name.
QString hostName();
// The login name of the process's user, or empty when the user has no entry in the user database.
QString loginName();

} // namespace platform
