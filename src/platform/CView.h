#pragma once

// The update hints a document sends to its views.
enum EUpdateHint : long {
    HINT_RELOAD = 0, // views re-read the current object
    HINT_STORE = 1, // views copy their edits into the current object
};

// A view attached to a document receives its updates in attach order.
class CView {
public:
    virtual ~CView() = default;
    virtual void OnUpdate(CView* pSender, long lHint) = 0;
    // After a project was created or opened; by default a reload.
    virtual void OnInitialUpdate() { OnUpdate(nullptr, HINT_RELOAD); }
};
