#include "tree/CSiteTreeModel.h"

#include "app/QtText.h"
#include "model/CNode.h"
#include "model/CPagewellDoc.h"
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
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::AccessibleTextRole:
        return ToQString(CSiteTree::GetItemText(h));
    case Qt::DecorationRole:
        return CTreeImages::ItemIcon(static_cast<int>(GetImageIndex(nType, 0, IMAGE_NORMAL)),
            static_cast<int>(GetImageIndex(nType, 1, IMAGE_NORMAL)));
    case NormalImageRole:
        return static_cast<int>(GetImageIndex(nType, 0, IMAGE_NORMAL));
    case SelectedImageRole:
        return static_cast<int>(GetImageIndex(nType, 1, IMAGE_NORMAL));
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
    m_doc.m_tree.SetItemText(h, label);
    m_doc.SetModifiedFlag(true);
    return true;
}

Qt::ItemFlags CSiteTreeModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
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
    beginResetModel();
}

void CSiteTreeModel::OnTreeReset()
{
    endResetModel();
}
