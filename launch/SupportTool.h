#pragma once

#include <QString>
#include <QStringList>

namespace launch {

// The descriptor that tells where the support tool lies: the given launch path (the first catalogue
// entry's) with "txt" in place of its last three characters. Error 5 for a path shorter than that.
QString supportDescriptorPath(const QString& launchPath);

// Where the support tool "QRM.exe" lies, from the text of that descriptor: in the folder one level above
// the one its "NewFiles" value names. Each non-empty value, in order, loses one trailing "\" and then
// everything from its last "\" on, and the last one decides; with none, the tool is sought in the root
// folder. Error 5 for a value without any "\".
//
// The suite writes these paths with "\"; a "/" in a value counts as one, so "/srv/marun/update/" works as
// "S:\Apps\Update\" does, and the result uses "/".
QString supportToolPath(QStringView descriptorText);

} // namespace launch
