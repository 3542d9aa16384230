#include "editors/CEditName.h"

#include "app/CPlatformMapping.h"
#include "app/CommandIds.h"
#include "editors/EditorText.h"
#include "model/CNode.h"
#include "model/NodeTypes.h"

CEditName::CEditName(CPagewellDoc& doc, QWidget* pParent)
    : CEditorView(doc, pParent)
{
    setObjectName(QStringLiteral("titleEditor"));
    setAccessibleName(QStringLiteral("Title"));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

ETextField CEditName::Field() const
{
    return ETextField::Title;
}

void CEditName::ShowFormat(uint32_t nFormat)
{
    const uint32_t nStyle = GetStyle(nFormat);
    const char* pszFace = nStyle == STYLE_HIDDEN ? PlatformMapping::kSystemFace : PlatformMapping::kTextFace;
    setFont(StyleFont(nStyle, QString::fromLatin1(pszFace)));
}

bool CEditName::ApplyFormat(int nId, uint32_t& nFormat) const
{
    if (nId == ID_STYLE_HIDE) {
        nFormat = SetStyle(nFormat, STYLE_HIDDEN);
        return true;
    }
    return CEditorView::ApplyFormat(nId, nFormat);
}

void CEditName::AfterFormatCommand()
{
    // The body editor reloaded last and set the buttons to its own word.
    if (CNode* pNode = Current())
        SetButtons(pNode->m_nTitleFormat);
}

bool CEditName::OnUpdateCommand(int nId, CCmdUI& state)
{
    if (nId == ID_HTML_PARAGRAPH) {
        state.Enable(!isReadOnly());
        return true;
    }
    return CEditorView::OnUpdateCommand(nId, state);
}

void CEditName::OnCommand(int nId)
{
    if (nId == ID_HTML_PARAGRAPH) {
        // Replaces the selection; one step for Undo.
        textCursor().insertText(QStringLiteral("</p><p>"));
        ensureCursorVisible();
        return;
    }
    CEditorView::OnCommand(nId);
}
