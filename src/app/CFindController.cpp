#include "app/CFindController.h"

#include <QStatusBar>
#include <QTimer>

#include "app/CFindDialog.h"
#include "app/CFindDock.h"
#include "app/CFindResultsModel.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/QtText.h"
#include "editors/CEditContents.h"
#include "editors/CEditName.h"
#include "model/CPagewellDoc.h"
#include "platform/CView.h"
#include "platform/IUserInterface.h"
#include "search/CSiteReplace.h"
#include "tree/CPagewellView.h"

namespace {

// The dock lists at most this many matches; stepping reaches all of them.
constexpr size_t kMaxListed = 10000;
constexpr int kNoteMs = 10000;

QString Plural(size_t n, const char* pszOne, const char* pszMany)
{
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromLatin1(n == 1 ? pszOne : pszMany));
}

} // namespace

CFindController::CFindController(CMainFrame& frame, CPagewellDoc& doc)
    : QObject(&frame)
    , m_frame(frame)
    , m_doc(doc)
    , m_pDialog(new CFindDialog(&frame))
    , m_pDock(new CFindDock(doc.m_tree, &frame))
{
    connect(m_pDialog, &CFindDialog::findAll, this, &CFindController::FindAll);
    connect(m_pDialog, &CFindDialog::findNext, this, [this] { Step(CSiteSearch::EDirection::Next); });
    connect(m_pDialog, &CFindDialog::replaceOne, this, &CFindController::ReplaceOne);
    connect(m_pDialog, &CFindDialog::replaceAll, this, &CFindController::ReplaceAll);
    connect(m_pDock, &CFindDock::hitActivated, this, &CFindController::GoTo);
    // The hits go while an object is being removed; the list and its title
    // are made anew once the change is complete, so that they agree.
    connect(&m_pDock->GetModel(), &CFindResultsModel::outdated, this, [this] {
        if (m_bRelistPending)
            return;
        m_bRelistPending = true;
        QTimer::singleShot(0, this, &CFindController::Relist);
    });
    // Closing the dialog gives the keys back to the window.
    connect(m_pDialog, &QDialog::finished, &m_frame, [this] { m_frame.activateWindow(); });
}

bool CFindController::OnUpdateCommand(int nId, CCmdUI& state)
{
    switch (nId) {
    case ID_EDIT_FIND:
    case ID_EDIT_REPLACE:
    case ID_EDIT_REPEAT:
    case ID_EDIT_FIND_PREVIOUS:
        state.Enable(m_doc.m_tree.GetRootItem() != nullptr);
        return true;
    default:
        return false;
    }
}

void CFindController::OnCommand(int nId)
{
    switch (nId) {
    case ID_EDIT_FIND:
        ShowDialog(false);
        break;
    case ID_EDIT_REPLACE:
        ShowDialog(true);
        break;
    case ID_EDIT_REPEAT:
    case ID_EDIT_FIND_PREVIOUS:
        // Nothing asked for yet: ask first.
        if (m_options.strFind.empty()) {
            ShowDialog(false);
            break;
        }
        Step(nId == ID_EDIT_REPEAT ? CSiteSearch::EDirection::Next : CSiteSearch::EDirection::Previous);
        break;
    default:
        break;
    }
}

void CFindController::ShowDialog(bool bReplace)
{
    // A selection on one line in an editor is what the user means to find.
    if (auto* pEditor = qobject_cast<CEditorView*>(m_frame.GetActiveView())) {
        const QString selected = pEditor->textCursor().selectedText();
        if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
            m_pDialog->SetFindText(selected);
    }
    m_pDialog->SetMode(bReplace ? CFindDialog::EMode::Replace : CFindDialog::EMode::Find);
    m_pDialog->show();
    m_pDialog->raise();
    m_pDialog->activateWindow();
}

void CFindController::Report(const QString& text)
{
    m_frame.statusBar()->showMessage(text, kNoteMs);
    m_pDialog->ShowResult(text);
}

HTREEITEM CFindController::ScopeItem() const
{
    // The dialog's scope holds while it is open; F3 alone goes everywhere.
    return m_pDialog->isVisible() && m_pDialog->IsCurrentObjectOnly() ? m_doc.GetCurrentItem() : nullptr;
}

