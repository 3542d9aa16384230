#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "publisher/CPublishPlan.h"

class IRemoteFolder;

// How a publish is going, for a progress bar.
struct CPublishProgress {
    size_t nFilesDone = 0;
    size_t nFilesTotal = 0;
    uint64_t nBytesDone = 0;
    uint64_t nBytesTotal = 0;
    std::string strCurrent;
};

// What a publish tells as it goes; called on the publishing threads, one
// call at a time.
class IPublishListener {
public:
    enum class EAction { Sent, Replaced, Removed };
    virtual ~IPublishListener() = default;
    virtual void OnFileDone(EAction action, const std::string& name, uint64_t nBytes) = 0;
    virtual void OnProgress(const CPublishProgress& progress) = 0;
};

// Brings a remote folder up to date with a generated site: reads the
// folder's record and listing, makes the plan, then carries it out so that
// a visitor never sees a broken site. Images and other files go first, then
// pages, the home page last, the removals after them and the record at the
// end; every file goes to a temporary name and is renamed over the old one.
// Before anything is changed the record marks every file about to be sent
// or removed as pending (ours, contents unknown), and it is brought up to
// date as transfers complete: an interrupted publish leaves every remote
// file old or new, and the next one completes the site.
class CPublisher {
public:
    CPublisher(IRemoteFolder& folder, IPublishListener& listener);
    ~CPublisher();

    // Opens the folder, reads its record and listing, and makes the plan.
    bool Prepare(const std::vector<CLocalFile>& local, bool bOverwriteForeign, std::string& error);
    const CPublishPlan& GetPlan() const { return m_plan; }
    // Carries the plan out with up to nJobs transfers at a time; stops
    // within a moment when cancel is set. errors: one message per failure.
    bool Execute(int nJobs, const std::atomic<bool>& cancel, std::vector<std::string>& errors);

    // The home page's file name: sent after every other page.
    void SetHomePage(std::string name) { m_strHome = std::move(name); }

private:
    struct CWorkers;
    using CTask = std::function<bool(IRemoteFolder&, size_t, std::string&)>;
    // Runs task for indices 0..count-1 over the connections; false after a failure.
    bool RunPhase(size_t count, const CTask& task);
    // files: each with whether it replaces one of ours.
    bool SendFiles(const std::vector<std::pair<const CLocalFile*, bool>>& files);
    bool RemoveFiles();
    // Writes the record through folder when it changed since the last write.
    bool WriteRecord(IRemoteFolder& folder);
    // After a transfer: writes the record when enough was sent since.
    void MaybeWriteRecord(IRemoteFolder& folder);
    void Fail(const std::string& message);

    IRemoteFolder& m_folder;
    IPublishListener& m_listener;
    std::string m_strHome;
    CPublishPlan m_plan;

    // Shared by the transfer threads.
    std::mutex m_mutex;
    std::mutex m_recordMutex;
    CPublishedManifest m_record;
    uint64_t m_nRecordVersion = 0;
    uint64_t m_nWrittenVersion = 0;
    uint64_t m_nBytesSinceWrite = 0;
    size_t m_nRecordBytes = 0;
    CPublishProgress m_progress;
    const std::atomic<bool>* m_pCancel = nullptr;
    std::atomic<bool> m_bStop { false };
    std::vector<std::string>* m_pErrors = nullptr;
    std::unique_ptr<CWorkers> m_pWorkers;
};
