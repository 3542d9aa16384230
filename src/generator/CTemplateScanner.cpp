#include "generator/CTemplateScanner.h"

#include <climits>

#include "generator/CGenerationLog.h"
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
            m_context.m_strOutput.append(line.substr(pos));
            return;
        }
        m_context.m_strOutput.append(line.substr(pos, open - pos));
        pos = ScanDirective(line, open + 1);
    }
}

size_t CTemplateScanner::ScanDirective(std::string_view line, size_t pos)
{
    const char kind = pos < line.size() ? line[pos] : '\0';
    if (kind == '@' || kind == '?' || kind == '/')
        ++pos;
    const size_t close = line.find(']', pos);
    const bool bClosed = close != std::string_view::npos;
    const std::string_view text = line.substr(pos, bClosed ? close - pos : std::string_view::npos);
    const size_t next = bClosed ? close + 1 : line.size();
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
    m_context.m_strOutput += value;
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
        m_context.m_strOutput.append(text.substr(equals + 1));
    else
        m_context.m_strOutput += "</" + value.substr(1);
}
