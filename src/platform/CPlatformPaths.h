#pragma once

#include <string>

#include "platform/CString.h"

// Where the program's files live on Linux.
class CPlatformPaths {
public:
    // The default destination of a generated site: the folder "homepage" in
    // the user's home directory (as 8-bit text for the project file).
    static CString DefaultDestination();
    // The user's home directory (native).
    static std::string HomeDirectory();
    // $XDG_CACHE_HOME/pagewell (usually ~/.cache/pagewell): files the program
    // can always make again, such as the records of generation runs.
    static std::string CacheFolder();
    // $XDG_STATE_HOME/pagewell (usually ~/.local/state/pagewell): what the
    // program keeps between runs that is not a setting, such as the
    // recovery of unsaved work.
    static std::string StateFolder();
};
