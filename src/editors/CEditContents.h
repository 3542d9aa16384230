#pragma once

#include <functional>

#include "editors/CEditorView.h"

class QDialog;

// Program-wide settings of the body editor; both start on at every run and
// are not saved.
extern bool g_bWordWrap;
extern bool g_bShowColors;

// The body text editor: the current object's body text, the HTML insertion
// commands, the format commands of the text's formatting word, word wrap
// (which shows the alignment) and the colour display of the enclosing page
// while the editor has no focus.
class CEditContents : public CEditorView {
    Q_OBJECT
public:
    CEditContents(CPagewellDoc& doc, QWidget* pParent = nullptr);

    // The page whose colours the display uses (the tree's current page).
    void SetPageProvider(std::function<CNode*()> provider) { m_pageProvider = std::move(provider); }
    // Runs the link and image dialogs; by default modally. Answers
    // QDialog::Accepted or QDialog::Rejected.
    void SetDialogRunner(std::function<int(QDialog&)> runner) { m_dialogRunner = std::move(runner); }

    bool OnUpdateCommand(int nId, CCmdUI& state) override;
    void OnCommand(int nId) override;

    bool IsWordWrap() const { return lineWrapMode() != QPlainTextEdit::NoWrap; }
    // Switches wrapping; the alignment of the word shows only while wrapping.
    void SetWordWrap(bool bWrap);
    // Whether the pane shows the page's colours now.
    bool IsShowingPageColors() const { return m_bPageColors; }

protected:
    ETextField Field() const override;
    void ShowFormat(uint32_t nFormat) override;
    void OnFocusChanged(bool bHasFocus) override;

private:
    void ApplyAlignment();
    void ApplyColors();
    void InsertLink();
    void InsertImage();
    int RunDialog(QDialog& dialog);

    std::function<CNode*()> m_pageProvider;
    std::function<int(QDialog&)> m_dialogRunner;
    uint32_t m_nShownFormat = 0;
    bool m_bPageColors = false;
};
