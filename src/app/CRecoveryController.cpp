#include "app/CRecoveryController.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <chrono>
#include <unistd.h>

#include "app/CRecoveryDialog.h"
#include "model/CPagewellDoc.h"
#include "model/CProjectJson.h"
#include "platform/CArchive.h"
#include "platform/CWorkerThread.h"

namespace {

int64_t NowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace

CRecoveryController::CRecoveryController(CPagewellDoc& doc, std::string folder, QObject* pParent)
    : QObject(pParent)
    , m_doc(doc)
    , m_store(std::move(folder))
    , m_pWriter(std::make_unique<CWorkerThread>())
{
    m_doc.AddListener(this);
    m_ask = [](const CRecoveryStore::CEntry& entry) { return CRecoveryDialog::Ask(entry); };
    m_strKey = CurrentKey();
    m_sinceInput.start();
    // Typing is seen as key presses anywhere in the program.
    qApp->installEventFilter(this);
    connect(&m_timer, &QTimer::timeout, this, &CRecoveryController::Tick);
    m_timer.start(kTickMs);
}

CRecoveryController::~CRecoveryController()
{
    qApp->removeEventFilter(this);
    m_doc.RemoveListener(this);
    // The writer finishes what it was given.
    m_pWriter.reset();
}

bool CRecoveryController::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pEvent->type() == QEvent::KeyPress || pEvent->type() == QEvent::InputMethod)
        m_sinceInput.restart();
    return QObject::eventFilter(pWatched, pEvent);
}

std::string CRecoveryController::CurrentKey() const
{
    if (!m_doc.GetPathName().empty())
        return CRecoveryStore::KeyForProject(m_doc.GetPathName());
    return CRecoveryStore::KeyForUntitled(getpid(), m_nUntitled);
}

void CRecoveryController::Tick()
{
    if (!m_doc.IsModified())
        return;
    const uint64_t nChanges = m_doc.GetChangeCount();
    if (nChanges != m_nSeenChanges) {
        m_nSeenChanges = nChanges;
        m_sinceInput.restart();
        return;
    }
    // Never while the user types, nor while a dialog holds the program.
    if (nChanges == m_nWrittenChanges || m_sinceInput.elapsed() < kPauseMs
        || QApplication::activeModalWidget() != nullptr)
        return;
    WriteSnapshot();
}

void CRecoveryController::WriteSnapshot()
{
    QElapsedTimer took;
    took.start();
    if (m_storeEditors)
        m_storeEditors();
    CRecoveryStore::CEntry entry;
    entry.strKey = m_strKey;
    entry.strProject = m_doc.GetPathName();
    entry.bJson = m_doc.GetFormat() == CPagewellDoc::EFormat::Json;
    entry.nPid = getpid();
    entry.tWrittenNs = NowNs();
    // The archive form is the quickest copy of the document; a JSON project's
    // text is made from it on the writer's thread.
    // The last snapshot's buffer is used again once written: filling memory
    // already touched costs a third of filling new memory.
    if (m_pSnapshot == nullptr || !m_pWriter->IsDone(m_nLastJob)) {
        const size_t nLast = m_pSnapshot == nullptr ? 0 : m_pSnapshot->size();
        m_pSnapshot = std::make_shared<std::string>();
        m_pSnapshot->reserve(nLast);
    }
    m_pSnapshot->clear();
    CArchive ar(*m_pSnapshot);
    m_doc.Serialize(ar);
    std::shared_ptr<const std::string> pBytes = m_pSnapshot;
    m_nWrittenChanges = m_nSeenChanges = m_doc.GetChangeCount();
    m_nLastSnapshotMs = took.elapsed();
    m_bWroteKey = true;
    const CRecoveryStore* pStore = &m_store;
    m_nLastJob = m_pWriter->Post([pStore, entry, pBytes] {
        try {
            pStore->Write(entry, entry.bJson ? CProjectJson::ArchiveToText(*pBytes) : *pBytes);
        } catch (const CArchiveException&) {
            // Bytes just written by the document always read back; should
            // they not, the recovery written before stays.
        }
    });
    m_pWriter->Wake();
}

void CRecoveryController::Flush()
{
    if (m_doc.IsModified() && m_doc.GetChangeCount() != m_nWrittenChanges)
        WriteSnapshot();
    if (m_nLastJob != 0)
        m_pWriter->WaitFor(m_nLastJob, 0);
}

void CRecoveryController::RemoveOwn()
{
    m_pSnapshot.reset(); // no more unsaved work to hold
    if (!m_bWroteKey)
        return;
    const CRecoveryStore* pStore = &m_store;
    // In order after any write still under way, so none comes back.
    m_nLastJob = m_pWriter->Post([pStore, key = m_strKey] { pStore->Remove(key); });
    m_pWriter->Wake();
    m_bWroteKey = false;
}

void CRecoveryController::OnDocumentLoaded()
{
    // The project left behind was given up (saved, or "No" to saving).
    RemoveOwn();
    ++m_nUntitled;
    m_strKey = CurrentKey();
    m_nSeenChanges = m_nWrittenChanges = m_doc.GetChangeCount();
}

void CRecoveryController::OnDocumentSaved(bool /*bRecreated*/)
{
    // The recovery of the project as it was named goes, even one an earlier
    // run left and the user kept; later changes start one under the name
    // saved to.
    m_bWroteKey = true;
    RemoveOwn();
    m_strKey = CurrentKey();
    m_nSeenChanges = m_nWrittenChanges = m_doc.GetChangeCount();
}

void CRecoveryController::OnClosing()
{
    RemoveOwn();
    if (m_nLastJob != 0)
        m_pWriter->WaitFor(m_nLastJob, 0);
}

bool CRecoveryController::Apply(const CRecoveryStore::CEntry& entry, ERecoveryChoice choice)
{
    switch (choice) {
    case ERecoveryChoice::Recover: {
        CRecoveryStore::CEntry read;
        std::string bytes;
        if (!m_store.Read(entry.strKey, read, &bytes))
            return false;
        const auto format = read.bJson ? CPagewellDoc::EFormat::Json : CPagewellDoc::EFormat::Archive;
        if (!m_doc.OpenRecovered(bytes, format, read.strProject))
            return false;
        // The recovery is this run's now: it is rewritten as the user goes
        // on, and goes when the work is saved or given up.
        m_strKey = entry.strKey;
        m_bWroteKey = true;
        m_nSeenChanges = m_nWrittenChanges = m_doc.GetChangeCount();
        return true;
    }
    case ERecoveryChoice::OpenSaved:
        // The recovery stays until the next save: a second thought is possible.
        if (entry.strProject.empty())
            return false;
        return m_doc.GetPathName() == entry.strProject || (m_openProject && m_openProject(entry.strProject));
    case ERecoveryChoice::Discard:
        m_store.Remove(entry.strKey);
        return false;
    }
    return false;
}

bool CRecoveryController::OfferAtStart(const std::string& project)
{
    std::optional<CRecoveryStore::CEntry> offer;
    if (!project.empty()) {
        offer = m_store.FindOfferFor(project, getpid());
    } else {
        const auto offers = m_store.ListOffers(getpid());
        if (!offers.empty())
            offer = offers.front();
    }
    return offer && Apply(*offer, m_ask(*offer));
}

void CRecoveryController::OfferFor(const std::string& project)
{
    const auto offer = m_store.FindOfferFor(project, getpid());
    // Work this run wrote for the project is not from an earlier run.
    if (offer && !(m_bWroteKey && offer->strKey == m_strKey))
        Apply(*offer, m_ask(*offer));
}
