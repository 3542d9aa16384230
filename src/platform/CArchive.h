#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/CString.h"

class CFile;

// Raised when a read would pass the end of the data; the document reports it
// as "Unexpected file format.".
class CArchiveException : public std::runtime_error {
public:
    CArchiveException()
        : std::runtime_error("end of file")
    { }
    // Data that is complete but cannot be taken; reason says why, for the
    // message that reports the file.
    explicit CArchiveException(const std::string& reason)
        : std::runtime_error(reason)
        , m_bReason(true)
    { }
    bool HasReason() const { return m_bReason; }

private:
    bool m_bReason = false;
};

// The binary stream of the project file: little-endian DWORDs and length-
// prefixed 8-bit strings, no padding. One archive either stores or loads, so
// the same Serialize code serves both directions. It works on bytes in memory
// or on an open file, which it reads and writes in pieces so that a large
// project is never held twice.
class CArchive {
public:
    enum class EMode { Load, Store };

    // A storing archive that appends to buffer.
    explicit CArchive(std::string& buffer);
    // A loading archive over data, which must outlive the archive.
    explicit CArchive(std::string_view data);
    // An archive that loads from or stores into file, which must outlive it.
    // A failed read ends the data (the file keeps its error); after a failed
    // write nothing more is written.
    CArchive(CFile& file, EMode mode);
    // A storing archive that hands its bytes to sink in pieces (to hash them
    // without holding them).
    explicit CArchive(std::function<void(std::string_view)> sink);

    bool IsStoring() const { return m_pOut != nullptr; }
    bool IsLoading() const { return m_pOut == nullptr; }
    // Bytes not yet read (loading from memory; from a file, those read ahead).
    size_t GetRemaining() const { return m_data.size() - m_nPos; }
    // Whether nothing is left to load.
    bool IsAtEnd();
    // Storing into a file: writes out what is still buffered; false when any
    // write failed.
    bool Flush();

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
    bool FillWindow(uint64_t count);
    void WriteOutIfFull();
    // Storing into a file or sink: bytes past the window, after a Flush.
    void WriteThrough(std::string_view bytes);
    uint64_t ReadLengthPrefix(bool& wide);
    void WriteDword(uint32_t value);

    std::string* m_pOut = nullptr;
    std::string_view m_data;
    size_t m_nPos = 0;
    // Working on a file: the piece of it held in memory (loading: m_data views
    // it; storing: m_pOut appends to it).
    CFile* m_pFile = nullptr;
    std::function<void(std::string_view)> m_sink;
    std::string m_window;
    bool m_bFileEnded = false;
};
