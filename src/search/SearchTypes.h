#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/CTreeItem.h"
#include "platform/CString.h"

// The texts of an object that a search looks at, as bits of a mask.
enum ESearchField : uint32_t {
    FIELD_TAG = 1,
    FIELD_TITLE = 2,
    FIELD_TEXT = 4,
    FIELD_ALL = 7,
};

// What to look for and where. The pattern is Windows-1252 bytes like the
// texts it is matched against.
struct CSearchOptions {
    CString strFind;
    bool bMatchCase = false;
    // A match must not have a letter, digit or "_" right before or after it.
    bool bWholeWords = false;
    uint32_t nFields = FIELD_ALL;
};

// One match: the object's item, the field, and the byte range in the field's
// text as the model holds it (CR LF line ends).
struct CSearchHit {
    HTREEITEM hItem = nullptr;
    ESearchField field = FIELD_TEXT;
    size_t nOffset = 0;
    size_t nLength = 0;
};

// A place in the project between matches, for stepping to the next or the
// previous one: the object, the field, and the offset in its text.
struct CSearchCursor {
    HTREEITEM hItem = nullptr;
    ESearchField field = FIELD_TAG;
    size_t nOffset = 0;
};

// One field of one object before and after a replacement; applying the old
// texts again takes the replacement back. The object, not its item, names
// the place: items are made anew around the same objects when a branch
// moves or comes back.
struct CTextChange {
    CNode* pNode = nullptr;
    ESearchField field = FIELD_TEXT;
    CString strOld;
    CString strNew;
};

struct CReplaceResult {
    std::vector<CTextChange> changes;
    size_t nReplaced = 0;
    size_t nObjects = 0;
    // Tags the replacement would have made into ones the tag rules refuse;
    // they were left as they were.
    size_t nTagsRefused = 0;
};
