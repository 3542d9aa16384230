#include "generator/CTemplateScanner.h"

#include <cctype>
#include <climits>

#include "generator/CGenerationLog.h"
#include "generator/CHtmlText.h"
#include "generator/CMacroContext.h"
#include "generator/IMacroEvaluator.h"

namespace {

// Reads a decimal integer as atoi does: leading blanks, a sign, then digits up
// to the first other character; no digits read as 0. Saturates instead of
// overflowing.
long long ReadInteger(std::string_view text)
{
    size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= '\t' && text[pos] <= '\r')))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        negative = text[pos++] == '-';
    long long value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        if (value < LLONG_MAX / 10)
            value = value * 10 + (text[pos] - '0');
    }
    return negative ? -value : value;
}

// The macros whose values are the project's own texts rather than markup the
// run builds (or values it escapes itself, as the references and the site
// settings).
bool IsProjectText(int nMacro)
{
    switch (nMacro) {
    case MACRO_AUTHOR:
    case MACRO_ADDRESS:
    case MACRO_TITLE:
    case MACRO_REFTITLE:
    case MACRO_TEXT:
    case MACRO_TAG:
    case MACRO_LINK:
    case MACRO_HOMENAME:
    case MACRO_PARENTNAME:
    case MACRO_UPNAME:
        return true;
    default:
        return false;
    }
}

// A line end directly after a directive is consumed.
size_t SkipLineEnd(std::string_view line, size_t pos)
{
    return pos < line.size() && line[pos] == '\n' ? pos + 1 : pos;
}

} // namespace

void CTemplateScanner::ScanLine(std::string_view line)
{
    if (!line.empty() && line.front() == '#')
        return;
    size_t pos = 0;
    while (pos < line.size()) {
        const size_t open = line.find('[', pos);
        if (open == std::string_view::npos) {
            Append(line.substr(pos));
            return;
        }
        Append(line.substr(pos, open - pos));
        pos = ScanDirective(line, open + 1);
    }
}

size_t CTemplateScanner::ScanDirective(std::string_view line, size_t pos)
{
    const size_t open = pos - 1;
    const char kind = pos < line.size() ? line[pos] : '\0';
    if (kind == '@' || kind == '?' || kind == '/')
        ++pos;
    const size_t close = line.find(']', pos);
    const bool bClosed = close != std::string_view::npos;
    const std::string_view text = line.substr(pos, bClosed ? close - pos : std::string_view::npos);
    const size_t next = bClosed ? close + 1 : line.size();
    if (!bClosed && m_pUnclosed != nullptr)
        m_pUnclosed->emplace_back(line.substr(open));
    switch (kind) {
    case '@':
        Assign(text);
        return SkipLineEnd(line, next);
    case '?':
        if (TestCondition(text))
            return std::string_view::npos;
        return SkipLineEnd(line, next);
    case '/':
        Close(text);
        return next;
    default:
        Insert(text);
        return next;
    }
}

void CTemplateScanner::Assign(std::string_view text)
{
    const int nMacro = m_context.AssignMacro(text);
    if (nMacro < 0 || m_context.m_strDef[static_cast<size_t>(nMacro)].empty())
        return;
    if (!IsAssignableMacro(nMacro)) {
        m_log.Add({ "Dont know how to assgn value to macro: ", text });
        return;
    }
    m_evaluator.Evaluate(nMacro);
}

bool CTemplateScanner::TestCondition(std::string_view text)
{
    const int nMacro = m_context.AssignMacro(text);
    if (nMacro == MACRO_LEVEL)
        return ReadInteger(m_context.m_strDef[MACRO_LEVEL]) > m_evaluator.GetLevel();
    if (nMacro == MACRO_MORELINKS)
        return m_evaluator.IsFollowedByLink();
    m_log.Add({ "Dont know contitional statement: ", text });
    return false;
}

void CTemplateScanner::Insert(std::string_view text)
{
    const int nMacro = m_context.LookupMacro(text, false);
    if (nMacro < 0)
        return;
    // Inserting a value again and again is how a template makes a page grow
    // without bound: stopped before the text is made.
    const CString& value = m_context.m_strValue[static_cast<size_t>(nMacro)];
    m_context.CheckSize(m_context.m_strOutput.size() + value.size());
    const bool bDouble = m_eState == EMarkupState::DoubleQuoted;
    if ((bDouble || m_eState == EMarkupState::SingleQuoted) && IsProjectText(nMacro))
        m_context.m_strOutput += CHtmlText::EscapeTextForAttribute(value, bDouble ? '"' : '\'');
    else
        m_context.m_strOutput += value;
}

void CTemplateScanner::Append(std::string_view text)
{
    m_context.m_strOutput.append(text);
    for (const char c : text)
        Follow(c);
}

void CTemplateScanner::Follow(char c)
{
    using enum EMarkupState;
    switch (m_eState) {
    case Text:
        if (c == '<')
            m_eState = TagOpen;
        return;
    case TagOpen:
        // "a < b" is text; "<p", "</p" and "<!--" open a tag.
        m_eState = std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '/' || c == '!' ? Tag : Text;
        return;
    case Tag:
        if (c == '=')
            m_eState = BeforeValue;
        else if (c == '>')
            m_eState = Text;
        return;
    case BeforeValue:
        if (c == '"')
            m_eState = DoubleQuoted;
        else if (c == '\'')
            m_eState = SingleQuoted;
        else if (c == '>')
            m_eState = Text;
        else if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            m_eState = Unquoted;
        return;
    case Unquoted:
        if (c == '>')
            m_eState = Text;
        else if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
            m_eState = Tag;
        return;
    case DoubleQuoted:
        if (c == '"')
            m_eState = Tag;
        return;
    case SingleQuoted:
        if (c == '\'')
            m_eState = Tag;
        return;
    }
}

void CTemplateScanner::Close(std::string_view text)
{
    const int nMacro = m_context.LookupMacro(text, false);
    if (nMacro < 0)
        return;
    const CString& value = m_context.m_strValue[static_cast<size_t>(nMacro)];
    if (value.empty())
        return;
    const size_t equals = text.rfind('=');
    if (equals != std::string_view::npos)
        Append(text.substr(equals + 1));
    else
        m_context.m_strOutput += "</" + value.substr(1);
}
