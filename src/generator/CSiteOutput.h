#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "generator/COutputManifest.h"
#include "generator/CSitemapWriter.h"
#include "model/CTreeItem.h"
#include "platform/CString.h"

class CGenerationRun;

// What one run puts into the destination besides its log: which files it
// meant to write and which it wrote (or found already there, byte for byte),
// the publishing files (sitemap, feed, robots.txt), the list of our own
// files kept in the destination, and the clean-up of the files an earlier
// run wrote that this one no longer does (only those still as written).
class CSiteOutput {
public:
    explicit CSiteOutput(CGenerationRun& run)
        : m_run(run)
    { }

    // Whether a destination (native path) is the workspace (the current
    // folder) or lies in one of the folders a run reads (templates, images,
    // lineimages, bullets, background): pages and copies there would mix
    // with the sources, and a clean run could take a source for a page.
    static bool IsAmongSources(const std::string& destination);

    // Reads the list of the last run's files and whether unchanged files can
    // be left alone (the destination accepts new files).
    void Start();
    // Whether a file that may be unchanged is compared before it is made:
    // only where making it could not fail in a way the user would be told.
    bool CompareFirst() const { return m_bCompareFirst; }
    // Whether a file of that name (as on the disk) may be in the destination
    // already: one listed at the start, or any when the folder could not be
    // listed. Saves looking up every new page's name in a new folder; a
    // file that appears later is still replaced atomically.
    bool MayHold(const std::string& name) const;

    // A file name (as on the disk) the run means to write into the destination.
    void Want(std::string_view name);
    using CDigest = COutputManifest::CDigest;
    // The file is in the destination as this run made it: bWritten when the
    // run wrote it (digest of what it wrote), otherwise found there already
    // with those bytes. A file found there is ours only when the last list
    // had it as ours with the same bytes: the user's copy of a page or image
    // stays the user's. No digest: found there, and not ours.
    void Produced(std::string_view name, const std::optional<CDigest>& digest, bool bWritten);
    // Whether a file of that name found there needs its digest: the last
    // list has it with one (to be compared).
    bool NeedsDigest(std::string_view name) const;
    // The digest of a file's bytes; none when it cannot be read or holds
    // more than nMaxSize bytes.
    std::optional<CDigest> ReadDigest(const std::string& path, uint64_t nMaxSize = UINT64_MAX);
    // A page file is in the destination: the sitemap lists it.
    void ProducedPage(std::string_view name, const CString& fileName, int64_t tStamp,
        const std::optional<CDigest>& digest, bool bWritten);

    // Writes the publishing files when a base URL is set, removes the last
    // run's files this one did not write when bClean, and updates the list.
    void Finish(bool bClean);

    // The files this run wrote or found already equal, by their names on the disk.
    const COutputManifest& GetProduced() const { return m_produced; }
    // Takes them from the record of an identical run.
    void Replay(const std::vector<std::string>& produced)
    {
        for (const std::string& name : produced)
            m_produced.Add(name);
    }

    // The sitemap, robots.txt (when bRobots) and feed a run with a base URL
    // writes, as (file name, bytes), for the pages given in site order.
    static std::vector<std::pair<CString, std::string>> MakePublishFiles(
        CGenerationRun& run, const std::vector<CSitemapWriter::CPage>& pages, bool bRobots);

    // Writes bytes to the file name of the destination unless it holds them
    // already; reports a failure like a page that cannot be created.
    void WriteFile(const CString& fileName, std::string_view bytes);

private:
    void WritePublishFiles();
    void RemoveStale();
    // Whether the file of the destination still holds what entry says.
    bool StillHolds(const COutputManifest::CEntry& entry);
    void WriteManifest(bool bClean);
    std::string GetNativePath(std::string_view name) const;

    CGenerationRun& m_run;
    bool m_bCompareFirst = false;
    bool m_bListed = false;
    std::unordered_set<std::string> m_existing;
    COutputManifest m_last;
    // Names only: every file the run meant to write, and every file it
    // wrote or found already there as it would write it.
    COutputManifest m_wanted;
    COutputManifest m_produced;
    // The files that are ours, with what they hold.
    COutputManifest m_ours;
    std::vector<CSitemapWriter::CPage> m_pages;
};
