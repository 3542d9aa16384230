// The benchmark's helper program:
//
//   pagewell-bench make N FOLDER
//       writes FOLDER/bench.pwl (the synthetic site of N pages, saved by the
//       program's own project file code) and FOLDER/hugo (the same site for
//       Hugo), and prints the shape of the tree.
//   pagewell-bench pwl-io FILE REPEATS
//       times loading and saving the project FILE against reading and
//       writing the same bytes with plain file I/O; prints medians in ms.
//   pagewell-bench search N WORD REPEATS
//       builds the synthetic site of N pages in memory and times finding
//       WORD in the tags, titles and texts of all objects, as Edit > Find
//       does it, in four ways (ignoring case or not, whole words or not);
//       prints the median of each in ms.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <vector>

#include "SyntheticSite.h"
#include "model/CNode.h"
#include "model/CPagewellDoc.h"
#include "platform/CArchive.h"
#include "platform/CSilentUserInterface.h"
#include "search/CSiteSearch.h"

namespace {

// Shows the run's message boxes on standard error and nothing else.
class CBenchUserInterface : public CSilentUserInterface {
public:
    int MessageBox(
        const CString& text, const CString& caption, EMessageIcon icon, EMessageButtons buttons) override
    {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        return CSilentUserInterface::MessageBox(text, caption, icon, buttons);
    }
};

int Make(size_t nPages, const std::string& folder)
{
    const CSyntheticSite site(nPages);
    CBenchUserInterface ui;
    CPagewellDoc doc(ui);
    site.Fill(doc);
    doc.m_dlgGenerate.m_strDestination = "out";
    if (!doc.DoFileSaveAs(folder + "/bench.pwl"))
        return 1;
    site.WriteHugoSite(folder + "/hugo");
    std::printf("%zu pages, %zu objects, %zu child pages per page, %d levels below the root\n", nPages,
        doc.m_tree.GetCount(), site.GetBranching(), site.GetDepth());
    return 0;
}

double Milliseconds(const std::function<bool()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    if (!work()) {
        std::fprintf(stderr, "operation failed\n");
        std::exit(1);
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double CpuMilliseconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

bool PlainRead(const std::string& path, std::string& data)
{
    const int fd = ::open(path.c_str(), O_RDONLY);
    struct stat info { };
    if (fd < 0 || ::fstat(fd, &info) != 0)
        return false;
    data.resize(static_cast<size_t>(info.st_size));
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t got = ::read(fd, data.data() + done, data.size() - done);
        if (got <= 0)
            break;
        done += static_cast<size_t>(got);
    }
    return ::close(fd) == 0 && done == data.size();
}

bool PlainWrite(const std::string& path, const std::string& data, bool bSync)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0)
        return false;
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t put = ::write(fd, data.data() + done, data.size() - done);
        if (put <= 0)
            break;
        done += static_cast<size_t>(put);
    }
    if (bSync && ::fsync(fd) != 0)
        return false;
    return ::close(fd) == 0 && done == data.size();
}

int PwlIo(const std::string& path, int repeats)
{
    CBenchUserInterface ui;
    std::string bytes;
    if (!PlainRead(path, bytes))
        return 1;
    const std::string copy = path + ".copy";
    const std::string saved = path + ".saved";
    std::vector<double> load, read, save, write, writeSync;
    size_t objects = 0;
    for (int r = 0; r < repeats; ++r) {
        std::string data;
        read.push_back(Milliseconds([&] { return PlainRead(path, data); }));
        {
            CPagewellDoc doc(ui);
            load.push_back(Milliseconds([&] { return doc.DoFileOpen(path); }));
            objects = doc.m_tree.GetCount();
            save.push_back(Milliseconds([&] { return doc.DoFileSaveAs(saved); }));
        }
        write.push_back(Milliseconds([&] { return PlainWrite(copy, bytes, false); }));
        writeSync.push_back(Milliseconds([&] { return PlainWrite(copy, bytes, true); }));
    }
    std::string check;
    if (!PlainRead(saved, check) || check != bytes) {
        std::fprintf(stderr, "the saved project differs from the loaded one\n");
        return 1;
    }
    ::unlink(copy.c_str());
    ::unlink(saved.c_str());
    // One line: objects bytes load read save write write+fsync (medians, ms).
    std::printf("%zu %zu %.2f %.2f %.2f %.2f %.2f\n", objects, bytes.size(), Median(load), Median(read),
        Median(save), Median(write), Median(writeSync));
    return 0;
}

int Search(size_t nPages, const std::string& word, int repeats)
{
    const CSyntheticSite site(nPages);
    CBenchUserInterface ui;
    CPagewellDoc doc(ui);
    site.Fill(doc);
    std::size_t nBytes = 0;
    for (HTREEITEM h = doc.m_tree.GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h))
        nBytes += h->GetLabel().size() + h->GetNode()->m_strTitle.size() + h->GetNode()->m_strText.size();
    std::printf("%zu objects, %zu bytes of tags, titles and texts\n", doc.m_tree.GetCount(), nBytes);
    for (const bool bMatchCase : { false, true }) {
        for (const bool bWholeWords : { false, true }) {
            CSearchOptions options;
            options.strFind = word;
            options.bMatchCase = bMatchCase;
            options.bWholeWords = bWholeWords;
            std::vector<double> times, cpuTimes;
            size_t nTotal = 0;
            for (int r = 0; r < repeats; ++r) {
                const double cpuStart = CpuMilliseconds();
                times.push_back(Milliseconds([&] {
                    CSiteSearch(doc.m_tree, options).FindAll(0, nTotal);
                    return true;
                }));
                cpuTimes.push_back(CpuMilliseconds() - cpuStart);
            }
            // The CPU time is what the search costs on a machine of its own;
            // the wall time also holds the waits on a shared one.
            std::printf(
                "\"%s\" %-11s %-11s %6zu matches  median %6.1f ms CPU, %6.1f ms wall (min %.1f wall)\n",
                word.c_str(), bMatchCase ? "match case" : "any case",
                bWholeWords ? "whole words" : "anywhere", nTotal, Median(cpuTimes), Median(times),
                *std::min_element(times.begin(), times.end()));
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "make")
        return Make(std::stoul(args[1]), args[2]);
    if (args.size() == 3 && args[0] == "pwl-io")
        return PwlIo(args[1], std::stoi(args[2]));
    if (args.size() == 4 && args[0] == "search")
        return Search(std::stoul(args[1]), args[2], std::stoi(args[3]));
    std::fprintf(
        stderr, "usage: pagewell-bench make N FOLDER | pwl-io FILE REPEATS | search N WORD REPEATS\n");
    return 2;
}
