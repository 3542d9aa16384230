#pragma once

#include <QStringView>
#include <vector>

// What the editors colour in a text: HTML markup and the table-of-contents
// macro. The scan works one line at a time and hands a state to the next
// line, so that a comment, a tag or a quoted value may go on over line
// breaks and an edit re-scans only the lines it touches.
enum class EHtmlSpan { Tag, Attribute, Value, Reference, Comment, Macro };

struct CHtmlSpan {
    int nStart;
    int nLength;
    EHtmlSpan kind;
};

// The state at a line's end; 0 is plain text, where every text starts.
enum EHtmlState : int {
    HTML_TEXT = 0,
    HTML_COMMENT = 1,
    HTML_IN_TAG = 2,
    HTML_IN_DOUBLE_QUOTES = 3,
    HTML_IN_SINGLE_QUOTES = 4,
};

// Appends the spans of one line, scanned from the state the line before
// ended in, and answers the state this line ends in.
int ScanHtmlLine(QStringView line, int nState, std::vector<CHtmlSpan>& spans);
