#include "publisher/CPublisher.h"

#include <thread>

#include "publisher/IRemoteFolder.h"

namespace {

// Where a file goes in the order: other files, pages, the home page.
int RankOf(const std::string& name, const std::string& home)
{
    if (name == home)
        return 2;
    return name.ends_with(".htm") || name.ends_with(".html") ? 1 : 0;
}

// The record is written again after this many bytes were sent, or eight
// times its own size when larger, so that it costs little of a large publish.
constexpr uint64_t kRecordEveryBytes = uint64_t { 4 } << 20;

} // namespace

// The extra connections of a publish, opened when first needed and kept
// from one phase to the next.
struct CPublisher::CWorkers {
    int nJobs = 1;
    std::vector<std::unique_ptr<IRemoteFolder>> folders;
};

CPublisher::CPublisher(IRemoteFolder& folder, IPublishListener& listener)
    : m_folder(folder)
    , m_listener(listener)
    , m_pWorkers(std::make_unique<CWorkers>())
{ }

CPublisher::~CPublisher() = default;

bool CPublisher::Prepare(const std::vector<CLocalFile>& local, bool bOverwriteForeign, std::string& error)
{
    std::vector<CRemoteEntry> listing;
    if (!m_folder.Open(error) || !m_folder.List(listing, error))
        return false;
    CPublishedManifest record;
    for (const CRemoteEntry& entry : listing) {
        if (entry.strName != CPublishedManifest::kFileName)
            continue;
        std::string text;
        if (entry.kind != CRemoteEntry::EKind::File) {
            error = std::string(CPublishedManifest::kFileName)
                + " on the server is not a file; nothing was changed";
            return false;
        }
        if (!m_folder.Read(entry.strName, text, error) || !CPublishedManifest::Parse(text, record, error))
            return false;
    }
    return CPublishPlan::Make(local, record, listing, bOverwriteForeign, m_plan, error);
}

void CPublisher::Fail(const std::string& message)
{
    std::lock_guard lock(m_mutex);
    if (!m_bStop.exchange(true) || m_pErrors->empty())
        m_pErrors->push_back(message);
}

bool CPublisher::WriteRecord(IRemoteFolder& folder)
{
    std::lock_guard writing(m_recordMutex);
    std::string text;
    uint64_t version = 0;
    {
        std::lock_guard lock(m_mutex);
        if (m_nRecordVersion == m_nWrittenVersion)
            return true;
        text = m_record.Format();
        version = m_nRecordVersion;
        m_nBytesSinceWrite = 0;
    }
    std::string error;
    if (!folder.PutBytes(text, CPublishedManifest::kFileName, error)) {
        Fail(error);
        return false;
    }
    m_nWrittenVersion = version;
    m_nRecordBytes = text.size();
    return true;
}

void CPublisher::MaybeWriteRecord(IRemoteFolder& folder)
{
    bool bDue = false;
    {
        std::lock_guard lock(m_mutex);
        bDue = m_nBytesSinceWrite >= std::max<uint64_t>(kRecordEveryBytes, uint64_t { 8 } * m_nRecordBytes);
    }
    if (bDue)
        WriteRecord(folder);
}

bool CPublisher::RunPhase(size_t count, const CTask& task)
{
    std::atomic<size_t> next { 0 };
    const auto work = [&](IRemoteFolder& folder) {
        std::string error;
        while (!m_bStop && !*m_pCancel) {
            const size_t index = next++;
            if (index >= count)
                break;
            if (!task(folder, index, error)) {
                if (!*m_pCancel)
                    Fail(error);
                break;
            }
        }
    };
    CWorkers& workers = *m_pWorkers;
    const size_t extra = std::min<size_t>(static_cast<size_t>(workers.nJobs - 1), count > 0 ? count - 1 : 0);
    workers.folders.resize(std::max(workers.folders.size(), extra));
    std::vector<std::thread> threads;
    for (size_t i = 0; i < extra; ++i) {
        threads.emplace_back([&, i] {
            std::unique_ptr<IRemoteFolder>& pFolder = workers.folders[i];
            std::string error;
            // A connection that cannot be opened leaves its share to the others.
            if (pFolder == nullptr) {
                auto pNew = m_folder.Clone();
                if (!pNew->Open(error))
                    return;
                pFolder = std::move(pNew);
            }
            work(*pFolder);
        });
    }
    work(m_folder);
    for (std::thread& thread : threads)
        thread.join();
    return !m_bStop && !*m_pCancel;
}

