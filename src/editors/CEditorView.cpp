#include "editors/CEditorView.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextCursor>
#include <memory>
#include <utility>

#include "app/CFormatButtons.h"
#include "app/CPlatformMapping.h"
#include "app/CommandIds.h"
#include "app/IFormatButtons.h"
#include "app/QtText.h"
#include "editors/CEditorSpelling.h"
#include "editors/CHtmlHighlighter.h"
#include "editors/EditorText.h"
#include "model/CNode.h"
#include "model/CPagewellDoc.h"
#include "model/IEditHistory.h"
#include "model/NodeTypes.h"

CEditorView::CEditorView(CPagewellDoc& doc, QWidget* pParent)
    : QPlainTextEdit(pParent)
    , m_doc(doc)
{
    setTabStopDistance(fontMetrics().averageCharWidth() * 8);
    connect(this, &QPlainTextEdit::textChanged, this, &CEditorView::OnTextChanged);
    connect(this, &QPlainTextEdit::undoAvailable, this, [this](bool bOn) { m_bUndoAvailable = bOn; });
    connect(this, &QPlainTextEdit::redoAvailable, this, [this](bool bOn) { m_bRedoAvailable = bOn; });
    m_pHighlighter = new CHtmlHighlighter(document());
    Restyle([this] {
        m_pHighlighter->SetColors(palette().color(QPalette::Text), palette().color(QPalette::Base));
    });
    connect(&CEditorSpelling::Instance(), &CEditorSpelling::changed, this,
        [this] { Restyle([this] { m_pHighlighter->rehighlight(); }); });
}

void CEditorView::Restyle(const std::function<void()>& restyle)
{
    // New colours and underlines change how the text looks, never the text:
    // the document must not take them for an edit.
    const bool bWasLoading = std::exchange(m_bLoading, true);
    restyle();
    m_bLoading = bWasLoading;
}

void CEditorView::changeEvent(QEvent* pEvent)
{
    QPlainTextEdit::changeEvent(pEvent);
    // The theme or the page colours changed.
    if (pEvent->type() == QEvent::PaletteChange)
        Restyle([this] {
            m_pHighlighter->SetColors(palette().color(QPalette::Text), palette().color(QPalette::Base));
        });
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
    if (lHint != HINT_RELOAD) {
        Store();
        return;
    }
    // A project opened or its settings changed: spelling follows its language.
    CEditorSpelling::Instance().FollowLanguage(ToQString(m_doc.m_dlgGenerate.GetSiteSettings().m_strLang));
    Reload();
}

void CEditorView::Store()
{
    CNode* pNode = Current();
    if (pNode == nullptr)
        return;
    // Viewing is not editing: an unchanged pane leaves the object's bytes
    // alone (a lone CR or LF would come back as CR LF).
    QString shown = EditorText(*this);
    if (shown == m_strShown)
        return;
    CString text = FromEditorText(shown);
    m_strShown = std::move(shown);
    CString& field = TextField(*pNode);
    if (text == field)
        return;
    CString old = std::exchange(field, std::move(text));
    if (m_doc.m_pHistory != nullptr) {
        if (HTREEITEM hItem = m_doc.GetCurrentItem())
            m_doc.m_pHistory->TextStored(hItem, Field(), old);
    }
}

void CEditorView::Reload()
{
    CNode* pNode = Current();
    m_bLoading = true;
    const uint32_t nFormat = pNode != nullptr ? FormatField(*pNode) : 0;
    ShowFormat(nFormat);
    setPlainText(pNode != nullptr ? ToEditorText(TextField(*pNode)) : QString());
    m_strShown = EditorText(*this);
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

bool CEditorView::event(QEvent* pEvent)
{
    // The format commands' keys belong to them, also where the edit control
    // has a binding of its own (Ctrl+E goes to the end of a line on X11).
    // The edit control claims the undo and redo keys for itself; it keeps
    // them only while it has typing to undo or redo, so that otherwise they
    // reach the project's history.
    if (pEvent->type() == QEvent::ShortcutOverride) {
        const QKeySequence key(static_cast<QKeyEvent*>(pEvent)->keyCombination());
        for (int nId : CFormatButtons::kButtons) {
            if (PlatformMapping::Accelerators(nId).contains(key)) {
                pEvent->ignore();
                return true;
            }
        }
        const bool bUndoKey = PlatformMapping::Accelerators(ID_EDIT_UNDO).contains(key);
        const bool bRedoKey = PlatformMapping::Accelerators(ID_EDIT_REDO).contains(key);
        if ((bUndoKey && (isReadOnly() || !m_bUndoAvailable))
            || (bRedoKey && (isReadOnly() || !m_bRedoAvailable))) {
            pEvent->ignore();
            return true;
        }
    }
    return QPlainTextEdit::event(pEvent);
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
    // The edit control's own menu (undo and the clipboard), with spelling's
    // suggestions for the word under the pointer first.
    std::unique_ptr<QMenu> pMenu(createStandardContextMenu(pEvent->pos()));
    CEditorSpelling::Instance().AddToMenu(*pMenu, *this, pEvent->pos());
    pMenu->exec(pEvent->globalPos());
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
        // Without typing to undo, Undo is the project's.
        return !isReadOnly() && m_bUndoAvailable;
    case ID_EDIT_REDO:
        return !isReadOnly() && m_bRedoAvailable;
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
        // The text first: undoing the format then leaves the text as typed.
        Store();
        const uint32_t nOld = FormatField(*pNode);
        ApplyFormat(nId, FormatField(*pNode));
        if (HTREEITEM hItem = m_doc.GetCurrentItem(); hItem != nullptr && m_doc.m_pHistory != nullptr)
            m_doc.m_pHistory->FormatSet(hItem, Field(), nOld);
        // A change of format alone is a change to save.
        m_doc.SetModifiedFlag(true);
        m_doc.UpdateAllViews(nullptr, HINT_RELOAD);
        AfterFormatCommand();
        return;
    }
    switch (nId) {
    case ID_EDIT_UNDO:
        undo();
        break;
    case ID_EDIT_REDO:
        redo();
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
