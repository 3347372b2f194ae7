#include "LetterCase.h"

namespace platform {

namespace {

template <typename Mapping>
QString mapEachCharacter(QStringView text, Mapping map)
{
    QString result = text.toString();
    char16_t* units = reinterpret_cast<char16_t*>(result.data());
    for (qsizetype i = 0; i < result.size(); ++i) {
        const char16_t unit = units[i];
        if (QChar::isHighSurrogate(unit) && i + 1 < result.size() && QChar::isLowSurrogate(units[i + 1])) {
            const char32_t mapped = map(QChar::surrogateToUcs4(unit, units[i + 1]));
            if (QChar::requiresSurrogates(mapped)) {
                units[i] = QChar::highSurrogate(mapped);
                units[i + 1] = QChar::lowSurrogate(mapped);
            }
            ++i;
        } else if (!QChar::isSurrogate(unit)) {
            const char32_t mapped = map(char32_t(unit));
            if (!QChar::requiresSurrogates(mapped))
                units[i] = char16_t(mapped);
        }
    }
    return result;
}

} // namespace

QString toUpper(QStringView text)
{
    return mapEachCharacter(text, [](char32_t c) { return QChar::toUpper(c); });
}

QString toLower(QStringView text)
{
    return mapEachCharacter(text, [](char32_t c) { return QChar::toLower(c); });
}

} // namespace platform
