#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "generator/COutputManifest.h"
#include "model/CTreeItem.h"
#include "platform/CAtomicFile.h"
#include "platform/CString.h"
#include "platform/CWorkerThread.h"

class CGenerationRun;

// Writes the page files of a run: the destination + "/" + tag + extension,
// holding the page as CPageRenderer makes it, replacing the old file
// atomically.
//
// The disk's work runs on a thread of its own while the run's thread expands
// the next page: the files of the next pages are looked at (or made) ahead,
// and each page is compared and committed behind. When that thread is behind,
// the run's thread takes some of its work: it makes the next page's file
// and writes a new page into it itself (only the commits keep the page
// order; an unnamed file is seen by no one before). The user sees nothing of
// it: the results come back to the run's thread in page order, and every
// message of the run waits until the pages before it are done (Drain), so
// messages and log read exactly as if one page were written after the other.
class CPageWriter {
public:
    explicit CPageWriter(CGenerationRun& run)
        : m_run(run)
    { }
    ~CPageWriter();
    CPageWriter(const CPageWriter&) = delete;
    CPageWriter& operator=(const CPageWriter&) = delete;

    // Starts looking at the file of a page that CreatePage will write later
    // (pages are looked ahead in the order they are written).
    void LookAhead(HTREEITEM hItem);
    void CreatePage(HTREEITEM hItem);
    // Waits for every page given so far and reports each one's result.
    void Drain();
    // Waits for the thread's work and forgets the results: the run is ending
    // on an error of its own.
    void Abandon();

    // The page file's path as the log shows it.
    static CString GetPagePath(const CString& destination, const CString& fileName);

private:
    // What the thread found or made for a page file before the page is
    // expanded: an old regular file to compare with first, or the new file.
    struct CPrepared {
        bool bOldFile = false;
        std::unique_ptr<CAtomicFile> pFile;
    };
    // A page whose file the thread is to look at. Whichever thread claims it
    // first does: the run's thread, when it needs the file before the page
    // thread (behind with its writes) got to it. The claimant fills in
    // prepared (or pError); the run's thread reads it once that is done.
    // Shared with the job, which may come after the run's thread is done.
    struct CAhead {
        HTREEITEM hItem = nullptr;
        std::string native;
        bool bCompareFirst = false;
        uint64_t nJob = 0;
        std::atomic<bool> bClaimed { false };
        CPrepared prepared;
        std::exception_ptr pError;
    };
    // A page given to the thread to write, and what the run's thread reports
    // once it is done: whether the file is in the destination as this run
    // made it.
    struct CBehind {
        uint64_t nJob = 0;
        bool bWritten = false;
        std::exception_ptr pError;
        CString path;
        CString fileName;
        int64_t tStamp = 0;
        std::string native;
        CFileStamp committedStamp;
        // Whether the file was written (or found as the page would be), and
        // the digest of the page where it counts.
        bool bReplaced = false;
        bool bNeedsDigest = false;
        std::optional<COutputManifest::CDigest> digest;
    };

    CWorkerThread& GetWorker();
    CPrepared Prepare(const std::string& native, bool bCompareFirst);
    // The file of the next page, looked at by whichever thread came first.
    CPrepared TakePrepared();
    // Reports the result of the oldest page given to the thread.
    void TakeOldest();
    // Forgets the pages looked at ahead.
    void ClearAhead();
    bool Finish(CPrepared prepared, const CString& text, bool bWritten, CBehind& behind);
    // Whether the thread has many jobs still to run.
    bool IsThreadBehind();
    void ReportUnableToOpen(const CString& path);

    CGenerationRun& m_run;
    std::deque<std::shared_ptr<CAhead>> m_ahead;
    std::deque<CBehind> m_behind;
    bool m_bTaking = false;
    uint64_t m_nLastJob = 0;
    std::optional<CWorkerThread> m_worker;
};
