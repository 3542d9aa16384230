#include "model/CTreeCommands.h"

#include "model/CBranchMove.h"
#include "model/CPagewellDoc.h"
#include "model/IEditHistory.h"
#include "model/ITreeSelection.h"
#include "platform/CClock.h"
#include "platform/CView.h"
#include "platform/IUserInterface.h"

namespace {

constexpr int kEnableChild = 1;
constexpr int kEnableBefore = 2;
constexpr int kEnableAfter = 4;
constexpr int kEnableLink = 4;

bool IsTagCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

} // namespace

bool CTreeCommands::FilterTag(CString& text)
{
    // The whole text: a tag becomes a file name, so a space or a slash
    // anywhere in it would be harmful.
    for (size_t i = 0; i < text.size(); ++i) {
        if (!IsTagCharacter(text[i])) {
            text.resize(i);
            return true;
        }
    }
    return false;
}

bool CTreeCommands::IsValidTag(const CString& tag)
{
    if (tag.empty() || tag.size() > kMaxTagLength)
        return false;
    CString filtered = tag;
    return !FilterTag(filtered);
}

CTreePlace CTreeCommands::PlaceAt(CSiteTree& tree, const CString& label, HTREEITEM hTarget, int position)
{
    if (position == POS_CHILD)
        return { hTarget, tree.SortedAfter(hTarget, label) };
    if (position == POS_BEFORE)
        return { hTarget->GetParent(), hTarget->GetPrevSibling() };
    return { hTarget->GetParent(), hTarget };
}

HTREEITEM CTreeCommands::InsertAtPosition(
    CSiteTree& tree, const CString& label, std::unique_ptr<CNode> pNode, HTREEITEM hTarget, int position)
{
    const CTreePlace place = PlaceAt(tree, label, hTarget, position);
    return tree.InsertItemAfter(label, std::move(pNode), place.hParent, place.hAfter);
}

void CTreeCommands::InsertObject(uint32_t type)
{
    HTREEITEM hSelected = m_selection.GetSelectedItem();
    if (hSelected == nullptr)
        return;
    auto pNode = std::make_unique<CNode>(&m_doc);
    pNode->m_nType = type;
    pNode->m_tStamp = CClock::Now();

    CInsertObjectDlg dlg;
    if (hSelected == m_doc.m_tree.GetRootItem())
        dlg.m_nEnable &= ~(kEnableBefore | kEnableAfter);
    if (m_doc.m_pCurrent != nullptr && m_doc.m_pCurrent->m_nType == NODE_LINK) {
        dlg.m_nEnable &= ~kEnableChild;
        dlg.m_nPosition = POS_AFTER;
    }
    if (type == NODE_LINK)
        pNode->m_strTitle += "\r\nhttp://";

    if (m_doc.GetUserInterface().DoModal(dlg) != IDOK || dlg.m_strTag.empty())
        return;
    HTREEITEM hNew
        = InsertAtPosition(m_doc.m_tree, dlg.m_strTag, std::move(pNode), hSelected, dlg.m_nPosition);
    if (m_doc.m_pHistory != nullptr)
        m_doc.m_pHistory->Inserted(hNew);
    m_doc.UpdateAllViews(nullptr, HINT_RELOAD);
    m_doc.SetModifiedFlag(true);
}

void CTreeCommands::DeleteCurrent()
{
    HTREEITEM hSelected = m_selection.GetSelectedItem();
    if (hSelected == nullptr)
        return;
    IUserInterface& ui = m_doc.GetUserInterface();
    if (hSelected == m_doc.m_tree.GetRootItem()) {
        ui.MessageBox("You can't delete the root object.", kApplicationTitle, EMessageIcon::Exclamation,
            EMessageButtons::Ok);
    } else if (ui.MessageBox("Delete the current object and all it's sub-objects?", kApplicationTitle,
                   EMessageIcon::Question, EMessageButtons::YesNo)
        == IDYES) {
        DeleteBranch(hSelected);
    }
    // Marked modified in every case, the refusal and a "No" included.
    m_doc.SetModifiedFlag(true);
}

