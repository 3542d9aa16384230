#pragma once

#include <QAbstractItemModel>

#include "model/CSiteTree.h"
#include "model/ISiteTreeObserver.h"

class CPagewellDoc;

// The document's site tree as a Qt item model: one column, the tag as the
// text, the item images by object type. It follows every change of the tree
// through the tree's observer calls. Editing the text renames the tag when
// the new tag has 1 to 31 characters.
class CSiteTreeModel : public QAbstractItemModel, private ISiteTreeObserver {
    Q_OBJECT
public:
    enum ERole { NormalImageRole = Qt::UserRole + 1, SelectedImageRole };
    static constexpr size_t kMaxTagLength = 31;

    explicit CSiteTreeModel(CPagewellDoc& doc, QObject* pParent = nullptr);
    ~CSiteTreeModel() override;

    QModelIndex IndexOf(HTREEITEM hItem) const;
    static HTREEITEM ItemOf(const QModelIndex& index);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    HTREEITEM Child(HTREEITEM hParent, int row) const;

    void OnItemInserting(CTreeItem* pParent, int nRow) override;
    void OnItemInserted(CTreeItem* pItem) override;
    void OnItemRemoving(CTreeItem* pItem) override;
    void OnItemRemoved(CTreeItem* pParent, int nRow) override;
    void OnItemLabelChanged(CTreeItem* pItem) override;
    void OnTreeResetting() override;
    void OnTreeReset() override;

    CPagewellDoc& m_doc;
};
