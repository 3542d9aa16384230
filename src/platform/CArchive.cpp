#include "platform/CArchive.h"

#include <algorithm>
#include <utility>

#include "platform/CCodePage.h"
#include "platform/CFile.h"

namespace {
// The size of the pieces a file is read and written in.
constexpr size_t kPieceSize = size_t { 256 } * 1024;
constexpr uint8_t kLongPrefix = 0xFF;
constexpr uint16_t kDwordLength = 0xFFFF;
constexpr uint16_t kWideMark = 0xFFFE;
} // namespace

CArchive::CArchive(std::string& buffer)
    : m_pOut(&buffer)
{ }

CArchive::CArchive(std::string_view data)
    : m_data(data)
{ }

CArchive::CArchive(CFile& file, EMode mode)
    : m_pFile(&file)
{
    if (mode == EMode::Store) {
        m_window.reserve(kPieceSize + kPieceSize / 4);
        m_pOut = &m_window;
    }
}

CArchive::CArchive(std::function<void(std::string_view)> sink)
    : m_sink(std::move(sink))
{
    m_window.reserve(kPieceSize + kPieceSize / 4);
    m_pOut = &m_window;
}

void CArchive::WriteOutIfFull()
{
    if ((m_pFile != nullptr || m_sink) && m_window.size() >= kPieceSize)
        Flush();
}

bool CArchive::Flush()
{
    if (m_sink) {
        m_sink(m_window);
        m_window.clear();
        return true;
    }
    if (m_pFile == nullptr)
        return true;
    // After a failed write the rest is dropped: the file is incomplete anyway
    // and its error says so.
    if (!m_window.empty() && m_pFile->GetError() == EFileError::None)
        m_pFile->Write(m_window);
    m_window.clear();
    return m_pFile->GetError() == EFileError::None;
}

void CArchive::WriteThrough(std::string_view bytes)
{
    if (m_sink)
        m_sink(bytes);
    else if (m_pFile->GetError() == EFileError::None)
        m_pFile->Write(bytes);
}

bool CArchive::FillWindow(uint64_t count)
{
    if (m_pFile == nullptr || m_bFileEnded)
        return false;
    // Keep the bytes not yet read, then read pieces until count are there.
    // The window grows at most by doubling, so a length prefix larger than
    // the file never allocates more than the file holds.
    m_window.erase(0, m_nPos);
    m_nPos = 0;
    while (m_window.size() < count && !m_bFileEnded) {
        const size_t have = m_window.size();
        const size_t room = std::max(kPieceSize, std::min(static_cast<size_t>(count) - have, have));
        m_window.resize(have + room);
        const ssize_t got = m_pFile->Read(m_window.data() + have, room);
        m_window.resize(have + static_cast<size_t>(std::max<ssize_t>(got, 0)));
        m_bFileEnded = got <= 0;
    }
    m_data = m_window;
    return m_window.size() >= count;
}

bool CArchive::IsAtEnd()
{
    return GetRemaining() == 0 && !FillWindow(1);
}

void CArchive::WriteDword(uint32_t value)
{
    const char bytes[4] = { static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
        static_cast<char>((value >> 16) & 0xFF), static_cast<char>((value >> 24) & 0xFF) };
    m_pOut->append(bytes, sizeof bytes);
    WriteOutIfFull();
}

CArchive& CArchive::operator<<(uint32_t value)
{
    WriteDword(value);
    return *this;
}

CArchive& CArchive::operator<<(int32_t value)
{
    WriteDword(static_cast<uint32_t>(value));
    return *this;
}

CArchive& CArchive::operator<<(const CString& text)
{
    const size_t length = text.size();
    if (length < kLongPrefix) {
        m_pOut->push_back(static_cast<char>(length));
    } else if (length < kWideMark) {
        m_pOut->push_back(static_cast<char>(kLongPrefix));
        m_pOut->push_back(static_cast<char>(length & 0xFF));
        m_pOut->push_back(static_cast<char>(length >> 8));
    } else {
        m_pOut->push_back(static_cast<char>(kLongPrefix));
        m_pOut->push_back(static_cast<char>(0xFF));
        m_pOut->push_back(static_cast<char>(0xFF));
        WriteDword(static_cast<uint32_t>(length));
    }
    // A long text goes to the file or sink as it is, not through the window.
    if ((m_pFile != nullptr || m_sink) && length >= kPieceSize) {
        Flush();
        WriteThrough(text);
        return *this;
    }
    m_pOut->append(text);
    WriteOutIfFull();
    return *this;
}

std::string_view CArchive::ReadBytes(uint64_t count)
{
    // Checked before anything is allocated, so a length prefix larger than the
    // rest of the file fails at once.
    if (count > GetRemaining() && !FillWindow(count))
        throw CArchiveException();
    std::string_view bytes = m_data.substr(m_nPos, static_cast<size_t>(count));
    m_nPos += static_cast<size_t>(count);
    return bytes;
}

uint8_t CArchive::ReadByte()
{
    return static_cast<uint8_t>(ReadBytes(1)[0]);
}

uint16_t CArchive::ReadWord()
{
    const std::string_view b = ReadBytes(2);
    return static_cast<uint16_t>(static_cast<uint8_t>(b[0]) | (static_cast<uint8_t>(b[1]) << 8));
}

uint32_t CArchive::ReadDword()
{
    const std::string_view b = ReadBytes(4);
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<uint8_t>(b[static_cast<size_t>(i)]);
    return value;
}

CArchive& CArchive::operator>>(uint32_t& value)
{
    value = ReadDword();
    return *this;
}

CArchive& CArchive::operator>>(int32_t& value)
{
    value = static_cast<int32_t>(ReadDword());
    return *this;
}

uint64_t CArchive::ReadLengthPrefix(bool& wide)
{
    // The wide mark may repeat; each repetition is followed by another prefix.
    for (;;) {
        const uint8_t first = ReadByte();
        if (first != kLongPrefix)
            return first;
        const uint16_t word = ReadWord();
        if (word == kWideMark) {
            wide = true;
            continue;
        }
        if (word != kDwordLength)
            return word;
        return ReadDword();
    }
}

CArchive& CArchive::operator>>(CString& text)
{
    bool wide = false;
    const uint64_t length = ReadLengthPrefix(wide);
    if (!wide) {
        text.assign(ReadBytes(length));
        return *this;
    }
    const std::string_view bytes = ReadBytes(length * 2);
    std::u16string units(static_cast<size_t>(length), u'\0');
    for (size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(
            static_cast<uint8_t>(bytes[2 * i]) | (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
    text = CCodePage::FromUtf16(units);
    return *this;
}
