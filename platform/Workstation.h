#pragma once

#include <QList>
#include <QProcessEnvironment>
#include <QString>

#include <array>
#include <functional>

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

// What gives a workstation name whose variable (COMPUTERNAME, USERDOMAIN, USERNAME) is not set: functions
// for the computer and the user name, each asked only when needed, and whether the domain is then the
// computer name. A name without a stand-in is empty.
struct NameStandIns
{
    std::function<QString()> computerName;
    std::function<QString()> userName;
    bool domainIsComputerName = false;
};

// On POSIX, where those variables are not part of the system: the host name, the login name of the
// process's user (empty when the user database has no entry for it), and the computer name for the domain.
// None on Windows, where the variables are the workstation's own and one that is not set is empty.
NameStandIns nameStandIns();

} // namespace platform
