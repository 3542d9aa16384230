#include "generator/CGenerationLog.h"

void CGenerationLog::Add(std::string_view line)
{
    m_strText.append(line);
    m_strText.append("\r\n");
}

void CGenerationLog::Add(std::initializer_list<std::string_view> parts)
{
    for (const std::string_view part : parts)
        m_strText.append(part);
    m_strText.append("\r\n");
}

bool CGenerationLog::HasLineStarting(std::string_view text, std::string_view prefix)
{
    size_t start = 0;
    while (start < text.size()) {
        if (text.substr(start).starts_with(prefix))
            return true;
        const size_t end = text.find("\r\n", start);
        if (end == std::string_view::npos)
            break;
        start = end + 2;
    }
    return false;
}
