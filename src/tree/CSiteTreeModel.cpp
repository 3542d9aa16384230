#include "tree/CSiteTreeModel.h"

#include <QGuiApplication>
#include <QPalette>

#include "app/QtText.h"
#include "model/CNode.h"
#include "model/CPagewellDoc.h"
#include "model/CTreeCommands.h"
#include "model/IEditHistory.h"
#include "model/NodeTypes.h"
#include "tree/CTreeImages.h"

CSiteTreeModel::CSiteTreeModel(CPagewellDoc& doc, QObject* pParent)
    : QAbstractItemModel(pParent)
    , m_doc(doc)
{
    m_doc.m_tree.AddObserver(this);
}

CSiteTreeModel::~CSiteTreeModel()
{
    m_doc.m_tree.RemoveObserver(this);
}

HTREEITEM CSiteTreeModel::ItemOf(const QModelIndex& index)
{
    return index.isValid() ? static_cast<HTREEITEM>(index.internalPointer()) : nullptr;
}

QModelIndex CSiteTreeModel::IndexOf(HTREEITEM hItem) const
{
    if (hItem == nullptr)
        return {};
    return createIndex(CSiteTree::GetRow(hItem), 0, hItem);
}

HTREEITEM CSiteTreeModel::Child(HTREEITEM hParent, int row) const
{
    HTREEITEM h = hParent != nullptr ? CSiteTree::GetChildItem(hParent) : m_doc.m_tree.GetRootItem();
    for (int i = 0; h != nullptr && i < row; ++i)
        h = CSiteTree::GetNextSiblingItem(h);
    return h;
}

QModelIndex CSiteTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (row < 0 || column != 0)
        return {};
    HTREEITEM h = Child(ItemOf(parent), row);
    return h != nullptr ? createIndex(row, 0, h) : QModelIndex();
}

QModelIndex CSiteTreeModel::parent(const QModelIndex& child) const
{
    HTREEITEM h = ItemOf(child);
    return h != nullptr ? IndexOf(CSiteTree::GetParentItem(h)) : QModelIndex();
}

int CSiteTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    int n = 0;
    for (HTREEITEM h = Child(ItemOf(parent), 0); h != nullptr; h = CSiteTree::GetNextSiblingItem(h))
        ++n;
    return n;
}

int CSiteTreeModel::columnCount(const QModelIndex& /*parent*/) const
{
    return 1;
}

QVariant CSiteTreeModel::data(const QModelIndex& index, int role) const
{
    HTREEITEM h = ItemOf(index);
    if (h == nullptr)
        return {};
    const CNode* pNode = CSiteTree::GetItemData(h);
    const uint32_t nType = pNode != nullptr ? pNode->m_nType : NODE_PAGE;
    const auto mode = m_imageModes.find(h);
    const int nMode = mode != m_imageModes.end() ? mode->second : IMAGE_NORMAL;
    const int nNormal = static_cast<int>(GetImageIndex(nType, 0, nMode));
    const int nSelected = static_cast<int>(GetImageIndex(nType, 1, nMode));
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::AccessibleTextRole:
        return ToQString(CSiteTree::GetItemText(h));
    case Qt::DecorationRole:
        return CTreeImages::ItemIcon(nNormal, nSelected);
    case NormalImageRole:
        return nNormal;
    case SelectedImageRole:
        return nSelected;
    case DropHighlightRole:
        return h == m_hDropHighlight;
    case Qt::BackgroundRole:
        if (h == m_hDropHighlight)
            return QGuiApplication::palette().brush(QPalette::Active, QPalette::Highlight);
        return {};
    case Qt::ForegroundRole:
        if (h == m_hDropHighlight)
            return QGuiApplication::palette().brush(QPalette::Active, QPalette::HighlightedText);
        return {};
    default:
        return {};
    }
}

bool CSiteTreeModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    HTREEITEM h = ItemOf(index);
    if (h == nullptr || role != Qt::EditRole)
        return false;
    // The tag: no character test, only its length. A refusal is silent.
    const CString label = FromQString(value.toString());
    if (label.empty() || label.size() > kMaxTagLength)
        return false;
    const CString old = CSiteTree::GetItemText(h);
    m_doc.m_tree.SetItemText(h, label);
    m_doc.SetModifiedFlag(true);
    if (m_doc.m_pHistory != nullptr && old != label)
        m_doc.m_pHistory->Renamed(h, old);
    return true;
}

Qt::ItemFlags CSiteTreeModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void CSiteTreeModel::Changed(HTREEITEM hItem)
{
    const QModelIndex at = IndexOf(hItem);
    emit dataChanged(at, at);
}

void CSiteTreeModel::SetImageMode(HTREEITEM hItem, int nMode)
{
    if (hItem == nullptr)
        return;
    if (nMode == IMAGE_NORMAL)
        m_imageModes.erase(hItem);
    else
        m_imageModes[hItem] = nMode;
    Changed(hItem);
}

void CSiteTreeModel::SetDropHighlight(HTREEITEM hItem)
{
    if (hItem == m_hDropHighlight)
        return;
    HTREEITEM hOld = m_hDropHighlight;
    m_hDropHighlight = hItem;
    if (hOld != nullptr)
        Changed(hOld);
    if (hItem != nullptr)
        Changed(hItem);
}

void CSiteTreeModel::OnItemInserting(CTreeItem* pParent, int nRow)
{
    beginInsertRows(IndexOf(pParent), nRow, nRow);
}

void CSiteTreeModel::OnItemInserted(CTreeItem* /*pItem*/)
{
    endInsertRows();
}

void CSiteTreeModel::OnItemRemoving(CTreeItem* pItem)
{
    // A removed item takes its marks along; a new item may reuse its address.
    for (auto it = m_imageModes.begin(); it != m_imageModes.end();) {
        if (CTreeCommands::IsAncestor(it->first, pItem))
            it = m_imageModes.erase(it);
        else
            ++it;
    }
    if (m_hDropHighlight != nullptr && CTreeCommands::IsAncestor(m_hDropHighlight, pItem))
        m_hDropHighlight = nullptr;
    const int nRow = CSiteTree::GetRow(pItem);
    beginRemoveRows(IndexOf(CSiteTree::GetParentItem(pItem)), nRow, nRow);
}

void CSiteTreeModel::OnItemRemoved(CTreeItem* /*pParent*/, int /*nRow*/)
{
    endRemoveRows();
}

void CSiteTreeModel::OnItemLabelChanged(CTreeItem* pItem)
{
    const QModelIndex at = IndexOf(pItem);
    emit dataChanged(at, at);
}

void CSiteTreeModel::OnTreeResetting()
{
    m_imageModes.clear();
    m_hDropHighlight = nullptr;
    beginResetModel();
}

void CSiteTreeModel::OnTreeReset()
{
    endResetModel();
}
