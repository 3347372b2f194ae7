#pragma once

#include "platform/TextDecoding.h"

#include <QString>
#include <QStringView>

#include <exception>
#include <functional>

namespace catalogue {

// Keys of the descriptor files "StarterCS.txt" and "Starter.txt".
inline constexpr QStringView DisplayNameKey = u"OpisBaze";
inline constexpr QStringView NewFilesKey = u"NewFiles";

// text without its leading and trailing spaces (U+0020 only; tabs stay).
QStringView trimSpaces(QStringView text);

// The value of key txtKljuc on one trimmed, non-comment descriptor line, or Default when the line does not
// begin with the key. The key test ignores letter case and is a prefix test ("OpisBazeStara=X" gives X);
// the value follows the first "=" after the key, trimmed of spaces, with every tab removed, letter case
// kept. A line that begins with the key but has no "=" after it gives Default as well.
// A line of 32767 or more characters that begins with the key raises error 6, as the suite's own
// readers do.
QString ReadStarterTxt(QStringView txtStream, QStringView txtKljuc, const QString& Default);

// The reading loop over a descriptor's lines as the file is read (platform::TextLines), for both of the
// encodings it may turn out to have: each line is trimmed, comment lines ("*" first) are skipped, and
// every line whose value for key is not empty is given to value(kept, value), in the order of the lines,
// which makes of it what is kept. What is kept is what the loop needs, never the lines. An error that
// ReadStarterTxt() or value() raises for a line stops the loop for that encoding before a later line could
// raise another; kept() raises it again for the encoding the descriptor has.
//
// It stays where it was made, since lines() gives the lines to this object: it can be neither copied nor
// moved, and a function that makes one returns it as it is made.
class DescriptorReading
{
public:
    using Value = std::function<void(QString& kept, QString value)>;

    DescriptorReading(QStringView key, Value value);
    DescriptorReading(const DescriptorReading&) = delete;
    DescriptorReading& operator=(const DescriptorReading&) = delete;
    // What platform::readTextFile() and the like give the lines to, for as long as this object lives.
    platform::TextLines::Line lines();
    QString kept(platform::TextEncoding encoding) const;

private:
    void line(platform::TextEncoding encoding, QStringView text);

    struct Reading
    {
        QString kept;
        std::exception_ptr error;
    };
    QStringView m_key;
    Value m_value;
    Reading m_readings[2]; // by encoding
};

// The reading of the value of key that counts: the last that a line gives, empty when none does.
DescriptorReading lastValue(QStringView key);

} // namespace catalogue
