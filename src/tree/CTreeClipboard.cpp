#include "tree/CTreeClipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "app/CommandIds.h"
#include "app/QtText.h"
#include "model/CBranchClipboard.h"
#include "model/CNode.h"
#include "model/CPagewellDoc.h"
#include "model/CTreeCommands.h"
#include "model/IEditHistory.h"
#include "platform/CView.h"
#include "platform/IUserInterface.h"
#include "tree/CPagewellView.h"

CTreeClipboard::CTreeClipboard(CPagewellDoc& doc, CPagewellView& tree, std::function<bool()> isTreeActive)
    : m_doc(doc)
    , m_tree(tree)
    , m_isTreeActive(std::move(isTreeActive))
{ }

bool CTreeClipboard::CanPaste() const
{
    const QMimeData* pData = QApplication::clipboard()->mimeData();
    return pData != nullptr && pData->hasFormat(QString::fromLatin1(CBranchClipboard::kMimeType));
}

bool CTreeClipboard::OnUpdateCommand(int nId, CCmdUI& state)
{
    const HTREEITEM hSelected = m_tree.GetSelectedItem();
    const bool bRoot = hSelected == m_doc.m_tree.GetRootItem();
    switch (nId) {
    case ID_EDIT_COPY:
    case ID_EDIT_CUT:
    case ID_EDIT_PASTE:
        if (!m_isTreeActive())
            return false;
        state.Enable(hSelected != nullptr
            && (nId == ID_EDIT_COPY || (nId == ID_EDIT_CUT && !bRoot)
                || (nId == ID_EDIT_PASTE && CanPaste())));
        return true;
    case ID_OBJECT_DUPLICATE:
        state.Enable(hSelected != nullptr && !bRoot);
        return true;
    case ID_OBJECT_DELETE:
        state.Enable(hSelected != nullptr);
        return true;
    default:
        return false;
    }
}

void CTreeClipboard::OnCommand(int nId)
{
    // What an editor holds belongs to the branch that is copied.
    m_doc.UpdateAllViews(nullptr, HINT_STORE);
    switch (nId) {
    case ID_EDIT_COPY:
        Copy();
        break;
    case ID_EDIT_CUT:
        Cut();
        break;
    case ID_EDIT_PASTE:
        Paste();
        break;
    case ID_OBJECT_DUPLICATE:
        Duplicate();
        break;
    case ID_OBJECT_DELETE:
        m_tree.DeleteCurrent();
        break;
    default:
        break;
    }
}

void CTreeClipboard::Copy()
{
    const HTREEITEM hSelected = m_tree.GetSelectedItem();
    if (hSelected == nullptr)
        return;
    auto* pData = new QMimeData;
    const std::string text = CBranchClipboard::ToText(hSelected);
    pData->setData(QString::fromLatin1(CBranchClipboard::kMimeType), QByteArray::fromStdString(text));
    pData->setText(QString::fromStdString(CBranchClipboard::Outline(hSelected)));
    QApplication::clipboard()->setMimeData(pData);
}

void CTreeClipboard::Cut()
{
    const HTREEITEM hSelected = m_tree.GetSelectedItem();
    if (hSelected == nullptr || hSelected == m_doc.m_tree.GetRootItem())
        return;
    Copy();
    // The branch is on the clipboard and the step can be undone: no question.
    m_tree.GetCommands().DeleteBranch(hSelected);
}

void CTreeClipboard::Paste()
{
    const HTREEITEM hSelected = m_tree.GetSelectedItem();
    const QMimeData* pData = QApplication::clipboard()->mimeData();
    if (hSelected == nullptr || pData == nullptr)
        return;
    const QByteArray text = pData->data(QString::fromLatin1(CBranchClipboard::kMimeType));
    if (text.isEmpty())
        return;
    // A link has no children: the branch goes after it.
    InsertBranch(text.toStdString(), hSelected, hSelected->GetNode()->m_nType == NODE_LINK);
}

void CTreeClipboard::Duplicate()
{
    const HTREEITEM hSelected = m_tree.GetSelectedItem();
    if (hSelected == nullptr || hSelected == m_doc.m_tree.GetRootItem())
        return;
    InsertBranch(CBranchClipboard::ToText(hSelected), hSelected, true);
}

void CTreeClipboard::InsertBranch(const std::string& text, HTREEITEM hTarget, bool bBeside)
{
    CSiteTree scratch;
    std::string error;
    IUserInterface& ui = m_doc.GetUserInterface();
    if (!CBranchClipboard::FromText(text, scratch, error)) {
        ui.MessageBox("The clipboard holds no branch that can be pasted: " + error, kApplicationTitle,
            EMessageIcon::Exclamation, EMessageButtons::Ok);
        return;
    }
    const auto renames = CBranchClipboard::FreeTags(m_doc.m_tree, scratch);
    const HTREEITEM hTop = scratch.GetRootItem();
    const CString label = hTop->GetLabel();
    const CTreePlace place
        = CTreeCommands::PlaceAt(m_doc.m_tree, label, hTarget, bBeside ? POS_AFTER : POS_CHILD);
    const HTREEITEM hItem = m_doc.m_tree.AttachItem(scratch.DetachItem(hTop), place);
    if (m_doc.m_pHistory != nullptr)
        m_doc.m_pHistory->Inserted(hItem);
    m_tree.SelectItem(hItem);
    m_doc.SetModifiedFlag(true);
    if (renames.empty())
        return;
    CString message = "These tags were taken, so the new objects have others:";
    for (const auto& [from, to] : renames)
        message += "\r\n" + from + " becomes " + to;
    ui.MessageBox(message, kApplicationTitle, EMessageIcon::Information, EMessageButtons::Ok);
}
