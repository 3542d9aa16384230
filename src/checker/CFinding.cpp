#include "checker/CFinding.h"

const char* CFinding::GetSeverityName() const
{
    return severity == ESeverity::Error ? "error" : "warning";
}

CString CFinding::GetPathText() const
{
    if (path.empty())
        return "(project)";
    CString text;
    for (const CString& tag : path) {
        if (!text.empty())
            text += '/';
        text += tag;
    }
    return text;
}

CString CFinding::FormatLine() const
{
    CString line = GetPathText() + ": " + GetSeverityName() + ": " + message;
    if (!hint.empty())
        line += "; hint: " + hint;
    return line;
}
