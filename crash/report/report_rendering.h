// \brief The rendering rule of the bug report: the header's named fields as aligned lines, then
// every section under its name, one text with carriage return / line feed line breaks.
#pragma once

#include <string>

#include "crash/settings/ikx_fields.h"

namespace kestrix {

// Header lines: each name padded to the longest name plus one, ": ", and the content on one line
// (every line break becomes a blank, runs of blanks one blank); no line break after the last.
// Sections: an empty line, the name with ":" unless it holds one, then the content's lines with
// trailing blanks removed, an empty line written as ".". A line break at the very end of a
// content ends its last line and starts no further one. Both lists stay locked while they are
// read, so a field changed meanwhile is either wholly in the text or not at all.
std::string RenderBugReport(const IKXFields& header, const IKXFields& sections);

}  // namespace kestrix
