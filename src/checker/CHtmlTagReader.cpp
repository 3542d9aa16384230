#include "checker/CHtmlTagReader.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

bool IsNameChar(char c)
{
    return !IsBlank(c) && c != '>' && c != '/' && c != '=' && c != '"' && c != '\'' && c != '<';
}

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool CHtmlTagReader::EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

std::optional<std::string_view> CHtmlTagReader::CTag::Get(std::string_view attribute) const
{
    for (const CAttribute& a : attributes) {
        if (EqualNoCase(a.name, attribute))
            return a.value;
    }
    return std::nullopt;
}

bool CHtmlTagReader::CTag::Is(std::string_view tagName) const
{
    return EqualNoCase(name, tagName);
}

bool CHtmlTagReader::Next(CTag& tag)
{
    while (true) {
        const size_t open = m_text.find('<', m_nPos);
        if (open == std::string_view::npos || open + 1 >= m_text.size()) {
            m_nPos = m_text.size();
            return false;
        }
        m_nPos = open + 1;
        if (m_text.substr(m_nPos).starts_with("!--")) {
            const size_t end = m_text.find("-->", m_nPos);
            m_nPos = end == std::string_view::npos ? m_text.size() : end + 3;
            continue;
        }
        if (!IsLetter(m_text[m_nPos]))
            continue;
        tag.name = ReadName();
        tag.attributes.clear();
        ReadAttributes(tag);
        return true;
    }
}

std::string_view CHtmlTagReader::ReadName()
{
    const size_t start = m_nPos;
    while (m_nPos < m_text.size() && IsNameChar(m_text[m_nPos]))
        ++m_nPos;
    return m_text.substr(start, m_nPos - start);
}

void CHtmlTagReader::SkipBlanks()
{
    while (m_nPos < m_text.size() && IsBlank(m_text[m_nPos]))
        ++m_nPos;
}

void CHtmlTagReader::ReadAttributes(CTag& tag)
{
    while (true) {
        SkipBlanks();
        if (m_nPos >= m_text.size())
            return;
        const char c = m_text[m_nPos];
        if (c == '>') {
            ++m_nPos;
            return;
        }
        if (c == '<')
            return; // an unclosed tag: the next one starts here
        if (!IsNameChar(c)) {
            ++m_nPos;
            continue;
        }
        CAttribute attribute { ReadName(), {} };
        SkipBlanks();
        if (m_nPos < m_text.size() && m_text[m_nPos] == '=') {
            ++m_nPos;
            SkipBlanks();
            const char quote = m_nPos < m_text.size() ? m_text[m_nPos] : '\0';
            if (quote == '"' || quote == '\'') {
                const size_t end = m_text.find(quote, m_nPos + 1);
                const size_t stop = end == std::string_view::npos ? m_text.size() : end;
                attribute.value = m_text.substr(m_nPos + 1, stop - m_nPos - 1);
                m_nPos = end == std::string_view::npos ? m_text.size() : end + 1;
            } else {
                const size_t start = m_nPos;
                while (m_nPos < m_text.size() && !IsBlank(m_text[m_nPos]) && m_text[m_nPos] != '>')
                    ++m_nPos;
                attribute.value = m_text.substr(start, m_nPos - start);
            }
        }
        tag.attributes.push_back(attribute);
    }
}
