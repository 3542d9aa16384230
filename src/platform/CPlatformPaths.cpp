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

CString CPlatformPaths::DefaultDestination()
{
    std::string home = HomeDirectory();
    if (home.empty() || home.back() != '/')
        home += '/';
    return CCodePage::FromUtf8(home + "homepage");
}