void CTreeCommands::DeleteBranch(HTREEITEM hItem)
{
    HTREEITEM hNext = hItem->GetNextSibling();
    if (hNext == nullptr)
        hNext = hItem->GetPrevSibling();
    if (hNext == nullptr)
        hNext = hItem->GetParent();
    if (hNext == nullptr)
        hNext = m_doc.m_tree.GetRootItem();
    m_selection.SelectItem(hNext);
    m_doc.m_pCurrent = hNext->GetNode();
    if (m_doc.m_pHistory != nullptr) {
        const CTreePlace place = CSiteTree::PlaceOf(hItem);
        m_doc.m_pHistory->Deleted(m_doc.m_tree.DetachItem(hItem), place);
    } else {
        m_doc.m_tree.DeleteItem(hItem);
    }
    m_doc.SetModifiedFlag(true);
}

void CTreeCommands::OnConvert()
{
    HTREEITEM hSelected = m_selection.GetSelectedItem();
    if (hSelected == nullptr || m_doc.m_pCurrent == nullptr)
        return;
    CSelectTypeDlg dlg;
    dlg.m_nNewType = static_cast<int>(m_doc.m_pCurrent->m_nType);
    if (hSelected->GetParent() == nullptr)
        dlg.m_nEnable = kEnableChild;
    if (hSelected->HasChildren())
        dlg.m_nEnable &= ~kEnableLink;
    if (m_doc.GetUserInterface().DoModal(dlg) != IDOK)
        return;
    const uint32_t nOldType = m_doc.m_pCurrent->m_nType;
    m_doc.m_pCurrent->m_nType = static_cast<uint32_t>(dlg.m_nNewType);
    if (m_doc.m_pHistory != nullptr && nOldType != m_doc.m_pCurrent->m_nType)
        m_doc.m_pHistory->Converted(hSelected, nOldType);
    m_doc.m_tree.NotifyItemChanged(hSelected);
    m_doc.UpdateAllViews(nullptr, HINT_RELOAD);
    m_doc.SetModifiedFlag(true);
}

bool CTreeCommands::IsAncestor(HTREEITEM hItem, HTREEITEM hAncestor)
{
    for (HTREEITEM h = hItem; h != nullptr; h = h->GetParent()) {
        if (h == hAncestor)
            return true;
    }
    return false;
}

bool CTreeCommands::IsDropRefused(HTREEITEM hDrag, HTREEITEM hTarget)
{
    return hTarget == nullptr || hTarget == hDrag || IsAncestor(hTarget, hDrag)
        || hTarget == hDrag->GetParent();
}

HTREEITEM CTreeCommands::CopyBranch(CSiteTree& tree, HTREEITEM hItem, HTREEITEM hTarget, int position)
{
    const CString label = hItem->GetLabel();
    HTREEITEM hNew = InsertAtPosition(tree, label, tree.ReleaseItemData(hItem), hTarget, position);
    while (HTREEITEM hChild = hItem->GetFirstChild()) {
        CopyBranch(tree, hChild, hNew, POS_CHILD);
        tree.DeleteItem(hChild);
    }
    return hNew;
}

bool CTreeCommands::MoveBranch(HTREEITEM hDrag, HTREEITEM hTarget)
{
    CInsertPositionDlg dlg;
    dlg.m_nPosition = POS_CHILD;
    if (hTarget == m_doc.m_tree.GetRootItem())
        dlg.m_nEnable &= ~(kEnableBefore | kEnableAfter);
    if (hTarget->GetNode() != nullptr && hTarget->GetNode()->m_nType == NODE_LINK) {
        dlg.m_nEnable &= ~kEnableChild;
        dlg.m_nPosition = POS_AFTER;
    }
    if (m_doc.GetUserInterface().DoModal(dlg) != IDOK)
        return false;
    // The same items move, so that the move can be taken back.
    CBranchMove move(hDrag, hTarget, dlg.m_nPosition);
    move.Do(m_doc.m_tree);
    if (m_doc.m_pHistory != nullptr)
        m_doc.m_pHistory->Moved(move);
    return true;
}
