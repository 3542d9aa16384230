#include "platform/CArchive.h"

#include "platform/CCodePage.h"

namespace {
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

void CArchive::WriteDword(uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        m_pOut->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
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
    m_pOut->append(text);
    return *this;
}

std::string_view CArchive::ReadBytes(uint64_t count)
{
    // Checked before anything is allocated, so a length prefix larger than the
    // rest of the file fails at once.
    if (count > GetRemaining())
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
