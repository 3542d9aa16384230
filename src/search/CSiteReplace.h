#pragma once

#include <optional>
#include <vector>

#include "model/CSiteTree.h"
#include "search/SearchTypes.h"

// Replacing matches in the site's texts. Every replacement answers the
// changes it made, field by field with the old and the new text, so that a
// caller can take it back (or make it again) as one step with Apply. A tag
// is changed only into one the tag rules accept; the others stay and are
// counted. The texts are changed in the model; the caller marks the project
// modified and has the views reload.
class CSiteReplace {
public:
    // Replaces every match in the project, or only in hOnly.
    static CReplaceResult ReplaceAll(CSiteTree& tree, const CSearchOptions& options,
        const CString& replacement, HTREEITEM hOnly = nullptr);
    // Replaces the one match of hit when it still stands there; nothing when
    // the text changed since or the tag rules refuse the result.
    static std::optional<CTextChange> ReplaceAt(
        CSiteTree& tree, const CSearchOptions& options, const CString& replacement, const CSearchHit& hit);

    enum class EApply { Undo, Redo };
    // Puts back the old texts of the changes (in reverse order) or the new
    // ones again.
    static void Apply(CSiteTree& tree, const std::vector<CTextChange>& changes, EApply which);

private:
    static void SetField(CSiteTree& tree, HTREEITEM hItem, ESearchField field, const CString& text);
};
