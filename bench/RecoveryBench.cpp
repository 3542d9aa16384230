// What keeping a recovery of unsaved work costs on a large project:
//
//   pagewell-recovery-bench [PAGES]
//
// fills a synthetic site of PAGES pages (default 10,000) and reports, for
// each form of the project file, the time of the snapshot (the archive
// form, made on the window's thread) and, on the recovery's own thread, of
// making the bytes Save would write from it and writing them to a recovery
// file, each the median of 9 runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "SyntheticSite.h"
#include "model/CPagewellDoc.h"
#include "model/CProjectJson.h"
#include "platform/CArchive.h"
#include "platform/CRecoveryStore.h"
#include "platform/CSilentUserInterface.h"

namespace {

template <typename F> double MedianMs(F&& f)
{
    std::vector<double> times;
    for (int i = 0; i < 9; ++i) {
        const auto start = std::chrono::steady_clock::now();
        f();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    const size_t nPages = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 10000;
    CSilentUserInterface ui;
    CPagewellDoc doc(ui);
    CSyntheticSite(nPages).Fill(doc);
    char folder[] = "/tmp/pagewell-recovery-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr)
        return 1;
    const CRecoveryStore store(std::string(folder) + "/recovery");
    for (const char* name : { "site.pwl", "site.json" }) {
        const std::string path = std::string(folder) + "/" + name;
        if (!doc.DoFileSaveAs(path))
            return 1;
        // As the window does it: the archive form on its thread, the file's
        // own form (JSON made from the archive) and the write on the other.
        // The first snapshot fills new memory; later ones reuse its buffer, as
        // the window does once the last one is written.
        std::string snapshot;
        const double first = MedianMs([&] {
            std::string fresh;
            CArchive ar(fresh);
            doc.Serialize(ar);
            snapshot = std::move(fresh);
        });
        const double took = MedianMs([&] {
            snapshot.clear();
            CArchive ar(snapshot);
            doc.Serialize(ar);
        });
        const bool bJson = doc.GetFormat() == CPagewellDoc::EFormat::Json;
        std::string bytes;
        const double convert
            = MedianMs([&] { bytes = bJson ? CProjectJson::ArchiveToText(snapshot) : snapshot; });
        if (bytes != doc.MakeFileBytes())
            return 1;
        CRecoveryStore::CEntry entry { CRecoveryStore::KeyForProject(path), path, bJson, getpid(), 1 };
        const double write = MedianMs([&] { store.Write(entry, bytes); });
        std::printf("%-10s %zu pages, %8zu bytes: snapshot %5.1f ms, the first %5.1f ms (window's thread); "
                    "own thread: form %6.1f ms, write %6.1f ms\n",
            name, nPages, bytes.size(), took, first, convert, write);
        store.Remove(entry.strKey);
        unlink(path.c_str());
    }
    rmdir((std::string(folder) + "/recovery").c_str());
    rmdir(folder);
    return 0;
}
