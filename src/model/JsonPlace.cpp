#include "model/JsonPlace.h"

#include <vector>

namespace {

struct CStep {
    bool bIndex = false;
    std::string strKey;
    size_t nIndex = 0;
    bool operator==(const CStep&) const = default;
};

// "a.b[2].c" as steps; keys hold neither '.' nor '['.
std::vector<CStep> SplitPath(const std::string& path)
{
    std::vector<CStep> steps;
    size_t i = 0;
    while (i < path.size()) {
        if (path[i] == '.') {
            ++i;
        } else if (path[i] == '[') {
            const size_t close = path.find(']', i);
            if (close == std::string::npos)
                break;
            steps.push_back({ true, {}, std::stoul(path.substr(i + 1, close - i - 1)) });
            i = close + 1;
        } else {
            const size_t end = path.find_first_of(".[", i);
            const size_t stop = end == std::string::npos ? path.size() : end;
            steps.push_back({ false, path.substr(i, stop - i), 0 });
            i = stop;
        }
    }
    return steps;
}

struct CFrame {
    bool bArray = false;
    bool bExpectKey = false;
    size_t nCount = 0; // elements started so far (arrays)
    std::string strKey; // the key being read (objects)
};

class CScanner {
public:
    CScanner(std::string_view text, std::vector<CStep> target)
        : m_text(text)
        , m_target(std::move(target))
    { }

    std::optional<size_t> Run()
    {
        while (m_nPos < m_text.size()) {
            const char c = m_text[m_nPos];
            if (c == '{' || c == '[') {
                StartValue();
                m_frames.push_back({ c == '[', c == '{', 0, {} });
                ++m_nPos;
            } else if (c == '}' || c == ']') {
                if (!m_frames.empty())
                    m_frames.pop_back();
                ++m_nPos;
            } else if (c == ',') {
                if (!m_frames.empty() && !m_frames.back().bArray)
                    m_frames.back().bExpectKey = true;
                ++m_nPos;
            } else if (c == '"') {
                ReadString();
            } else if (c == ':' || c == ' ' || c == '\t' || c == '\n' || c == '\r') {
                ++m_nPos;
            } else {
                StartValue();
                while (m_nPos < m_text.size()
                    && std::string_view(",]} \t\r\n").find(m_text[m_nPos]) == std::string_view::npos)
                    ++m_nPos;
            }
        }
        return m_found;
    }

private:
    void ReadString()
    {
        const size_t start = m_nPos++;
        while (m_nPos < m_text.size() && m_text[m_nPos] != '"')
            m_nPos += m_text[m_nPos] == '\\' ? 2 : 1;
        ++m_nPos;
        if (!m_frames.empty() && m_frames.back().bExpectKey) {
            // Keys of the project form need no escapes: the raw text is the key.
            m_frames.back().strKey = std::string(m_text.substr(start + 1, m_nPos - start - 2));
            m_frames.back().bExpectKey = false;
            return;
        }
        const size_t end = m_nPos;
        m_nPos = start;
        StartValue();
        m_nPos = end;
    }

    void StartValue()
    {
        if (!m_frames.empty() && m_frames.back().bArray)
            ++m_frames.back().nCount;
        if (m_frames.size() != m_target.size())
            return;
        for (size_t i = 0; i < m_frames.size(); ++i) {
            const CFrame& frame = m_frames[i];
            const CStep step
                = frame.bArray ? CStep { true, {}, frame.nCount - 1 } : CStep { false, frame.strKey, 0 };
            if (!(step == m_target[i]))
                return;
        }
        m_found = m_nPos;
    }

    std::string_view m_text;
    std::vector<CStep> m_target;
    std::vector<CFrame> m_frames;
    size_t m_nPos = 0;
    std::optional<size_t> m_found;
};

} // namespace

std::optional<CJsonPlace> FindJsonValue(std::string_view text, const std::string& path)
{
    const std::optional<size_t> offset = CScanner(text, SplitPath(path)).Run();
    if (!offset)
        return std::nullopt;
    CJsonPlace place;
    for (size_t i = 0; i < *offset; ++i) {
        if (text[i] == '\n') {
            ++place.nLine;
            place.nColumn = 1;
        } else {
            ++place.nColumn;
        }
    }
    return place;
}
