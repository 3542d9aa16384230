#pragma once

#include <QString>

#include "platform/CCodePage.h"
#include "platform/CString.h"

// Where Qt's Unicode strings meet the model's Windows-1252 texts. A character
// that Windows-1252 cannot hold becomes "&#N;" on its way into the model.
inline QString ToQString(const CString& text)
{
    return QString::fromStdString(CCodePage::ToUtf8(text));
}

inline CString FromQString(const QString& text)
{
    return CCodePage::FromUtf8(text.toStdString());
}

// Native file names (UTF-8 on Linux).
inline QString PathToQString(const std::string& path)
{
    return QString::fromStdString(path);
}

inline std::string PathFromQString(const QString& path)
{
    return path.toStdString();
}
