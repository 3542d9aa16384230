#pragma once

#include "platform/CString.h"

class CCopyList;
class CGenerationRun;

// Copies the images of a run flat into the destination, each to the
// destination + "/" + the part of its path after the last separator (that
// part lowered when lowercase is set), in blocks of 512 bytes. Failures are
// logged and the copy goes on with the next file; a source outside the
// workspace (CPathRules::IsInsideWorkspace) is refused with a message box.
class CFileCopier {
public:
    static constexpr size_t kBlockSize = 512;

    explicit CFileCopier(CGenerationRun& run)
        : m_run(run)
    { }

    void CopyFiles(const CCopyList& copyList, const CString& destination);

private:
    void CopyFile(const CString& source, const CString& destination);

    CGenerationRun& m_run;
};
