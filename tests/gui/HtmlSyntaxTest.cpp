// The rules behind the editors' highlighting and the find commands' places
// in an editor: the HTML scan line by line, the colours against light, dark
// and page backgrounds, and stored offsets against editor positions.
#include <gtest/gtest.h>

#include "editors/CHtmlHighlighter.h"
#include "editors/EditorText.h"
#include "editors/HtmlSyntax.h"

namespace {

const char* KindName(EHtmlSpan kind)
{
    switch (kind) {
    case EHtmlSpan::Tag:
        return "tag";
    case EHtmlSpan::Attribute:
        return "attr";
    case EHtmlSpan::Value:
        return "value";
    case EHtmlSpan::Reference:
        return "ref";
    case EHtmlSpan::Comment:
        return "comment";
    case EHtmlSpan::Macro:
        return "macro";
    }
    return "?";
}

// The spans of consecutive lines as "kind[text]" words, "|" between lines.
std::string Scan(const std::vector<QString>& lines)
{
    std::string out;
    int nState = HTML_TEXT;
    for (const QString& line : lines) {
        if (!out.empty())
            out += " |";
        std::vector<CHtmlSpan> spans;
        nState = ScanHtmlLine(line, nState, spans);
        for (const CHtmlSpan& span : spans)
            out += std::string(out.empty() ? "" : " ") + KindName(span.kind) + "["
                + line.mid(span.nStart, span.nLength).toStdString() + "]";
    }
    return out;
}

TEST(HtmlSyntax, SpansOfMarkupAndMacro)
{
    struct CCase {
        std::vector<QString> lines;
        const char* pszExpected;
    };
    const CCase cases[] = {
        { { "<A HREF=\"x.htm\">go</A>" }, "tag[<A] attr[HREF] value[\"x.htm\"] tag[>] tag[</A] tag[>]" },
        { { "<img src=a.gif alt='a b'/>" },
            "tag[<img] attr[src] value[a.gif] attr[alt] value['a b'] tag[/>]" },
        { { "<td nowrap>" }, "tag[<td] attr[nowrap] tag[>]" },
        { { "a < b && c &amp; &#233; &#x1F; &nope" }, "ref[&amp;] ref[&#233;] ref[&#x1F;]" },
        { { "[$i] [$I [$x] [$$i]" }, "macro[[$i]] macro[[$I]" },
        { { "x <!-- a <b> -->y" }, "comment[<!-- a <b> -->]" },
        // Comments, tags and quoted values go on over line breaks.
        { { "<!-- one", "two", "three --> <b>" },
            "comment[<!-- one] | comment[two] | comment[three -->] tag[<b] tag[>]" },
        { { "<a", "href=\"x", "y\">z" }, "tag[<a] | attr[href] value[\"x] | value[y\"] tag[>]" },
        { { "<!DOCTYPE html>" }, "tag[<!DOCTYPE] attr[html] tag[>]" },
        { { "" }, "" },
    };
    for (const CCase& c : cases)
        EXPECT_EQ(Scan(c.lines), c.pszExpected) << c.lines.front().toStdString();
}

TEST(HtmlSyntax, AnUnknownStateStartsAsText)
{
    std::vector<CHtmlSpan> spans;
    EXPECT_EQ(ScanHtmlLine(u"plain", -1, spans), HTML_TEXT);
    EXPECT_EQ(ScanHtmlLine(u"plain", 99, spans), HTML_TEXT);
    EXPECT_TRUE(spans.empty());
}

// Every colour stands out from its background about as well as the text
// does, in a light theme, a dark theme and under a page's own colours.
TEST(HtmlHighlighter, ColoursReadOnAnyBackground)
{
    struct CPalette {
        QColor text, base;
    };
    const CPalette palettes[] = {
        { Qt::black, Qt::white },
        { QColor(0xE0, 0xE0, 0xE0), QColor(0x1E, 0x1E, 0x1E) },
        { Qt::yellow, QColor(0, 0, 0x80) },
        { QColor(0x30, 0x30, 0x30), QColor(0xFF, 0xF0, 0xC0) },
    };
    for (const CPalette& p : palettes) {
        const double wanted = std::min(4.5, CHtmlHighlighter::Contrast(p.text, p.base)) - 0.01;
        for (EHtmlSpan kind : { EHtmlSpan::Tag, EHtmlSpan::Attribute, EHtmlSpan::Value, EHtmlSpan::Reference,
                 EHtmlSpan::Comment, EHtmlSpan::Macro }) {
            const QColor color = CHtmlHighlighter::SpanColor(kind, p.text, p.base);
            EXPECT_GE(CHtmlHighlighter::Contrast(color, p.base), wanted)
                << KindName(kind) << " on " << p.base.name().toStdString();
        }
        // The kinds stay apart from each other and from the text.
        EXPECT_NE(CHtmlHighlighter::SpanColor(EHtmlSpan::Tag, p.text, p.base),
            CHtmlHighlighter::SpanColor(EHtmlSpan::Value, p.text, p.base));
        EXPECT_NE(CHtmlHighlighter::SpanColor(EHtmlSpan::Tag, p.text, p.base), p.text);
    }
}

TEST(EditorText, StoredOffsetsAndEditorPositions)
{
    // A CR LF pair is one character in the editor; a lone CR too.
    const CString stored = "ab\r\ncd\re";
    const int expected[] = { 0, 1, 2, 2, 3, 4, 5, 6, 7 };
    for (size_t i = 0; i <= stored.size(); ++i)
        EXPECT_EQ(EditorPosition(stored, i), expected[i]) << i;
    EXPECT_EQ(EditorPosition(stored, 100), 7);
    // Back: a line break stores as CR LF, a character beyond the code page
    // as its reference.
    EXPECT_EQ(StoredOffset(QStringLiteral("ab\ncd"), 4), 5U);
    EXPECT_EQ(StoredOffset(QString::fromUtf8("\xC3\xA9\xE2\x86\x92x"), 2), 8U); // é → (&#8594;)
}

} // namespace
