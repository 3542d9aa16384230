#include "editors/CEditorView.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextCursor>

#include "app/CommandIds.h"
#include "app/IFormatButtons.h"
#include "editors/CHtmlHighlighter.h"
#include "editors/EditorText.h"
#include "model/CNode.h"
#include "model/CPagewellDoc.h"
#include "model/NodeTypes.h"

CEditorView::CEditorView(CPagewellDoc& doc, QWidget* pParent)
    : QPlainTextEdit(pParent)
    , m_doc(doc)
{
    setTabStopDistance(fontMetrics().averageCharWidth() * 8);
    connect(this, &QPlainTextEdit::textChanged, this, &CEditorView::OnTextChanged);
    connect(this, &QPlainTextEdit::undoAvailable, this, [this](bool bOn) { m_bUndoAvailable = bOn; });
    m_pHighlighter = new CHtmlHighlighter(document());
    m_pHighlighter->SetColors(palette().color(QPalette::Text), palette().color(QPalette::Base));
}

void CEditorView::changeEvent(QEvent* pEvent)
{
    QPlainTextEdit::changeEvent(pEvent);
    // The theme or the page colours changed.
    if (pEvent->type() == QEvent::PaletteChange)
        m_pHighlighter->SetColors(palette().color(QPalette::Text), palette().color(QPalette::Base));
}

void CEditorView::SelectStoredRange(size_t nOffset, size_t nLength)
{
    CNode* pNode = Current();
    if (pNode == nullptr)
        return;
    const CString& stored = TextField(*pNode);
    if (EditorText(*this) != ToEditorText(stored))
        Reload();
    QTextCursor cursor = textCursor();
    cursor.setPosition(EditorPosition(stored, nOffset));
    cursor.setPosition(EditorPosition(stored, nOffset + nLength), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    ensureCursorVisible();
    setFocus(Qt::OtherFocusReason);
}

std::pair<size_t, size_t> CEditorView::StoredSelection() const
{
    const QTextCursor cursor = textCursor();
    const QString text = EditorText(*this);
    return { StoredOffset(text, cursor.selectionStart()), StoredOffset(text, cursor.selectionEnd()) };
}

CNode* CEditorView::Current() const
{
    return m_doc.m_pCurrent;
}

void CEditorView::SetButtons(uint32_t nFormat)
{
    if (m_pButtons != nullptr)
        m_pButtons->UpdateFormatButtons(nFormat);
}

void CEditorView::OnUpdate(CView* /*pSender*/, long lHint)
{
    if (lHint != HINT_RELOAD)
        Store();
    else
        Reload();
}

void CEditorView::Store()
{
    if (CNode* pNode = Current())
        TextField(*pNode) = FromEditorText(EditorText(*this));
}

void CEditorView::Reload()
{
    CNode* pNode = Current();
    m_bLoading = true;
    const uint32_t nFormat = pNode != nullptr ? FormatField(*pNode) : 0;
    ShowFormat(nFormat);
    setPlainText(pNode != nullptr ? ToEditorText(TextField(*pNode)) : QString());
    // No object, nothing to edit (File New emptied the tree).
    setReadOnly(pNode == nullptr);
    m_bLoading = false;
    SetButtons(nFormat);
}

void CEditorView::OnTextChanged()
{
    if (!m_bLoading && Current() != nullptr)
        m_doc.SetModifiedFlag(true);
}

void CEditorView::focusInEvent(QFocusEvent* pEvent)
{
    QPlainTextEdit::focusInEvent(pEvent);
    CNode* pNode = Current();
    SetButtons(pNode != nullptr ? FormatField(*pNode) : 0);
    OnFocusChanged(true);
}

void CEditorView::focusOutEvent(QFocusEvent* pEvent)
{
    QPlainTextEdit::focusOutEvent(pEvent);
    // A menu opening keeps the pane the one being edited.
    if (pEvent->reason() == Qt::PopupFocusReason)
        return;
    Store();
    SetButtons(0);
    OnFocusChanged(false);
}

void CEditorView::contextMenuEvent(QContextMenuEvent* pEvent)
{
    // The edit control's own menu: undo and the clipboard.
    QPlainTextEdit::contextMenuEvent(pEvent);
}

bool CEditorView::ApplyFormat(int nId, uint32_t& nFormat) const
{
    switch (nId) {
    case ID_ALIGN_LEFT:
        nFormat = SetAlignment(nFormat, ALIGN_LEFT);
        return true;
    case ID_ALIGN_RIGHT:
        nFormat = SetAlignment(nFormat, ALIGN_RIGHT);
        return true;
    case ID_ALIGN_CENTER:
        nFormat = SetAlignment(nFormat, ALIGN_CENTER);
        return true;
    case ID_STYLE_H1:
        nFormat = SetStyle(nFormat, STYLE_H1);
        return true;
    case ID_STYLE_H2:
        nFormat = SetStyle(nFormat, STYLE_H2);
        return true;
    case ID_STYLE_H3:
        nFormat = SetStyle(nFormat, STYLE_H3);
        return true;
    case ID_STYLE_H4:
        nFormat = SetStyle(nFormat, STYLE_H4);
        return true;
    case ID_STYLE_NORMAL:
        nFormat = SetStyle(nFormat, STYLE_NORMAL);
        return true;
    default:
        return false;
    }
}

bool CEditorView::IsFormatCommand(int nId) const
{
    uint32_t nScratch = 0;
    return ApplyFormat(nId, nScratch);
}

bool CEditorView::OnUpdateCommand(int nId, CCmdUI& state)
{
    if (IsFormatCommand(nId)) {
        state.Enable(Current() != nullptr);
        return true;
    }
    switch (nId) {
    case ID_EDIT_UNDO:
        state.Enable(!isReadOnly() && m_bUndoAvailable);
        return true;
    case ID_EDIT_CUT:
        state.Enable(!isReadOnly() && textCursor().hasSelection());
        return true;
    case ID_EDIT_COPY:
        state.Enable(textCursor().hasSelection());
        return true;
    case ID_EDIT_PASTE:
        state.Enable(!isReadOnly() && canPaste());
        return true;
    case ID_FILE_PRINT:
        return true;
    default:
        return false;
    }
}

void CEditorView::OnCommand(int nId)
{
    if (CNode* pNode = Current(); pNode != nullptr && IsFormatCommand(nId)) {
        ApplyFormat(nId, FormatField(*pNode));
        Store();
        m_doc.UpdateAllViews(nullptr, HINT_RELOAD);
        AfterFormatCommand();
        return;
    }
    switch (nId) {
    case ID_EDIT_UNDO:
        undo();
        break;
    case ID_EDIT_CUT:
        cut();
        break;
    case ID_EDIT_COPY:
        copy();
        break;
    case ID_EDIT_PASTE:
        paste();
        break;
    case ID_FILE_PRINT:
        Print();
        break;
    default:
        break;
    }
}

void CEditorView::Print()
{
    QPrinter printer;
    QPrintDialog dialog(&printer, window());
    if (dialog.exec() == QDialog::Accepted)
        document()->print(&printer);
}
