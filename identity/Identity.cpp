#include "Identity.h"

#include "platform/LetterCase.h"

#include <algorithm>
#include <functional>

using namespace Qt::StringLiterals;

namespace identity {

QString formatAddressList(const QList<platform::Ipv4Address>& rows)
{
    QString list;
    for (const platform::Ipv4Address& row : rows) {
        const QString address =
            u"%1.%2.%3.%4"_s.arg(uint(row[0])).arg(uint(row[1])).arg(uint(row[2])).arg(uint(row[3]));
        if (address.startsWith(u"0.") || address.startsWith(u"169") || address.startsWith(u"127"))
            continue;
        if (!list.isEmpty())
            list += u"\r\n"_s + QString(23, u' ');
        list += address;
    }
    return list;
}

std::optional<QString> variableIgnoringCase(const QProcessEnvironment& environment, const QString& name)
{
    QStringList names = environment.keys();
    std::sort(names.begin(), names.end());
    for (const QString& candidate : names) {
        if (candidate.compare(name, Qt::CaseInsensitive) == 0)
            return environment.value(candidate);
    }
    return std::nullopt;
}

namespace {

QString valueOr(const std::optional<QString>& value, const std::function<QString()>& standIn)
{
    if (value)
        return *value;
    return standIn ? standIn() : QString();
}

} // namespace

Workstation workstation(const QProcessEnvironment& environment, const platform::NameStandIns& standIns)
{
    Workstation names;
    names.computerName = valueOr(variableIgnoringCase(environment, u"computername"_s), standIns.computerName);
    names.userDomain = variableIgnoringCase(environment, u"userdomain"_s)
                           .value_or(standIns.domainIsComputerName ? names.computerName : QString());
    names.userName = valueOr(variableIgnoringCase(environment, u"username"_s), standIns.userName);
    return names;
}

QString identityText(const QString& addressList, const Workstation& workstation)
{
    return u"IP address:"_s + QString(5, u' ') + addressList + u"\r\n"_s //
        + u"Computer:"_s + QString(6, u' ') + platform::toUpper(workstation.computerName) + u"\r\n"_s //
        + u"Username:"_s + QString(6, u' ') + platform::toUpper(workstation.userDomain) + u" \\ "_s
        + platform::toUpper(workstation.userName);
}

} // namespace identity
