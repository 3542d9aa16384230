#include "editors/CEditContents.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPalette>
#include <QTextDocument>
#include <QTextOption>

#include "app/CPlatformMapping.h"
#include "app/CommandIds.h"
#include "editors/CInsertDialogs.h"
#include "editors/CPictureDrop.h"
#include "editors/EditorText.h"
#include "model/CNode.h"
#include "model/CPagewellDoc.h"
#include "model/NodeTypes.h"

bool g_bWordWrap = true;
bool g_bShowColors = true;

namespace {

struct CInsertion {
    int nId;
    const char* pszOpen;
    const char* pszClose;
};

// The fixed markup of the HTML menu; Paragraph depends on the object.
constexpr CInsertion kInsertions[] = {
    { ID_HTML_BOLD, "<b>", "</b>" },
    { ID_HTML_ITALIC, "<i>", "</i>" },
    { ID_HTML_TT, "<tt>", "</tt>" },
    { ID_HTML_UL, "\n<UL>\n<LI>", "\n</UL>" },
    { ID_HTML_OL, "\n<OL>\n<LI>", "\n</OL>" },
    { ID_HTML_TOC, "[$i]", "" },
};

const CInsertion* FindInsertion(int nId)
{
    for (const CInsertion& insertion : kInsertions) {
        if (insertion.nId == nId)
            return &insertion;
    }
    return nullptr;
}

} // namespace

CEditContents::CEditContents(CPagewellDoc& doc, QWidget* pParent)
    : CEditorView(doc, pParent)
{
    setObjectName(QStringLiteral("bodyEditor"));
    setAccessibleName(QStringLiteral("Body text"));
    setAutoFillBackground(true);
    setLineWrapMode(g_bWordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    new CPictureDrop(*this);
}

ETextField CEditContents::Field() const
{
    return ETextField::Text;
}

void CEditContents::ShowFormat(uint32_t nFormat)
{
    m_nShownFormat = nFormat;
    // A hidden body text has no face of its own: it shows like style 0.
    setFont(StyleFont(GetStyle(nFormat), QString::fromLatin1(PlatformMapping::kTextFace)));
    ApplyAlignment();
    ApplyColors();
}

void CEditContents::ApplyAlignment()
{
    Qt::Alignment alignment = Qt::AlignLeft;
    if (IsWordWrap()) {
        const uint32_t nAlign = GetAlignment(m_nShownFormat);
        if (nAlign == ALIGN_RIGHT)
            alignment = Qt::AlignRight;
        else if (nAlign == ALIGN_CENTER)
            alignment = Qt::AlignHCenter;
    }
    QTextOption option = document()->defaultTextOption();
    if (option.alignment() != alignment) {
        option.setAlignment(alignment);
        document()->setDefaultTextOption(option);
        document()->markContentsDirty(0, document()->characterCount());
        viewport()->update();
    }
}

void CEditContents::SetWordWrap(bool bWrap)
{
    setLineWrapMode(bWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    ApplyAlignment();
}

void CEditContents::OnFocusChanged(bool /*bHasFocus*/)
{
    ApplyColors();
}

void CEditContents::ApplyColors()
{
    CNode* pPage = nullptr;
    if (g_bShowColors && !hasFocus() && m_pageProvider)
        pPage = m_pageProvider();
    m_bPageColors = pPage != nullptr;
    QPalette palette = QApplication::palette(this);
    if (pPage != nullptr) {
        const QColor background = PlatformMapping::ToQColor(pPage->m_info.m_clrBg);
        const QColor text = PlatformMapping::ToQColor(pPage->m_info.m_clrText);
        for (QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive }) {
            palette.setColor(group, QPalette::Base, background);
            palette.setColor(group, QPalette::Text, text);
        }
    }
    setPalette(palette);
}

int CEditContents::RunDialog(QDialog& dialog)
{
    return m_dialogRunner ? m_dialogRunner(dialog) : dialog.exec();
}

bool CEditContents::OnUpdateCommand(int nId, CCmdUI& state)
{
    const bool bEditable = !isReadOnly();
    switch (nId) {
    case ID_HTML_PARAGRAPH:
    case ID_HTML_LINK:
    case ID_HTML_IMAGE:
        state.Enable(bEditable);
        return true;
    case ID_VIEW_WORDWRAP:
        state.SetCheck(IsWordWrap());
        return true;
    case ID_VIEW_COLORS:
        state.SetCheck(g_bShowColors);
        return true;
    default:
        break;
    }
    if (FindInsertion(nId) != nullptr) {
        state.Enable(bEditable);
        return true;
    }
    return CEditorView::OnUpdateCommand(nId, state);
}

void CEditContents::OnCommand(int nId)
{
    if (const CInsertion* pInsertion = FindInsertion(nId)) {
        WrapSelection(
            *this, QString::fromLatin1(pInsertion->pszOpen), QString::fromLatin1(pInsertion->pszClose));
        return;
    }
    switch (nId) {
    case ID_HTML_PARAGRAPH: {
        const CNode* pNode = Current();
        const bool bLink = pNode != nullptr && pNode->m_nType == NODE_LINK;
        WrapSelection(*this, bLink ? QStringLiteral("<DD>") : QStringLiteral("</p><p>"), QString());
        return;
    }
    case ID_HTML_LINK:
        InsertLink();
        return;
    case ID_HTML_IMAGE:
        InsertImage();
        return;
    case ID_VIEW_WORDWRAP: {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        Store();
        SetWordWrap(!IsWordWrap());
        g_bWordWrap = IsWordWrap();
        GetDocument().SetModifiedFlag(true);
        QGuiApplication::restoreOverrideCursor();
        return;
    }
    case ID_VIEW_COLORS:
        g_bShowColors = !g_bShowColors;
        GetDocument().UpdateAllViews(nullptr, HINT_STORE);
        GetDocument().UpdateAllViews(nullptr, HINT_RELOAD);
        return;
    default:
        CEditorView::OnCommand(nId);
        return;
    }
}

void CEditContents::InsertLink()
{
    CInsertLinkDlg dialog(window());
    if (RunDialog(dialog) != QDialog::Accepted)
        return;
    WrapSelection(*this,
        QStringLiteral("<A HREF=\"%1\">%2</A>").arg(dialog.m_strReference, dialog.m_strDescription),
        QString());
}

void CEditContents::InsertImage()
{
    CInsertImageDlg dialog(window());
    if (RunDialog(dialog) != QDialog::Accepted)
        return;
    WrapSelection(*this, QStringLiteral("<IMG SRC=\"%1\"></IMG>").arg(dialog.m_strFileName), QString());
}
