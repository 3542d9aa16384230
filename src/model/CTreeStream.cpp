#include "model/CTreeStream.h"

#include <memory>
#include <string>

#include "model/CSiteTree.h"
#include "platform/CArchive.h"

namespace {

void WriteRecord(CArchive& ar, HTREEITEM hItem)
{
    CNode* pNode = hItem->GetNode();
    pNode->Serialize(ar);
    ar << hItem->GetLabel();
    ar << GetImageIndex(pNode->m_nType, 0, IMAGE_NORMAL);
    ar << GetImageIndex(pNode->m_nType, 1, IMAGE_NORMAL);
}

} // namespace

void CTreeStream::Write(CArchive& ar, const CSiteTree& tree)
{
    ar << static_cast<uint32_t>(TOKEN_FIRST);
    HTREEITEM c = tree.GetRootItem();
    while (c != nullptr) {
        WriteRecord(ar, c);
        if (c->GetFirstChild() != nullptr) {
            ar << static_cast<uint32_t>(TOKEN_CHILD);
            c = c->GetFirstChild();
            continue;
        }
        if (c->GetNextSibling() != nullptr) {
            ar << static_cast<uint32_t>(TOKEN_NEXT);
            c = c->GetNextSibling();
            continue;
        }
        // Climb until a level with a next sibling, or past the top.
        for (;;) {
            c = c->GetParent();
            ar << static_cast<uint32_t>(TOKEN_UP);
            if (c == nullptr)
                break;
            if (c->GetNextSibling() != nullptr) {
                ar << static_cast<uint32_t>(TOKEN_NEXT_AFTER_UP);
                c = c->GetNextSibling();
                break;
            }
        }
    }
    ar << static_cast<uint32_t>(TOKEN_END);
}

void CTreeStream::Read(CArchive& ar, CSiteTree& tree)
{
    tree.DeleteAllItems();
    HTREEITEM hParent = nullptr; // P: null is the top level
    HTREEITEM hPlace = nullptr; // Q: null is "last", else insert after it
    bool bFirst = false; // Q is "first"
    HTREEITEM hLast = nullptr; // L
    int nParentDepth = 0; // of P: 1 for an object at the top level
    int nLastDepth = 0; // of L

    for (;;) {
        uint32_t token = 0;
        ar >> token;
        if (token == TOKEN_END)
            return;
        if (token == TOKEN_UP) {
            if (hLast != nullptr) {
                hLast = hLast->GetParent();
                --nLastDepth;
                if (hLast != nullptr) {
                    hParent = hLast->GetParent();
                    nParentDepth = nLastDepth - 1;
                }
            }
            hPlace = nullptr;
            bFirst = false;
            continue;
        }
        if (token == TOKEN_FIRST) {
            hParent = nullptr;
            nParentDepth = 0;
            hPlace = nullptr;
            bFirst = true;
        } else if (token == TOKEN_CHILD) {
            hParent = hLast;
            nParentDepth = nLastDepth;
            hPlace = nullptr;
            bFirst = true;
        }
        if (nParentDepth >= kMaxDepth)
            throw CArchiveException(
                "objects are nested deeper than " + std::to_string(kMaxDepth) + " levels");
        // Every other token, 3, 5 or unknown, inserts with the current P and Q.
        auto pNode = std::make_unique<CNode>(nullptr);
        pNode->Serialize(ar);
        CString tag;
        ar >> tag;
        uint32_t image = 0;
        ar >> image >> image;
        HTREEITEM hNew = nullptr;
        if (bFirst)
            hNew = tree.InsertItem(std::move(tag), std::move(pNode), hParent, ETreeInsert::First);
        else if (hPlace == nullptr)
            hNew = tree.InsertItem(std::move(tag), std::move(pNode), hParent, ETreeInsert::Last);
        else
            hNew = tree.InsertItemAfter(std::move(tag), std::move(pNode), hParent, hPlace);
        hLast = hPlace = hNew;
        nLastDepth = nParentDepth + 1;
        bFirst = false;
    }
}
