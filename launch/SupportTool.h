#pragma once

#include "catalogue/Descriptor.h"
#include "platform/TextDecoding.h"

#include <QString>

namespace launch {

// The descriptor that tells where the support tool lies: the given launch path (the first catalogue
// entry's) with "txt" in place of its last three characters. Error 5 for a path shorter than that.
QString supportDescriptorPath(const QString& launchPath);

// The reading of that descriptor that supportToolPath() takes: each non-empty "NewFiles" value, in order,
// loses one trailing "\" and then everything from its last "\" on, and the last one decides. Error 5 for
// a value without any "\", which stops the reading, as the suite's reader does, before a later line is
// looked at.
//
// The suite writes these paths with "\"; a "/" in a value counts as one, so "/srv/marun/update/" works as
// "S:\Apps\Update\" does.
catalogue::DescriptorReading supportToolReading();

// Where the support tool "QRM.exe" lies, from what reading kept of the descriptor, in the encoding it has:
// in the folder one level above the one its last "NewFiles" value names; with none, the tool is sought in
// the root folder. The result uses "/". Raises what stopped the reading.
QString supportToolPath(const catalogue::DescriptorReading& reading, platform::TextEncoding encoding);

} // namespace launch