bool CPublisher::SendFiles(const std::vector<std::pair<const CLocalFile*, bool>>& files)
{
    return RunPhase(files.size(), [&](IRemoteFolder& folder, size_t index, std::string& error) {
        const auto& [pFile, bReplace] = files[index];
        {
            std::lock_guard lock(m_mutex);
            m_progress.strCurrent = pFile->strName;
            m_listener.OnProgress(m_progress);
        }
        if (!folder.Put(pFile->strPath, pFile->strName, *m_pCancel, error))
            return false;
        {
            std::lock_guard lock(m_mutex);
            m_record.m_entries[pFile->strName] = { pFile->nSize, pFile->strHash };
            ++m_nRecordVersion;
            m_nBytesSinceWrite += pFile->nSize;
            ++m_progress.nFilesDone;
            m_progress.nBytesDone += pFile->nSize;
            m_listener.OnFileDone(
                bReplace ? IPublishListener::EAction::Replaced : IPublishListener::EAction::Sent,
                pFile->strName, pFile->nSize);
            m_listener.OnProgress(m_progress);
        }
        MaybeWriteRecord(folder);
        return true;
    });
}

bool CPublisher::RemoveFiles()
{
    return RunPhase(m_plan.m_remove.size(), [&](IRemoteFolder& folder, size_t index, std::string& error) {
        const std::string& name = m_plan.m_remove[index];
        if (!folder.Remove(name, error))
            return false;
        std::lock_guard lock(m_mutex);
        m_record.m_entries.erase(name);
        ++m_nRecordVersion;
        ++m_progress.nFilesDone;
        m_listener.OnFileDone(IPublishListener::EAction::Removed, name, 0);
        m_listener.OnProgress(m_progress);
        return true;
    });
}

bool CPublisher::Execute(int nJobs, const std::atomic<bool>& cancel, std::vector<std::string>& errors)
{
    m_pCancel = &cancel;
    m_pErrors = &errors;
    m_bStop = false;
    m_pWorkers->nJobs = std::max(1, nJobs);
    if (m_plan.IsEmpty())
        return true;
    m_record = m_plan.m_record;
    std::vector<std::pair<const CLocalFile*, bool>> phases[3];
    for (const CLocalFile& file : m_plan.m_send)
        phases[RankOf(file.strName, m_strHome)].emplace_back(&file, false);
    for (const CLocalFile& file : m_plan.m_replace)
        phases[RankOf(file.strName, m_strHome)].emplace_back(&file, true);
    // Every name about to change is ours from now on, whatever happens next.
    for (const auto& phase : phases) {
        for (const auto& entry : phase)
            m_record.m_entries[entry.first->strName] = {};
    }
    for (const std::string& name : m_plan.m_remove)
        m_record.m_entries[name] = {};
    m_progress = CPublishProgress();
    m_progress.nFilesTotal = m_plan.m_send.size() + m_plan.m_replace.size() + m_plan.m_remove.size();
    m_progress.nBytesTotal = CPublishPlan::BytesOf(m_plan.m_send) + CPublishPlan::BytesOf(m_plan.m_replace);
    m_listener.OnProgress(m_progress);
    ++m_nRecordVersion;
    if (!WriteRecord(m_folder))
        return false;
    for (const std::string& name : m_plan.m_leftovers) {
        std::string ignored;
        m_folder.Remove(name, ignored);
    }
    bool bOk = true;
    for (const auto& phase : phases) {
        bOk = bOk && SendFiles(phase) && WriteRecord(m_folder);
    }
    bOk = bOk && RemoveFiles();
    // What completed is recorded even after a failure (when the folder can
    // still be reached); the files that did not stay pending.
    const bool bRecorded = WriteRecord(m_folder);
    return bOk && bRecorded && !cancel;
}
