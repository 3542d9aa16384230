#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "checker/ICheck.h"
#include "model/CTreeItem.h"
#include "platform/CString.h"

// The templates of the project's set for every kind of object the site
// holds: files that cannot be read, and what the generator's own scanner
// reports in them (unknown macro names, syntax errors, assignments and
// conditionals it cannot carry out) and directives no "]" closes. Tells the
// context which image macros the templates use, so that it runs first.
class CTemplateCheck : public ICheck {
public:
    void Run(CCheckContext& context) override;

private:
    // hFirst: the first object of the type, to which an unreadable file is
    // charged (the generator reports it for every object of that type).
    static void CheckFile(
        CCheckContext& context, uint32_t type, const CString& path, HTREEITEM hFirst, size_t nObjects);
    static void ScanFile(
        CCheckContext& context, uint32_t type, const CString& path, const std::string& contents);
};
