#pragma once

#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QTreeView>

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

    CSiteTreeModel& GetModel() const { return *m_pModel; }
    CPagewellDoc& GetDocument() const { return m_doc; }

    // CView: the tree acts on no hint; it only repaints.
    void OnUpdate(CView* pSender, long lHint) override;
    // After every File New and File Open: the root becomes current, the
    // editors show it, then the root item is selected.
    void OnInitialUpdate() override;

    // ICommandTarget: Insert Page, Paragraph and Link, and Convert. Only the
    // tree handles them, so they are unavailable while an editor is active.
    bool OnUpdateCommand(int nId, CCmdUI& state) override;
    void OnCommand(int nId) override;

    HTREEITEM GetSelectedItem() const override;
    // Selects an item; the selection protocol runs for it.
    void SelectItem(HTREEITEM hItem) override;
    // The object of the nearest page at or above the selected item; null
    // without a selection.
    CNode* GetCurrentPage() const;

    CTreeCommands& GetCommands() { return m_commands; }

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
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    bool event(QEvent* pEvent) override;
    void focusOutEvent(QFocusEvent* pEvent) override;
    void hideEvent(QHideEvent* pEvent) override;

private:
    void OnSelChanged(const QModelIndex& current);
    // Opens the inserted items that were open when they left the tree.
    void OpenAsKept(const QModelIndex& parent, int first, int last);
    void InsertObject(uint32_t type);
    void DeleteCurrent();

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

    // A left button press on an item that may become a drag.
    HTREEITEM m_hPressItem = nullptr;
    QPoint m_pressPos;

    bool m_bDragging = false;
    HTREEITEM m_hDragItem = nullptr;
    HTREEITEM m_hDropTarget = nullptr;
    QPointer<QLabel> m_pDragImage;
    QTimer m_scrollTimer;
    bool m_bHadMouseTracking = false;
    // A branch is being moved: the selection protocol waits for its end.
    bool m_bMoving = false;
};
