#include "CRandomSteps.h"

#include <vector>

#include "model/CPagewellDoc.h"
#include "model/IEditHistory.h"
#include "model/NodeTypes.h"
#include "model/TreeDialogs.h"
#include "platform/CArchive.h"

CRandomSteps::~CRandomSteps() = default;

void CRandomSteps::Attach(CPagewellDoc& doc)
{
    m_pDoc = &doc;
    ITreeSelection& selection = *this;
    m_pCommands = std::make_unique<CTreeCommands>(doc, selection);
}

std::string CRandomSteps::Bytes(CPagewellDoc& doc)
{
    std::string bytes;
    CArchive ar(bytes);
    doc.Serialize(ar);
    return bytes;
}

void CRandomSteps::SelectItem(HTREEITEM hItem)
{
    m_hSelected = hItem;
    m_pDoc->m_pCurrent = hItem != nullptr ? hItem->GetNode() : nullptr;
}

int CRandomSteps::PickEnabled(int nEnable)
{
    std::vector<int> choices;
    for (int i = 0; i < 3; ++i) {
        if ((nEnable & (1 << i)) != 0)
            choices.push_back(i);
    }
    return choices.empty() ? 0 : choices[static_cast<size_t>(Pick(static_cast<int>(choices.size())))];
}

HTREEITEM CRandomSteps::PickItem(bool bRootToo)
{
    std::vector<HTREEITEM> items;
    for (HTREEITEM h = m_pDoc->m_tree.GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h)) {
        if (bRootToo || h != m_pDoc->m_tree.GetRootItem())
            items.push_back(h);
    }
    return items.empty() ? nullptr : items[static_cast<size_t>(Pick(static_cast<int>(items.size())))];
}

CString CRandomSteps::PickText(int nWords)
{
    static const char* const kWords[] = { "news", "Alpha", "beta", "<b>bold</b>", "line\r\n", "x", "Zeta", "" };
    CString text;
    for (int i = 0; i < nWords; ++i)
        text += kWords[Pick(8)];
    return text;
}

int CRandomSteps::DoModal(CDialogRecord& record)
{
    if (auto* pInsert = dynamic_cast<CInsertObjectDlg*>(&record)) {
        pInsert->m_strTag = "t" + std::to_string(Pick(100));
        pInsert->m_nPosition = PickEnabled(pInsert->m_nEnable);
    } else if (auto* pPosition = dynamic_cast<CInsertPositionDlg*>(&record)) {
        pPosition->m_nPosition = PickEnabled(pPosition->m_nEnable);
    } else if (auto* pType = dynamic_cast<CSelectTypeDlg*>(&record)) {
        pType->m_nNewType = PickEnabled(pType->m_nEnable);
    } else if (auto* pInfo = dynamic_cast<CDocInfo*>(&record)) {
        pInfo->m_clrBg = static_cast<COLORREF>(m_random() & 0xFFFFFF);
        pInfo->m_strIcon = PickText(1);
        if (Pick(2) == 0) {
            pInfo->m_bBannersTouched = 1;
            pInfo->m_bNew = Pick(2);
        }
    } else if (auto* pProps = dynamic_cast<CDocProperties*>(&record)) {
        pProps->m_strAuthor = PickText(2);
        pProps->m_clrCustom[static_cast<size_t>(Pick(16))] = static_cast<COLORREF>(m_random() & 0xFFFFFF);
    }
    return IDOK;
}

void CRandomSteps::Step(EKind kind)
{
    CPagewellDoc& doc = *m_pDoc;
    IEditHistory* pHistory = doc.m_pHistory;
    if (kind == Delete && doc.m_tree.GetCount() < 4)
        kind = Insert;
    switch (kind) {
    case Insert:
        SelectItem(PickItem(true));
        m_pCommands->InsertObject(static_cast<uint32_t>(Pick(3)));
        break;
    case Delete:
        SelectItem(PickItem(false));
        m_pCommands->DeleteCurrent();
        break;
    case Convert:
        SelectItem(PickItem(true));
        m_pCommands->OnConvert();
        break;
    case Move:
        for (int i = 0; i < 20; ++i) {
            HTREEITEM hDrag = PickItem(false);
            HTREEITEM hTarget = PickItem(true);
            if (hDrag != nullptr && !CTreeCommands::IsDropRefused(hDrag, hTarget)) {
                m_pCommands->MoveBranch(hDrag, hTarget);
                break;
            }
        }
        break;
    case Rename: {
        // As the tree's label editing does it.
        HTREEITEM hItem = PickItem(true);
        const CString old = hItem->GetLabel();
        doc.m_tree.SetItemText(hItem, old + PickText(1) + "r");
        if (pHistory != nullptr)
            pHistory->Renamed(hItem, old);
        break;
    }
    case ObjectProperties:
        SelectItem(PickItem(true));
        doc.OnObjectProperties();
        break;
    case DocProperties:
        doc.OnDocProperties();
        break;
    case Format: {
        // As an editor's format command does it.
        HTREEITEM hItem = PickItem(true);
        const ETextField field = Pick(2) == 0 ? ETextField::Text : ETextField::Title;
        uint32_t& word = hItem->GetNode()->FormatOf(field);
        const uint32_t nOld = word;
        word = Pick(2) == 0 ? SetAlignment(word, static_cast<uint32_t>(1 + Pick(3)))
                            : SetStyle(word, static_cast<uint32_t>(1 + Pick(4)));
        if (pHistory != nullptr)
            pHistory->FormatSet(hItem, field, nOld);
        break;
    }
    case Text: {
        // As an editor's store does it: only a changed text is a step.
        HTREEITEM hItem = PickItem(true);
        const ETextField field = Pick(2) == 0 ? ETextField::Text : ETextField::Title;
        CString& text = hItem->GetNode()->TextOf(field);
        CString old = text;
        text = PickText(1 + Pick(6));
        if (text != old && pHistory != nullptr)
            pHistory->TextStored(hItem, field, old);
        break;
    }
    case KindCount:
        break;
    }
}
