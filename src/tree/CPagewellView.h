#pragma once

#include <QTreeView>

#include "app/CCommandRouter.h"
#include "model/CSiteTree.h"
#include "model/ITreeSelection.h"
#include "platform/CView.h"

class CNode;
class CPagewellDoc;
class CSiteTreeModel;

// The site tree in the left pane: shows the document's hierarchy, makes the
// object of the selected item the current object (the editors store into the
// old object first and show the new one), renames tags in place, and hands
// the Delete key to the delete command.
class CPagewellView : public QTreeView, public CView, public ICommandTarget, public ITreeSelection {
    Q_OBJECT
public:
    static constexpr int kIndent = 10;

    explicit CPagewellView(CPagewellDoc& doc, QWidget* pParent = nullptr);
    ~CPagewellView() override;

    CSiteTreeModel& GetModel() const { return *m_pModel; }
    CPagewellDoc& GetDocument() const { return m_doc; }

    // CView: the tree acts on no hint; it only repaints.
    void OnUpdate(CView* pSender, long lHint) override;
    // After every File New and File Open: the root becomes current, the
    // editors show it, then the root item is selected.
    void OnInitialUpdate() override;

    // ICommandTarget: the tree handles no menu command of its own yet.
    bool OnUpdateCommand(int nId, CCmdUI& state) override;
    void OnCommand(int nId) override;

    HTREEITEM GetSelectedItem() const override;
    // Selects an item; the selection protocol runs for it.
    void SelectItem(HTREEITEM hItem) override;
    // The object of the nearest page at or above the selected item; null
    // without a selection.
    CNode* GetCurrentPage() const;

signals:
    // The Delete key was pressed in the tree.
    void deleteRequested();

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    void OnSelChanged(const QModelIndex& current);

    CPagewellDoc& m_doc;
    CSiteTreeModel* m_pModel;
};
