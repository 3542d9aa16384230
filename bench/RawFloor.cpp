// The raw floor of a site generator: writes one file per line of SIZES (a
// byte count) into FOLDER with open, write and close, and nothing else.
//
//   bench-floor SIZES FOLDER
//   bench-floor --atomic SIZES FOLDER
//
// With --atomic, each file is written the way a run must write a page so
// that a killed run leaves no page cut short: as an unnamed file of FOLDER
// (O_TMPFILE), then linked in under its name, on as many threads as the
// machine has cores: what writing pages that way costs without making them.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

bool WriteAll(int fd, const std::string& contents, size_t size)
{
    return fd >= 0 && ::write(fd, contents.data(), size) == static_cast<ssize_t>(size);
}

bool WritePlain(const std::string& path, const std::string& contents, size_t size)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    return WriteAll(fd, contents, size) && ::close(fd) == 0;
}

bool WriteUnnamedAndLink(int folder, const std::string& name, const std::string& contents, size_t size)
{
    const int fd = ::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    return WriteAll(fd, contents, size) && ::linkat(fd, "", folder, name.c_str(), AT_EMPTY_PATH) == 0
        && ::close(fd) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    const bool bAtomic = argc == 4 && std::strcmp(argv[1], "--atomic") == 0;
    if (argc != 3 && !bAtomic) {
        std::fprintf(stderr, "usage: bench-floor [--atomic] SIZES FOLDER\n");
        return 2;
    }
    std::vector<size_t> sizes;
    std::ifstream in(argv[argc - 2]);
    size_t largest = 0;
    for (size_t size = 0; in >> size;) {
        sizes.push_back(size);
        largest = std::max(largest, size);
    }
    const std::string contents(largest, 'x');
    const std::string folder = argv[argc - 1];
    if (!bAtomic) {
        for (size_t i = 0; i < sizes.size(); ++i) {
            const std::string path = folder + "/f" + std::to_string(i) + ".htm";
            if (!WritePlain(path, contents, sizes[i])) {
                std::perror(path.c_str());
                return 1;
            }
        }
        return 0;
    }
    const int folderFd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) {
        std::perror(folder.c_str());
        return 1;
    }
    std::atomic<size_t> next { 0 };
    std::atomic<bool> bFailed { false };
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < std::max(1U, std::thread::hardware_concurrency()); ++t)
        threads.emplace_back([&] {
            for (size_t i; (i = next++) < sizes.size() && !bFailed;) {
                const std::string name = "f" + std::to_string(i) + ".htm";
                if (!WriteUnnamedAndLink(folderFd, name, contents, sizes[i])) {
                    std::perror(name.c_str());
                    bFailed = true;
                }
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    return bFailed ? 1 : 0;
}
