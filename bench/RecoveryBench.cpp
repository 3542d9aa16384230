// What keeping a recovery of unsaved work costs on a large project:
//
//   pagewell-recovery-bench [PAGES]
//
// fills a synthetic site of PAGES pages (default 10,000) and reports, for
// each form of the project file, the time of the snapshot (the bytes Save
// would write, made on the window's thread) and of writing it to a recovery
// file (on the recovery's own thread), each the median of 9 runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "SyntheticSite.h"
#include "model/CPagewellDoc.h"
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
        std::string bytes;
        const double snapshot = MedianMs([&] { bytes = doc.MakeFileBytes(); });
        CRecoveryStore::CEntry entry { CRecoveryStore::KeyForProject(path), path, false, getpid(), 1 };
        const double write = MedianMs([&] { store.Write(entry, bytes); });
        std::printf(
            "%-10s %zu pages, %8zu bytes: snapshot %7.1f ms (window's thread), write %7.1f ms (own thread)\n",
            name, nPages, bytes.size(), snapshot, write);
        store.Remove(entry.strKey);
        unlink(path.c_str());
    }
    rmdir((std::string(folder) + "/recovery").c_str());
    rmdir(folder);
    return 0;
}
