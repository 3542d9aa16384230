#include "editors/HtmlSyntax.h"

#include <QString>

namespace {

constexpr int kMaxReferenceLength = 32;

bool IsAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
        || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool IsNameCharacter(QChar c)
{
    return IsAsciiLetter(c) || c.isDigit() || c == QLatin1Char('-') || c == QLatin1Char('_')
        || c == QLatin1Char(':') || c == QLatin1Char('.');
}

class CLineScanner {
public:
    CLineScanner(QStringView line, std::vector<CHtmlSpan>& spans)
        : m_line(line)
        , m_nSize(static_cast<int>(line.size()))
        , m_spans(spans)
    { }

    int Run(int nState)
    {
        while (m_nAt < m_nSize) {
            switch (nState) {
            case HTML_COMMENT:
                nState = Comment(m_nAt);
                break;
            case HTML_IN_TAG:
                nState = InTag();
                break;
            case HTML_IN_DOUBLE_QUOTES:
            case HTML_IN_SINGLE_QUOTES:
                nState
                    = Quoted(nState == HTML_IN_DOUBLE_QUOTES ? QLatin1Char('"') : QLatin1Char('\''), m_nAt);
                break;
            default:
                nState = Text();
                break;
            }
        }
        return nState;
    }

private:
    QChar At(int i) const { return i < m_nSize ? m_line[i] : QChar(); }
    void Add(int nStart, int nEnd, EHtmlSpan kind)
    {
        if (nEnd > nStart)
            m_spans.push_back({ nStart, nEnd - nStart, kind });
    }

    int Comment(int nStart)
    {
        const qsizetype end = m_line.indexOf(QLatin1String("-->"), m_nAt);
        if (end < 0) {
            Add(nStart, m_nSize, EHtmlSpan::Comment);
            m_nAt = m_nSize;
            return HTML_COMMENT;
        }
        m_nAt = static_cast<int>(end) + 3;
        Add(nStart, m_nAt, EHtmlSpan::Comment);
        return HTML_TEXT;
    }

    int Text()
    {
        const QChar c = m_line[m_nAt];
        if (c == QLatin1Char('<'))
            return Open();
        if (c == QLatin1Char('&'))
            Reference();
        else if (c == QLatin1Char('['))
            Macro();
        else
            ++m_nAt;
        return HTML_TEXT;
    }

    int Open()
    {
        const int nStart = m_nAt;
        if (m_line.mid(m_nAt).startsWith(QLatin1String("<!--"))) {
            m_nAt += 4;
            return Comment(nStart);
        }
        int i = m_nAt + 1;
        if (At(i) == QLatin1Char('/') || At(i) == QLatin1Char('!') || At(i) == QLatin1Char('?'))
            ++i;
        if (!IsAsciiLetter(At(i))) {
            ++m_nAt; // a lone "<" is text
            return HTML_TEXT;
        }
        while (i < m_nSize && IsNameCharacter(m_line[i]))
            ++i;
        Add(nStart, i, EHtmlSpan::Tag);
        m_nAt = i;
        return HTML_IN_TAG;
    }

    void Reference()
    {
        // "&name;", "&#123;" or "&#x1F;"; anything else is a plain "&".
        int i = m_nAt + 1;
        const bool bNumeric = At(i) == QLatin1Char('#');
        if (bNumeric)
            ++i;
        const int nDigitsFrom = i;
        while (i < m_nSize && i - m_nAt < kMaxReferenceLength && m_line[i].isLetterOrNumber()
            && m_line[i].unicode() < 128)
            ++i;
        if (i > nDigitsFrom && At(i) == QLatin1Char(';')) {
            Add(m_nAt, i + 1, EHtmlSpan::Reference);
            m_nAt = i + 1;
            return;
        }
        ++m_nAt;
    }

    void Macro()
    {
        // The generator expands "[$i" (and a closing "]" after it) into the
        // table of contents.
        const QChar i = At(m_nAt + 2);
        if (At(m_nAt + 1) == QLatin1Char('$') && (i == QLatin1Char('i') || i == QLatin1Char('I'))) {
            const int nEnd = m_nAt + (At(m_nAt + 3) == QLatin1Char(']') ? 4 : 3);
            Add(m_nAt, nEnd, EHtmlSpan::Macro);
            m_nAt = nEnd;
            return;
        }
        ++m_nAt;
    }

    int InTag()
    {
        const QChar c = m_line[m_nAt];
        if (c.isSpace() || c == QLatin1Char('=')) {
            ++m_nAt;
            return HTML_IN_TAG;
        }
        if (c == QLatin1Char('>')) {
            Add(m_nAt, m_nAt + 1, EHtmlSpan::Tag);
            ++m_nAt;
            return HTML_TEXT;
        }
        if (c == QLatin1Char('/') && At(m_nAt + 1) == QLatin1Char('>')) {
            Add(m_nAt, m_nAt + 2, EHtmlSpan::Tag);
            m_nAt += 2;
            return HTML_TEXT;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const int nStart = m_nAt++;
            return Quoted(c, nStart);
        }
        const bool bValue = m_nAt > 0 && PreviousNonSpace() == QLatin1Char('=');
        const int nStart = m_nAt;
        while (m_nAt < m_nSize && !m_line[m_nAt].isSpace() && m_line[m_nAt] != QLatin1Char('>')
            && m_line[m_nAt] != QLatin1Char('=') && (bValue || m_line[m_nAt] != QLatin1Char('/')))
            ++m_nAt;
        if (m_nAt == nStart)
            ++m_nAt; // a "/" not before ">"
        Add(nStart, m_nAt, bValue ? EHtmlSpan::Value : EHtmlSpan::Attribute);
        return HTML_IN_TAG;
    }

    QChar PreviousNonSpace() const
    {
        for (int i = m_nAt - 1; i >= 0; --i) {
            if (!m_line[i].isSpace())
                return m_line[i];
        }
        return {};
    }

    int Quoted(QChar quote, int nStart)
    {
        const qsizetype end = m_line.indexOf(quote, m_nAt);
        if (end < 0) {
            Add(nStart, m_nSize, EHtmlSpan::Value);
            m_nAt = m_nSize;
            return quote == QLatin1Char('"') ? HTML_IN_DOUBLE_QUOTES : HTML_IN_SINGLE_QUOTES;
        }
        m_nAt = static_cast<int>(end) + 1;
        Add(nStart, m_nAt, EHtmlSpan::Value);
        return HTML_IN_TAG;
    }

    QStringView m_line;
    int m_nSize;
    int m_nAt = 0;
    std::vector<CHtmlSpan>& m_spans;
};

} // namespace

int ScanHtmlLine(QStringView line, int nState, std::vector<CHtmlSpan>& spans)
{
    if (nState < HTML_TEXT || nState > HTML_IN_SINGLE_QUOTES)
        nState = HTML_TEXT;
    return CLineScanner(line, spans).Run(nState);
}
