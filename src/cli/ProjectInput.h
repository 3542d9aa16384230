#pragma once

#include <ostream>
#include <string>

class CPagewellDoc;

// Opens the project file a subcommand was given, in either form (the archive
// or the JSON text); errors are the document's own messages. False when
// nothing was opened.
bool OpenProjectArgument(
    CPagewellDoc& doc, const std::string& path, const std::string& command, std::ostream& err);

// Whether the file at path holds JSON text rather than a project file.
bool HoldsJson(const std::string& path);
