#include "platform/CUserFolders.h"

#include <cstdlib>

std::string CUserFolders::GetCacheFolder()
{
    // Relative values are to be ignored, as the XDG base directory rules say.
    const char* pszCache = std::getenv("XDG_CACHE_HOME");
    if (pszCache != nullptr && pszCache[0] == '/')
        return std::string(pszCache) + "/pagewell";
    const char* pszHome = std::getenv("HOME");
    if (pszHome != nullptr && pszHome[0] == '/')
        return std::string(pszHome) + "/.cache/pagewell";
    return {};
}
