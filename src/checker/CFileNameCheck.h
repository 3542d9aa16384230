#pragma once

#include "checker/ICheck.h"
#include "model/CTreeItem.h"

// The files the pages become: tags the page writer refuses, pages that write
// the same file (equal tags, equal after lowering, or equal but for letter
// case, which collide on disks and servers that ignore case), a page named
// like an image copied beside the pages, and objects nested deeper than the
// generator expands.
class CFileNameCheck : public ICheck {
public:
    void Run(CCheckContext& context) override;

private:
    static void CheckPageFiles(CCheckContext& context);
    static void CheckImageNames(CCheckContext& context);
    static void CheckNesting(CCheckContext& context);
};
