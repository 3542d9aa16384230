#pragma once

#include <atomic>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "generator/CPictureCache.h"
#include "generator/CPictureProcessor.h"
#include "platform/CString.h"

class CGenerationRun;

// The pictures a run with modern markup publishes itself: those its body
// texts name from the images folder (found before the pages are written,
// converted on every core, their img elements completed as the pages are
// written) and the JPEG, PNG and WebP files of the copy list. Their files go
// into the destination through the run's output (written only when changed,
// each replacing the old one whole, listed as the run's own).
class CSitePictures {
public:
    explicit CSitePictures(CGenerationRun& run)
        : m_run(run)
    { }

    void SetCacheFolder(std::string folder) { m_cache = CPictureCache(std::move(folder)); }
    CPictureOptions GetOptions(bool bVariants) const;

    // Finds the body texts' pictures and converts them (or takes them from
    // the cache).
    void PrepareBodyPictures();
    // The body text with its img elements completed.
    CString RewriteBodyText(const CString& text);
    void BeginPage() { m_nPagePictures = 0; }
    // Writes the body texts' pictures into the destination.
    void WriteBodyPictures();

    // The size a file of the workspace (as a property names it) shows at
    // when published: none when it is no picture or cannot be read.
    std::optional<std::pair<int, int>> GetShownSize(const CString& path);
    // Publishes copy-list pictures (workspace path, destination name) as
    // converted files of their own names.
    void PublishCopies(const std::vector<std::pair<CString, CString>>& copies);

    // How many pictures this run converted (none taken from the cache).
    size_t GetConvertedCount() const { return m_nConverted; }

private:
    struct CJob {
        CString strSource; // the workspace path
        CString strName; // the published name
        bool bVariants = false;
        std::optional<CPicture> picture;
        CString strError;
        bool bConverted = false;
    };
    void RunJobs(std::vector<CJob>& jobs);
    void RunJob(CJob& job);
    void WriteJob(const CJob& job);
    CString PublishedName(const CString& name) const;

    CGenerationRun& m_run;
    CPictureCache m_cache;
    std::vector<CJob> m_bodyJobs;
    // Each body image name's job.
    std::unordered_map<CString, size_t> m_bodyIndex;
    std::map<CString, std::optional<std::pair<int, int>>> m_sizes;
    int m_nPagePictures = 0;
    std::atomic<size_t> m_nConverted { 0 };
};
