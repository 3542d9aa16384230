#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/CString.h"

// Raised when a read would pass the end of the data; the document reports it
// as "Unexpected file format.".
class CArchiveException : public std::runtime_error {
public:
    CArchiveException()
        : std::runtime_error("end of file")
    { }
};

// The binary stream of the project file: little-endian DWORDs and length-
// prefixed 8-bit strings, no padding. One archive either stores into a byte
// buffer or loads from one, so the same Serialize code serves both directions.
class CArchive {
public:
    // A storing archive that appends to buffer.
    explicit CArchive(std::string& buffer);
    // A loading archive over data, which must outlive the archive.
    explicit CArchive(std::string_view data);

    bool IsStoring() const { return m_pOut != nullptr; }
    bool IsLoading() const { return m_pOut == nullptr; }
    // Bytes not yet read (loading only).
    size_t GetRemaining() const { return m_data.size() - m_nPos; }

    CArchive& operator<<(uint32_t value);
    CArchive& operator<<(int32_t value);
    CArchive& operator<<(const CString& text);
    CArchive& operator>>(uint32_t& value);
    CArchive& operator>>(int32_t& value);
    CArchive& operator>>(CString& text);

    // Either direction: stores or loads the field.
    template <typename T> void Exchange(T& field)
    {
        if (IsStoring())
            *this << static_cast<const T&>(field);
        else
            *this >> field;
    }

private:
    uint32_t ReadDword();
    uint16_t ReadWord();
    uint8_t ReadByte();
    std::string_view ReadBytes(uint64_t count);
    uint64_t ReadLengthPrefix(bool& wide);
    void WriteDword(uint32_t value);

    std::string* m_pOut = nullptr;
    std::string_view m_data;
    size_t m_nPos = 0;
};