void CFindController::FindAll()
{
    m_options = m_pDialog->GetOptions();
    if (m_options.strFind.empty())
        return;
    m_doc.UpdateAllViews(nullptr, HINT_STORE);
    size_t nTotal = 0;
    std::vector<CSearchHit> hits = CSiteSearch(m_doc.m_tree, m_options).FindAll(kMaxListed, nTotal);
    m_listed = m_options;
    m_pDock->SetResults(std::move(hits), nTotal, ToQString(m_options.strFind));
    m_pDock->show();
    m_pDock->raise();
    // Side by side with another dock it would get what is left; the path, the
    // field and the match need about two thirds of the window.
    if (!m_pDock->isFloating() && m_pDock->width() < m_frame.width() * 2 / 3)
        m_frame.resizeDocks({ m_pDock }, { m_frame.width() * 2 / 3 }, Qt::Horizontal);
    m_pDock->FitColumns();
    if (nTotal == 0) {
        Report(QStringLiteral("\"%1\" was not found.").arg(ToQString(m_options.strFind)));
        return;
    }
    Step(CSiteSearch::EDirection::Next);
    // The dialog has done its work; the list and F3 take over.
    if (m_pDialog->GetMode() == CFindDialog::EMode::Find) {
        m_pDialog->hide();
        m_frame.activateWindow();
    }
}

CSearchCursor CFindController::Cursor(CSiteSearch::EDirection direction) const
{
    const bool bNext = direction == CSiteSearch::EDirection::Next;
    CSearchCursor cursor;
    cursor.hItem = m_doc.GetCurrentItem();
    if (cursor.hItem == nullptr)
        return cursor;
    QWidget* pActive = m_frame.GetActiveView();
    if (auto* pEditor = qobject_cast<CEditorView*>(pActive)) {
        cursor.field = pEditor == m_frame.GetTitleEditor() ? FIELD_TITLE : FIELD_TEXT;
        const auto [nStart, nEnd] = pEditor->StoredSelection();
        cursor.nOffset = bNext ? nEnd : nStart;
        return cursor;
    }
    // In the tree: after (or before) the tag match gone to last, else from
    // the start of the object.
    cursor.field = FIELD_TAG;
    if (m_lastHit && m_lastHit->hItem == cursor.hItem && m_lastHit->field == FIELD_TAG)
        cursor.nOffset = bNext ? m_lastHit->nOffset + m_lastHit->nLength : m_lastHit->nOffset;
    return cursor;
}

void CFindController::Step(CSiteSearch::EDirection direction)
{
    if (m_pDialog->isVisible())
        m_options = m_pDialog->GetOptions();
    if (m_options.strFind.empty() || m_options.nFields == 0)
        return;
    m_doc.UpdateAllViews(nullptr, HINT_STORE);
    const CSiteSearch search(m_doc.m_tree, m_options);
    const CSiteSearch::CStep step = search.Step(Cursor(direction), direction, ScopeItem());
    if (!step.hit) {
        m_doc.GetUserInterface().Beep(EBeep::Default);
        Report(QStringLiteral("\"%1\" was not found.").arg(ToQString(m_options.strFind)));
        return;
    }
    GoTo(*step.hit);
    const bool bNext = direction == CSiteSearch::EDirection::Next;
    const QString where = ScopeItem() != nullptr ? QStringLiteral("object") : QStringLiteral("project");
    if (step.bWrapped)
        Report(bNext ? QStringLiteral("Passed the end of the %1; continued from the start.").arg(where)
                     : QStringLiteral("Passed the start of the %1; continued from the end.").arg(where));
    else
        m_pDialog->ShowResult({});
}

void CFindController::GoTo(const CSearchHit& hit)
{
    CPagewellView& tree = *m_frame.GetTreeView();
    if (m_doc.GetCurrentItem() != hit.hItem)
        tree.SelectItem(hit.hItem);
    m_lastHit = hit;
    m_pDock->SetCurrentHit(hit);
    const CTextFinder finder(m_options.strFind, m_options.bMatchCase, m_options.bWholeWords);
    if (!m_options.strFind.empty()
        && !finder.MatchesAt(CSiteSearch::FieldText(hit.hItem, hit.field), hit.nOffset))
        Report(QStringLiteral("The text has changed since the search; search again to renew the list."));
    // The pane becomes the active view also while the dialog keeps the
    // focus in its own window.
    switch (hit.field) {
    case FIELD_TAG:
        tree.setFocus(Qt::OtherFocusReason);
        tree.scrollTo(tree.currentIndex());
        m_frame.SetActiveView(&tree);
        break;
    case FIELD_TITLE:
        m_frame.GetTitleEditor()->SelectStoredRange(hit.nOffset, hit.nLength);
        m_frame.SetActiveView(m_frame.GetTitleEditor());
        break;
    default:
        m_frame.GetBodyEditor()->SelectStoredRange(hit.nOffset, hit.nLength);
        m_frame.SetActiveView(m_frame.GetBodyEditor());
        break;
    }
}

