#pragma once

#include <QAbstractItemModel>
#include <map>

#include "model/CSiteTree.h"
#include "model/ISiteTreeObserver.h"

class CPagewellDoc;

// The document's site tree as a Qt item model: one column, the tag as the
// text, the item images by object type. It follows every change of the tree
// through the tree's observer calls. Editing the text renames the tag when
// the new tag has 1 to 31 characters. During a drag, the dragged item and the
// drop target show other pictures, and the drop target is highlighted.
class CSiteTreeModel : public QAbstractItemModel, private ISiteTreeObserver {
    Q_OBJECT
public:
    enum ERole { NormalImageRole = Qt::UserRole + 1, SelectedImageRole, DropHighlightRole };
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

    // Gives an item the picture of a mode (IMAGE_DRAG, IMAGE_DROP) as both its
    // images; IMAGE_NORMAL gives back the normal and selected pictures.
    void SetImageMode(HTREEITEM hItem, int nMode);
    // The item shown as the drop target; null for none.
    void SetDropHighlight(HTREEITEM hItem);
    HTREEITEM GetDropHighlight() const { return m_hDropHighlight; }

private:
    HTREEITEM Child(HTREEITEM hParent, int row) const;

    void OnItemInserting(CTreeItem* pParent, int nRow) override;
    void OnItemInserted(CTreeItem* pItem) override;
    void OnItemRemoving(CTreeItem* pItem) override;
    void OnItemRemoved(CTreeItem* pParent, int nRow) override;
    void OnItemLabelChanged(CTreeItem* pItem) override;
    void OnTreeResetting() override;
    void OnTreeReset() override;

    void Changed(HTREEITEM hItem);

    CPagewellDoc& m_doc;
    std::map<HTREEITEM, int> m_imageModes;
    HTREEITEM m_hDropHighlight = nullptr;
};
