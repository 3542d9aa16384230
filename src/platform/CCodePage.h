#pragma once

#include <string>
#include <string_view>

#include "platform/CString.h"

// The Windows-1252 code page of 8-bit texts, and where it meets Unicode.
// A character that Windows-1252 cannot hold becomes the HTML numeric character
// reference "&#N;" (decimal code point), so nothing typed is lost in a page.
class CCodePage {
public:
    // The Unicode code point of one Windows-1252 byte. The five bytes the code
    // page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1
    // controls of the same number, so every byte survives a round trip.
    static char32_t ToCodePoint(unsigned char byte);

    // Appends the Windows-1252 form of one code point: its byte, or "&#N;".
    static void AppendCodePoint(CString& out, char32_t codePoint);

    // Appends the UTF-8 bytes of one code point.
    static void AppendUtf8(std::string& out, char32_t codePoint);

    static std::string ToUtf8(std::string_view text);
    // Invalid UTF-8 sequences become U+FFFD, as "&#65533;".
    static CString FromUtf8(std::string_view utf8);
    // UTF-16 code units; unpaired surrogates become U+FFFD.
    static CString FromUtf16(std::u16string_view text);

    // Lowers every letter of the code page (A-Z and the accented capitals),
    // as the platform's CharLowerA does for Windows-1252.
    static void CharLower(CString& text);
    // Lowers A-Z only.
    static void AsciiLower(CString& text);
    // Compares without regard to ASCII case; <0, 0 or >0.
    static int CompareNoCase(std::string_view a, std::string_view b);
};
