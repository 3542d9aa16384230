#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CArchive;

// What the file system says of a path without reading it: whether something
// is there, its kind, size, identity and times. A file rewritten, replaced,
// renamed over, touched or given other permissions gets another stamp; a
// folder's stamp changes when entries are added or removed.
struct CFileStamp {
    bool bExists = false;
    uint32_t nMode = 0;
    uint64_t nSize = 0;
    uint64_t nDevice = 0;
    uint64_t nInode = 0;
    int64_t nModified = 0; // nanoseconds since 1970
    int64_t nChanged = 0; // of the inode (permissions, links), nanoseconds

    // The stamp of path, following links.
    static CFileStamp Of(const std::string& path);
    // The stamp of the file open as fd.
    static CFileStamp OfDescriptor(int fd);
    // The stamps of many paths, each as Of gives it, taken on two threads and
    // relative to each path's folder (a run's record stamps tens of
    // thousands of files of one folder).
    static std::vector<CFileStamp> OfAll(const std::vector<std::string>& paths);

    void Serialize(CArchive& ar);
    bool operator==(const CFileStamp&) const = default;
};
