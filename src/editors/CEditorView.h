#pragma once

#include <functional>

#include <QPlainTextEdit>
#include <utility>

#include "app/CCommandRouter.h"
#include "model/CNode.h"
#include "platform/CString.h"
#include "platform/CView.h"

class CHtmlHighlighter;
class CPagewellDoc;
class IFormatButtons;

// What the title and body editors share: a plain-text pane over one text
// field and one formatting word of the current object. The pane holds the
// working copy; it is stored into the object on the store hint, on losing the
// focus and before every format command, and reloaded on the reload hint.
// Typing and every format command mark the project modified; a reload does
// not. A store of a text that was not changed writes nothing. A store that
// changes the object, and every format command, is a step of the project's
// history. The undo keys undo typing while the pane has typing to undo, and
// reach the project's history otherwise.
class CEditorView : public QPlainTextEdit, public CView, public ICommandTarget {
    Q_OBJECT
public:
    CEditorView(CPagewellDoc& doc, QWidget* pParent);

    void SetFormatButtons(IFormatButtons* pButtons) { m_pButtons = pButtons; }

    // CView
    void OnUpdate(CView* pSender, long lHint) override;

    // ICommandTarget: the format buttons and the Edit menu.
    bool OnUpdateCommand(int nId, CCmdUI& state) override;
    void OnCommand(int nId) override;

    // Copies the pane's text into the current object; nothing while no
    // object is current.
    void Store();
    void Reload();

    CPagewellDoc& GetDocument() const { return m_doc; }
    CHtmlHighlighter* GetHighlighter() const { return m_pHighlighter; }

    // Selects a range of the text given in bytes of the stored field (CR LF
    // line ends), shows it and takes the focus. The pane is reloaded first
    // when it does not show the stored text as it is.
    void SelectStoredRange(size_t nOffset, size_t nLength);
    // The selection's start and end as offsets into the stored field.
    std::pair<size_t, size_t> StoredSelection() const;

protected:
    // The text and formatting word this editor shows.
    virtual ETextField Field() const = 0;
    CString& TextField(CNode& node) const { return node.TextOf(Field()); }
    uint32_t& FormatField(CNode& node) const { return node.FormatOf(Field()); }
    // The display font and any further display of the word, for a reload.
    virtual void ShowFormat(uint32_t nFormat) = 0;
    // Applies a format command's value to the word; false for an id that is
    // not this editor's.
    virtual bool ApplyFormat(int nId, uint32_t& nFormat) const;
    // Called after the focus came or went.
    virtual void OnFocusChanged(bool /*bHasFocus*/) { }
    // Runs after a format command's reload.
    virtual void AfterFormatCommand() { }
    bool IsFormatCommand(int nId) const;
    void SetButtons(uint32_t nFormat);
    CNode* Current() const;

    bool event(QEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;
    void focusOutEvent(QFocusEvent* pEvent) override;
    void contextMenuEvent(QContextMenuEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;

private:
    void OnTextChanged();
    // Runs a change of the highlighter's looks without marking the document.
    void Restyle(const std::function<void()>& restyle);
    void Print();

    CPagewellDoc& m_doc;
    IFormatButtons* m_pButtons = nullptr;
    // The pane's text as last shown or stored: a store writes only a change.
    QString m_strShown;
    CHtmlHighlighter* m_pHighlighter = nullptr;
    bool m_bLoading = false;
    bool m_bUndoAvailable = false;
    bool m_bRedoAvailable = false;
};
