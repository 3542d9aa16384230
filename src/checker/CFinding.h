#pragma once

#include <vector>

#include "checker/CTagPath.h"
#include "platform/CString.h"

enum class ESeverity {
    Error, // the site comes out wrong or incomplete
    Warning, // the site comes out, but something in it will likely trouble a reader or a server
};

// One thing the checks found: how bad it is, which object (the path of tags
// from the root; empty for the project as a whole), what is wrong and what to
// do about it.
struct CFinding {
    ESeverity severity = ESeverity::Error;
    CTagPath path;
    CString message;
    CString hint;

    // "error" or "warning".
    const char* GetSeverityName() const;
    // The tags joined by "/" (a very deep path shortened, see CTagPath);
    // "(project)" for the project as a whole.
    CString GetPathText() const;
    // One line, as a compiler prints a diagnostic:
    // "Index/News: error: MESSAGE; hint: HINT".
    CString FormatLine() const;
};
