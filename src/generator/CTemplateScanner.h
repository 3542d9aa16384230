#pragma once

#include <string>
#include <string_view>
#include <vector>

class CGenerationLog;
class CMacroContext;
class IMacroEvaluator;

// Scans the lines of a template into an expansion record: ordinary text is
// copied, "[@NAME=def]" assigns, "[?NAME=arg]" hides the rest of its line when
// its test holds, "[/NAME]" or "[/NAME=text]" closes, and "[NAME]" inserts a
// value. A line that begins with "#" is a comment. A project text inserted
// within a quoted attribute value of the template is escaped for it, so that
// no text can end the attribute or the tag.
class CTemplateScanner {
public:
    CTemplateScanner(CMacroContext& context, IMacroEvaluator& evaluator, CGenerationLog& log)
        : m_context(context)
        , m_evaluator(evaluator)
        , m_log(log)
    { }

    // Scans one line (a piece of at most 259 characters, line end included).
    void ScanLine(std::string_view line);
    // Collects the text of every directive that no "]" closes on its line
    // (it then runs to the end of the line) into unclosed; for the checks.
    void CollectUnclosed(std::vector<std::string>& unclosed) { m_pUnclosed = &unclosed; }

private:
    // Handles the directive whose "[" is at line[pos - 1]; returns the
    // position after it, or npos when the rest of the line is dropped.
    size_t ScanDirective(std::string_view line, size_t pos);
    void Assign(std::string_view text);
    bool TestCondition(std::string_view text);
    void Insert(std::string_view text);
    void Close(std::string_view text);

    // Follows the template's own text through tags and attribute values, so
    // that a value inserted into an attribute can be kept inside it.
    enum class EMarkupState { Text, TagOpen, Tag, BeforeValue, Unquoted, DoubleQuoted, SingleQuoted };
    void Append(std::string_view text);
    void Follow(char c);

    CMacroContext& m_context;
    IMacroEvaluator& m_evaluator;
    CGenerationLog& m_log;
    std::vector<std::string>* m_pUnclosed = nullptr;
    EMarkupState m_eState = EMarkupState::Text;
};
