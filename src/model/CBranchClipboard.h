#pragma once

#include <string>
#include <utility>
#include <vector>

#include "model/CSiteTree.h"

// Branches of the outline as the clipboard carries them, between windows and
// projects: the project's JSON form of the branch, whole, with every
// property; and its outline as plain text for other programs.
class CBranchClipboard {
public:
    // The media type of the JSON form on the clipboard.
    static constexpr const char* kMimeType = "application/x-pagewell-branch+json";

    // {"pagewell-branch": 1, "tree": [the branch]} as UTF-8 text.
    static std::string ToText(HTREEITEM hItem);
    // "tag: title" a line, two spaces deeper each level.
    static std::string Outline(HTREEITEM hItem);
    // Reads a branch into scratch (an empty tree); false, with the reason,
    // for text that is not one.
    static bool FromText(const std::string& text, CSiteTree& scratch, std::string& error);

    // Gives every tag of the scratch tree that target already has (or that
    // comes twice in scratch) the first free suffix: "news" -> "news-2".
    // Returns the renames, old and new, in tree order.
    static std::vector<std::pair<CString, CString>> FreeTags(const CSiteTree& target, CSiteTree& scratch);
};
