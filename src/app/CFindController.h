#pragma once

#include <QObject>
#include <functional>
#include <optional>
#include <vector>

#include "app/CCommandRouter.h"
#include "search/CSiteSearch.h"
#include "search/SearchTypes.h"

class CFindDialog;
class CFindDock;
class CMainFrame;
class CPagewellDoc;

// Find and replace over the whole project, for the main window: the
// commands Find (Ctrl+F), Replace (Ctrl+H), Find Next (F3) and Find
// Previous (Shift+F3), the dialog and the dock of results. Every action
// first has the editors store their working copies, so that the search sees
// what was typed, and has them reload after a replacement.
class CFindController : public QObject, public ICommandTarget {
    Q_OBJECT
public:
    CFindController(CMainFrame& frame, CPagewellDoc& doc);

    CFindDialog& GetDialog() const { return *m_pDialog; }
    CFindDock& GetDock() const { return *m_pDock; }

    // ICommandTarget
    bool OnUpdateCommand(int nId, CCmdUI& state) override;
    void OnCommand(int nId) override;

    // Lists every match in the dock and goes to the next one.
    void FindAll();
    // Goes to the next or previous match from the caret (or the last match
    // gone to), wrapping with a note in the status bar.
    void Step(CSiteSearch::EDirection direction);
    // Replaces the match that is selected now and goes to the next one; with
    // none selected, only goes to the next one.
    void ReplaceOne();
    void ReplaceAll();
    // Selects the match's object and the match in its pane.
    void GoTo(const CSearchHit& hit);

    // Told the changes of every replacement, as one step: the undo history
    // records them (CSiteReplace::Apply takes them back and makes them again).
    std::function<void(const std::vector<CTextChange>&, const QString& strName)> m_recordChanges;

private:
    void ShowDialog(bool bReplace);
    void Report(const QString& text);
    CSearchCursor Cursor(CSiteSearch::EDirection direction) const;
    HTREEITEM ScopeItem() const;
    bool IsHitSelected(const CSearchHit& hit) const;
    void AfterChange(const std::vector<CTextChange>& changes, const QString& strName);
    // Lists the matches of the listed search again, as the tree is now.
    void Relist();

    CMainFrame& m_frame;
    CPagewellDoc& m_doc;
    CFindDialog* m_pDialog;
    CFindDock* m_pDock;
    CSearchOptions m_options;
    // The options of the list in the dock, to refresh it after a change.
    std::optional<CSearchOptions> m_listed;
    std::optional<CSearchHit> m_lastHit;
    bool m_bRelistPending = false;
};
