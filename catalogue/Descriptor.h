#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

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

// The reading loop over a descriptor's text: each line is trimmed, comment lines ("*" first) are skipped,
// and every line whose value for key is not empty gives it to value(QString), in the order of the lines.
// Each line is looked up only once the lines before it are done with, so an error that value() raises
// for a line stops the loop before a later line could raise another.
void forEachDescriptorValue(QStringView text, QStringView key, const std::function<void(QString)>& value);

// Every value that forEachDescriptorValue() gives, in order.
QStringList descriptorValues(QStringView text, QStringView key);

// The last of descriptorValues(), the one that counts; empty when no line gives a value.
QString descriptorValue(QStringView text, QStringView key);

} // namespace catalogue
