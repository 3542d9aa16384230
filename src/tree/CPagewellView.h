#pragma once

#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QTreeView>
#include <memory>

#include "app/CCommandRouter.h"
#include "model/CSiteTree.h"
#include "model/CTreeCommands.h"
#include "model/ITreeSelection.h"
#include "platform/CView.h"

class CNode;
class CPagewellDoc;
class CSiteTreeModel;

// The site tree in the left pane: shows the document's hierarchy, makes the
// object of the selected item the current object (the editors store into the
// old object first and show the new one), renames tags in place, and runs
// the tree commands: insert, convert, the Delete key, and moving a branch by
// dragging its item with the left mouse button onto another item.
class CPagewellView : public QTreeView, public CView, public ICommandTarget, public ITreeSelection {
    Q_OBJECT
public:
    static constexpr int kIndent = 10;
    // The period of the auto-scroll timer while dragging.
    static constexpr int kScrollPeriodMs = 100;

    explicit CPagewellView(CPagewellDoc& doc, QWidget* pParent = nullptr);
    ~CPagewellView() override;

    using QTreeView::edit;

    CSiteTreeModel& GetModel() const { return *m_pModel; }
    CPagewellDoc& GetDocument() const { return m_doc; }

    // CView: the tree only repaints, and on a store hint commits a rename
    // still open in place.
    void OnUpdate(CView* pSender, long lHint) override;
    // Ends an open rename as Enter would; nothing when none is open.
    void CommitLabelEdit();
    // A click on the selected item waits to open the rename box.
    bool IsRenamePending() const { return m_renameTimer.isActive(); }
    // After every File New and File Open: the root becomes current, the
    // editors show it, then the root item is selected.
    void OnInitialUpdate() override;

    // ICommandTarget: Insert Page, Paragraph and Link, and Convert. Only the
    // tree handles them, so they are unavailable while an editor is active.
    // Undo and Redo are unavailable during a drag.
    bool OnUpdateCommand(int nId, CCmdUI& state) override;
    void OnCommand(int nId) override;

    HTREEITEM GetSelectedItem() const override;
    // Selects an item; the selection protocol runs for it.
    void SelectItem(HTREEITEM hItem) override;
    // The object of the nearest page at or above the selected item; null
    // without a selection.
    CNode* GetCurrentPage() const;

    CTreeCommands& GetCommands() { return m_commands; }
    // The Delete key's command (also Object > Delete): asks, then removes
    // the selected branch.
    void DeleteCurrent();

    // The drag of an item (see the mouse handlers).
    bool IsDragging() const { return m_bDragging; }
    HTREEITEM GetDragItem() const { return m_hDragItem; }
    // The item last found under the mouse during the drag; null at first.
    HTREEITEM GetDropTarget() const { return m_hDropTarget; }
    // The picture that follows the mouse during the drag; null outside one.
    QLabel* GetDragImage() const { return m_pDragImage; }
    // One tick of the auto-scroll timer: when the drop target is the first
    // or the last item the window shows, the outline moves one step that way.
    void OnAutoScroll();
    // Ends a drag without moving anything: Escape, or the mouse given up to
    // another window. No-op outside a drag.
    void CancelDrag();

signals:
    // The Delete key was pressed in the tree.
    void deleteRequested();

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* pEvent) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    bool event(QEvent* pEvent) override;
    void focusOutEvent(QFocusEvent* pEvent) override;
    void hideEvent(QHideEvent* pEvent) override;

private:
    void OnSelChanged(const QModelIndex& current);
    void OnRenameDelay();
    void CancelDelayedRename();
    // Opens the inserted items that were open when they left the tree.
    void OpenAsKept(const QModelIndex& parent, int first, int last);
    void InsertObject(uint32_t type);

    void BeginDrag(HTREEITEM hItem, const QPoint& at);
    void DragMove(const QPoint& at);
    void Drop();
    // Ends the drag in every case: the drag image goes, the normal pictures
    // come back, the timer stops, and the project is marked modified.
    void EndDrag();
    // Items are about to go that the move did not remove (a project opened or
    // created, an object deleted): a drag or a pending press would keep
    // pointers to them, so it ends at once, moving nothing.
    void OnItemsGoing();
    void MakeVisible(HTREEITEM hItem);
    QPixmap DragPixmap(HTREEITEM hItem) const;

    CPagewellDoc& m_doc;
    CSiteTreeModel* m_pModel;
    CTreeCommands m_commands;

    // The item a click on the selected item is to rename, once the double
    // click time has passed without a second click.
    QPersistentModelIndex m_renameIndex;
    QTimer m_renameTimer;
    bool m_bDoubleClicked = false;

    // A left button press on an item that may become a drag.
    HTREEITEM m_hPressItem = nullptr;
    QPoint m_pressPos;
    // That press, handed to the view when the button comes up without a drag.
    std::unique_ptr<QMouseEvent> m_pPendingPress;

    bool m_bDragging = false;
    HTREEITEM m_hDragItem = nullptr;
    HTREEITEM m_hDropTarget = nullptr;
    QPointer<QLabel> m_pDragImage;
    QTimer m_scrollTimer;
    bool m_bHadMouseTracking = false;
    // A branch is being moved: the selection protocol waits for its end.
    bool m_bMoving = false;
    // The position dialog of a drop is open.
    bool m_bDropDialog = false;
};
