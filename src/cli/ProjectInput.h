#pragma once

#include <ostream>
#include <string>

#include "platform/CString.h"

class CPagewellDoc;

// Opens the project file a subcommand was given, in either form (the archive
// or the JSON text); errors are the document's own messages. False when
// nothing was opened.
bool OpenProjectArgument(
    CPagewellDoc& doc, const std::string& path, const std::string& command, std::ostream& err);

// Whether the file at path holds JSON text rather than a project file.
bool HoldsJson(const std::string& path);

// Makes a missing destination folder, with its parents, by the rule the run's
// paths follow (a backslash separates too). An empty destination, or one among
// the workspace's sources, is left to the run, which refuses it with its
// message. False, with the reason in err, when the folder cannot be made.
bool MakeDestinationFolder(const CString& destination, const std::string& command, std::ostream& err);
