#include "checker/CFinding.h"

const char* CFinding::GetSeverityName() const
{
    return severity == ESeverity::Error ? "error" : "warning";
}

CString CFinding::GetPathText() const
{
    if (path.empty())
        return "(project)";
    return path.GetText();
}

CString CFinding::FormatLine() const
{
    CString line = GetPathText() + ": " + GetSeverityName() + ": " + message;
    if (!hint.empty())
        line += "; hint: " + hint;
    return line;
}
