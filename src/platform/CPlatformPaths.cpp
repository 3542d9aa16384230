#include "platform/CPlatformPaths.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

#include "platform/CCodePage.h"

std::string CPlatformPaths::HomeDirectory()
{
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    return "/";
}

std::string CPlatformPaths::CacheFolder()
{
    // Relative values are to be ignored, as the XDG base directory rules say.
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache != nullptr && cache[0] == '/')
        return std::string(cache) + "/pagewell";
    std::string home = HomeDirectory();
    if (home.empty() || home.back() != '/')
        home += '/';
    return home + ".cache/pagewell";
}

std::string CPlatformPaths::StateFolder()
{
    if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && state[0] == '/')
        return std::string(state) + "/pagewell";
    std::string home = HomeDirectory();
    if (home.empty() || home.back() != '/')
        home += '/';
    return home + ".local/state/pagewell";
}

CString CPlatformPaths::DefaultDestination()
{
    std::string home = HomeDirectory();
    if (home.empty() || home.back() != '/')
        home += '/';
    return CCodePage::FromUtf8(home + "homepage");
}
