#pragma once

#include <string_view>

#include "platform/CString.h"

// The bytes of a page file in the project's page encoding. Pages are built
// from Windows-1252 texts; a UTF-8 page converts them, and writes a character
// that Windows-1252 could not hold (which the texts keep as "&#N;", N of 256
// and more) as itself.
class CPageEncoding {
public:
    enum class EEncoding { Windows1252, Utf8 };

    static CString Encode(std::string_view page, EEncoding encoding);
};
