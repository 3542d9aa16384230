#pragma once

#include <string>

// Where the program keeps per-user files outside any project.
class CUserFolders {
public:
    // $XDG_CACHE_HOME/pagewell (usually ~/.cache/pagewell): files the program
    // can always make again, such as the records of generation runs. Empty
    // when neither XDG_CACHE_HOME (an absolute path) nor HOME is set.
    static std::string GetCacheFolder();
};
