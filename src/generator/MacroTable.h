#pragma once

#include <array>
#include <string_view>

// The macros of the template language, by number. The first 32 are those
// of every version; the site settings' macros follow.
enum EMacro : int {
    MACRO_ALIGN = 0,
    MACRO_LINE = 1,
    MACRO_IMAGE = 2,
    MACRO_BGIMAGE = 3,
    MACRO_BULLET = 4,
    MACRO_STYLE = 5,
    MACRO_COLOR = 6,
    MACRO_GENERATOR = 7,
    MACRO_TAG = 8,
    MACRO_LINKS = 9,
    MACRO_LINKBODY = 10,
    MACRO_ADDRESS = 11,
    MACRO_TITLE = 12,
    MACRO_AUTHOR = 13,
    MACRO_TEXT = 14,
    MACRO_HOME = 15,
    MACRO_PARENT = 16,
    MACRO_HOMENAME = 17,
    MACRO_PARENTNAME = 18,
    MACRO_BACKBUTTON = 19,
    MACRO_HOMEBUTTON = 20,
    MACRO_LEVEL = 21,
    MACRO_UPBUTTON = 22,
    MACRO_UP = 23,
    MACRO_NEWIMAGE = 24,
    MACRO_CONSTRIMAGE = 25,
    MACRO_UPDATEDIMAGE = 26,
    MACRO_UPNAME = 27,
    MACRO_LINK = 28,
    MACRO_MORELINKS = 29,
    MACRO_REFTITLE = 30,
    MACRO_HOMELINKS = 31,
    MACRO_LANG = 32,
    MACRO_DESCRIPTION = 33,
    MACRO_BASEURL = 34,
    MACRO_CHARSET = 35,
    MACRO_FAVICON = 36,
    MACRO_FEED = 37,
    MACRO_COUNT = 38,
};

inline constexpr std::array<std::string_view, MACRO_COUNT> kMacroNames = { "ALIGN", "LINE", "IMAGE",
    "BGIMAGE", "BULLET", "STYLE", "COLOR", "GENERATOR", "TAG", "LINKS", "LINKBODY", "ADDRESS", "TITLE",
    "AUTHOR", "TEXT", "HOME", "PARENT", "HOMENAME", "PARENTNAME", "BACKBUTTON", "HOMEBUTTON", "LEVEL",
    "UPBUTTON", "UP", "NEWIMAGE", "CONSTRIMAGE", "UPDATEDIMAGE", "UPNAME", "LINK", "MORELINKS", "REFTITLE",
    "HOMELINKS", "LANG", "DESCRIPTION", "BASEURL", "CHARSET", "FAVICON", "FEED" };

// Whether an assignment computes a value: the names set by HOME, PARENT and
// UP and the two conditional names do not.
inline constexpr bool IsAssignableMacro(int nMacro)
{
    return nMacro != MACRO_HOMENAME && nMacro != MACRO_PARENTNAME && nMacro != MACRO_LEVEL
        && nMacro != MACRO_UPNAME && nMacro != MACRO_MORELINKS;
}

// What the GENERATOR macro names.
inline constexpr const char* kGeneratorName = "Pagewell 0.3b";
