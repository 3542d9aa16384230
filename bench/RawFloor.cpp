// The raw floor of a site generator: writes one file per line of SIZES (a
// byte count) into FOLDER with open, write and close, and nothing else.
//
//   bench-floor SIZES FOLDER
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench-floor SIZES FOLDER\n");
        return 2;
    }
    std::vector<size_t> sizes;
    std::ifstream in(argv[1]);
    size_t largest = 0;
    for (size_t size = 0; in >> size;) {
        sizes.push_back(size);
        largest = std::max(largest, size);
    }
    const std::string contents(largest, 'x');
    const std::string folder = argv[2];
    for (size_t i = 0; i < sizes.size(); ++i) {
        const std::string path = folder + "/f" + std::to_string(i) + ".htm";
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd < 0 || ::write(fd, contents.data(), sizes[i]) != static_cast<ssize_t>(sizes[i])
            || ::close(fd) != 0) {
            std::perror(path.c_str());
            return 1;
        }
    }
    return 0;
}
