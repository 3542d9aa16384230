#pragma once

#include <cstdint>

class CArchive;
class CSiteTree;

// The object tree section of the project file: a stream of structure tokens,
// each object followed by its record, its tag and its two image numbers.
class CTreeStream {
public:
    enum : uint32_t {
        TOKEN_END = 0,
        TOKEN_FIRST = 1,
        TOKEN_CHILD = 2,
        TOKEN_NEXT = 3,
        TOKEN_UP = 4,
        TOKEN_NEXT_AFTER_UP = 5,
    };

    // The deepest nesting a project file may hold, as the JSON form allows
    // (CProjectJson::kMaxDepth, two JSON levels to an object): the generator
    // and the checker walk a branch as deep as this.
    static constexpr int kMaxDepth = 5000;

    // A pre-order walk over the items.
    static void Write(CArchive& ar, const CSiteTree& tree);
    // Rebuilds tree (emptied first) as far as the tokens take it; the stream
    // is not checked. Throws CArchiveException when the data ends early or an
    // object lies deeper than kMaxDepth; the items read so far stay in the
    // tree.
    static void Read(CArchive& ar, CSiteTree& tree);
};
