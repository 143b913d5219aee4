#pragma once
// The blank meet file PVD.DAT beside the program, of which every new meet
// file is a copy. A fresh build has none: it is made from the meet schema
// built into the program the first time a meet is created.
#include <string>

namespace korva {

// Where the template is looked for: PVD.DAT in the program's folder, unless
// a test has pointed it elsewhere.
std::string BlankMeetTemplatePath();
void SetBlankMeetTemplatePath(const std::string& path);

// Makes the template from the built-in meet schema when it is missing.
// True when the template exists afterwards.
bool EnsureBlankMeetTemplate();

// Copies the template to dest, never overwriting an existing file. True on
// success; on failure nothing is left at dest.
bool CopyBlankMeetTemplate(const std::string& dest);

}  // namespace korva
