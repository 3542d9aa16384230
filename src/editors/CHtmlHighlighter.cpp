#include "editors/CHtmlHighlighter.h"

#include "editors/CEditorSpelling.h"

#include <algorithm>
#include <cmath>

namespace {

// Ordinary text on its background reaches this ratio in the usual themes.
constexpr double kWantedContrast = 4.5;

double Luminance(const QColor& color)
{
    const auto channel
        = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF())
        + 0.0722 * channel(color.blueF());
}

QColor Mix(const QColor& a, const QColor& b, double f)
{
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * f),
        static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * f),
        static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * f));
}

int Hue(EHtmlSpan kind)
{
    switch (kind) {
    case EHtmlSpan::Tag:
        return 215;
    case EHtmlSpan::Attribute:
        return 28;
    case EHtmlSpan::Value:
        return 135;
    case EHtmlSpan::Reference:
        return 290;
    case EHtmlSpan::Macro:
        return 350;
    case EHtmlSpan::Comment:
        break;
    }
    return 0;
}

} // namespace

CHtmlHighlighter::CHtmlHighlighter(QTextDocument* pDocument)
    : QSyntaxHighlighter(pDocument)
{
    m_spellFormat.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    m_spellFormat.setUnderlineColor(QColor(0xE0, 0x20, 0x20));
}

double CHtmlHighlighter::Contrast(const QColor& a, const QColor& b)
{
    const double x = Luminance(a);
    const double y = Luminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

QColor CHtmlHighlighter::SpanColor(EHtmlSpan kind, const QColor& text, const QColor& base)
{
    const bool bDarkBase = Luminance(base) < 0.18;
    QColor color;
    if (kind == EHtmlSpan::Comment)
        color = Mix(text, base, 0.4); // greyed text
    else
        color = QColor::fromHslF(
            static_cast<float>(Hue(kind)) / 360.0F, bDarkBase ? 0.7F : 0.8F, bDarkBase ? 0.72F : 0.34F);
    const double wanted = std::min(kWantedContrast, Contrast(text, base));
    for (int step = 1; step <= 10 && Contrast(color, base) < wanted; ++step)
        color = Mix(color, text, 0.25);
    return color;
}

void CHtmlHighlighter::SetColors(const QColor& text, const QColor& base)
{
    if (text == m_text && base == m_base)
        return;
    m_text = text;
    m_base = base;
    for (EHtmlSpan kind : { EHtmlSpan::Tag, EHtmlSpan::Attribute, EHtmlSpan::Value, EHtmlSpan::Reference,
             EHtmlSpan::Comment, EHtmlSpan::Macro }) {
        QTextCharFormat format;
        format.setForeground(SpanColor(kind, text, base));
        if (kind == EHtmlSpan::Comment)
            format.setFontItalic(true);
        if (kind == EHtmlSpan::Macro)
            format.setFontWeight(QFont::Bold);
        m_formats[static_cast<size_t>(kind)] = format;
    }
    rehighlight();
}

void CHtmlHighlighter::highlightBlock(const QString& text)
{
    if (!m_text.isValid())
        return;
    m_spans.clear();
    const int nPrevious = previousBlockState();
    setCurrentBlockState(ScanHtmlLine(text, nPrevious, m_spans));
    for (const CHtmlSpan& span : m_spans)
        setFormat(span.nStart, span.nLength, m_formats[static_cast<size_t>(span.kind)]);
    // Unknown words lie in the text between the markup, where nothing else
    // colours them.
    for (const CWordRange& word : CEditorSpelling::Instance().Misspelled(text, nPrevious > HTML_TEXT))
        setFormat(static_cast<int>(word.nStart), static_cast<int>(word.nLength), m_spellFormat);
}
