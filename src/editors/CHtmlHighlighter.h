#pragma once

#include <QColor>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <array>
#include <vector>

#include "editors/HtmlSyntax.h"

// Colours the HTML markup and the table-of-contents macro of an editor's
// text, and underlines the words spelling does not know (CEditorSpelling). It changes only how the text
// looks: the characters, the undo history and the modified flag stay as they are.
class CHtmlHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    explicit CHtmlHighlighter(QTextDocument* pDocument);

    // Takes the colours of the pane's text and background (they change with
    // the theme and with the page colours); re-colours only when they do.
    void SetColors(const QColor& text, const QColor& base);

    // The colour of a kind of span on this background: the kind's hue, light
    // on a dark background and dark on a light one, moved towards the text
    // colour until it stands out from the background as well as text should.
    static QColor SpanColor(EHtmlSpan kind, const QColor& text, const QColor& base);
    // The contrast ratio of two colours (1 to 21), by their relative
    // luminance.
    static double Contrast(const QColor& a, const QColor& b);

protected:
    void highlightBlock(const QString& text) override;

private:
    std::array<QTextCharFormat, 6> m_formats;
    QTextCharFormat m_spellFormat;
    QColor m_text;
    QColor m_base;
    std::vector<CHtmlSpan> m_spans;
};
