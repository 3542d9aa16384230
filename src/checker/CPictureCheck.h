#pragma once

#include <unordered_set>

#include "checker/ICheck.h"
#include "model/CTreeItem.h"
#include "platform/CString.h"

class CCheckContext;

// The pictures a run publishes, looked at as it would publish them: one of
// more than 1 MB (after conversion, with modern markup), one named in
// another letter case than its file (found here, missing on a web server),
// and, where metadata is kept, one that tells where it was taken. Each
// picture is reported once, at the first object naming it.
class CPictureCheck : public ICheck {
public:
    static constexpr size_t kMaxBytes = 1'000'000;

    void Run(CCheckContext& context) override;

private:
    void CheckPicture(HTREEITEM hItem, const CString& path, bool bBody);
    void CheckLetterCase(HTREEITEM hItem, const CString& path, const std::string& native);
    // The bytes the run would publish for the picture.
    std::string GetPublished(const CString& path, const std::string& bytes, bool bBody) const;

    CCheckContext* m_pContext = nullptr;
    std::unordered_set<CString> m_seen;
};