bool CFindController::IsHitSelected(const CSearchHit& hit) const
{
    if (m_doc.GetCurrentItem() != hit.hItem)
        return false;
    QWidget* pActive = m_frame.GetActiveView();
    if (hit.field == FIELD_TAG)
        return pActive == m_frame.GetTreeView();
    CEditorView* pEditor = hit.field == FIELD_TITLE ? static_cast<CEditorView*>(m_frame.GetTitleEditor())
                                                    : static_cast<CEditorView*>(m_frame.GetBodyEditor());
    if (pActive != pEditor)
        return false;
    const auto [nStart, nEnd] = pEditor->StoredSelection();
    return nStart == hit.nOffset && nEnd == hit.nOffset + hit.nLength;
}

void CFindController::ReplaceOne()
{
    m_options = m_pDialog->GetOptions();
    if (m_options.strFind.empty())
        return;
    m_doc.UpdateAllViews(nullptr, HINT_STORE);
    if (m_lastHit && IsHitSelected(*m_lastHit)) {
        const CSearchHit hit = *m_lastHit;
        const CString replacement = m_pDialog->GetReplacement();
        if (auto change = CSiteReplace::ReplaceAt(m_doc.m_tree, m_options, replacement, hit)) {
            AfterChange({ *change }, QStringLiteral("Replace"));
            // Go on after the replacement, in the same field.
            m_lastHit = CSearchHit { hit.hItem, hit.field, hit.nOffset, replacement.size() };
            const CSearchCursor cursor { hit.hItem, hit.field, hit.nOffset + replacement.size() };
            const CSiteSearch::CStep step = CSiteSearch(m_doc.m_tree, m_options)
                                                .Step(cursor, CSiteSearch::EDirection::Next, ScopeItem());
            if (step.hit)
                GoTo(*step.hit);
            Report(step.hit ? QStringLiteral("Replaced 1 occurrence.")
                            : QStringLiteral("Replaced 1 occurrence; no more matches."));
            return;
        }
        if (hit.field == FIELD_TAG) {
            Report(QStringLiteral("The tag was left unchanged: the replacement would not be a valid tag."));
            return;
        }
    }
    Step(CSiteSearch::EDirection::Next);
}

void CFindController::ReplaceAll()
{
    m_options = m_pDialog->GetOptions();
    if (m_options.strFind.empty())
        return;
    m_doc.UpdateAllViews(nullptr, HINT_STORE);
    CReplaceResult result
        = CSiteReplace::ReplaceAll(m_doc.m_tree, m_options, m_pDialog->GetReplacement(), ScopeItem());
    QString text = QStringLiteral("Replaced %1 in %2.")
                       .arg(Plural(result.nReplaced, "occurrence", "occurrences"),
                           Plural(result.nObjects, "object", "objects"));
    if (result.nTagsRefused > 0)
        text += QStringLiteral(" %1 left unchanged: the result would not be a valid tag.")
                    .arg(Plural(result.nTagsRefused, "tag was", "tags were"));
    m_lastHit.reset();
    if (!result.changes.empty())
        AfterChange(result.changes, QStringLiteral("Replace All"));
    Report(text);
    m_doc.GetUserInterface().MessageBox(
        FromQString(text), "Pagewell", EMessageIcon::Information, EMessageButtons::Ok);
}

void CFindController::Relist()
{
    m_bRelistPending = false;
    if (!m_listed)
        return;
    size_t nTotal = 0;
    std::vector<CSearchHit> hits = CSiteSearch(m_doc.m_tree, *m_listed).FindAll(kMaxListed, nTotal);
    m_pDock->SetResults(std::move(hits), nTotal, ToQString(m_listed->strFind));
}

void CFindController::AfterChange(const std::vector<CTextChange>& changes, const QString& strName)
{
    m_doc.SetModifiedFlag(true);
    m_doc.UpdateAllViews(nullptr, HINT_RELOAD);
    // The list shows the texts as they are now.
    if (!m_pDock->GetModel().GetHits().empty())
        Relist();
    if (m_recordChanges)
        m_recordChanges(changes, strName);
}
