#pragma once

#include "platform/Workstation.h"

#include <QList>
#include <QProcessEnvironment>
#include <QString>

#include <optional>

namespace identity {

// The address list of the identity panel: every address in dotted decimal, in table order, leaving out
// those whose text begins with "0.", "169" or "127"; the second and each later address preceded by a
// carriage return, a line feed and 23 spaces.
QString formatAddressList(const QList<platform::Ipv4Address>& rows);

// The value of an environment variable whose name equals name ignoring letter case; among several
// spellings the first in ordinal order of the names wins. Empty when no spelling is set.
std::optional<QString> variableIgnoringCase(const QProcessEnvironment& environment, const QString& name);

struct Workstation
{
    QString computerName;
    QString userDomain;
    QString userName;
};

// The workstation's names from the variables computername, userdomain and username. Where none of a
// name's spellings is set, the platform's stand-in gives it, or it is empty where the platform has none.
// A stand-in is asked only when it is needed.
Workstation workstation(const QProcessEnvironment& environment, const platform::NameStandIns& standIns);

// The identity panel's text: "IP address:", 5 spaces and the address list; "Computer:", 6 spaces and the
// computer name; "Username:", 6 spaces, the domain, " \ " and the user name. Names in upper case, lines
// joined by a carriage return and a line feed, no line break at the end.
QString identityText(const QString& addressList, const Workstation& workstation);

} // namespace identity
