#pragma once

#include <vector>

#include "model/CNode.h"
#include "model/CTreeItem.h"
#include "undo/CUndoStep.h"

// New texts for the titles or body texts of one or more objects: a text an
// editor stored, or every text a replacement changed. Each change holds the
// text its object does not hold now; applying the step exchanges them.
class CSetTextsStep : public CExchangeStep {
public:
    struct CChange {
        HTREEITEM hItem;
        ETextField field;
        CString strText;
    };

    // bApplied: the objects already hold the new texts and the changes hold
    // the old ones (an editor's store). Otherwise the changes hold the new
    // texts, and pushing the step sets them.
    CSetTextsStep(CUndoContext& context, const QString& text, std::vector<CChange> changes, bool bApplied);

    // The name of an editor's store: "Edit title of news".
    static QString StoreName(HTREEITEM hItem, ETextField field);

private:
    void Exchange() override;

    std::vector<CChange> m_changes;
};
