#pragma once

#include <string>

// 8-bit text as the project file and the generated pages hold it: Windows-1252
// bytes, stored and written byte for byte. Conversions to and from Unicode live
// in CCodePage.
using CString = std::string;
