#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CString.h"
#include "platform/EFileError.h"

class CAtomicFile;
class CFile;

// The files and folders the core reads and writes. Everything goes through
// this interface so that tests can make any operation fail.
class CFileSystem {
public:
    virtual ~CFileSystem() = default;

    // Reads the whole file at path into contents. Only a regular file (or a
    // link to one) is read: a folder, device, FIFO or socket fails with
    // BadPath, as a file that cannot be opened, and is never read.
    virtual EFileError ReadFile(const std::string& path, std::string& contents);

    // Starts replacing the file at path atomically (see CAtomicFile): the new
    // file keeps the permissions of the one it replaces. Null with error set
    // when the temporary file cannot be created.
    virtual std::unique_ptr<CAtomicFile> CreateAtomic(const std::string& path, EFileError& error);
    // Replaces the file at path with data atomically, in one piece.
    EFileError WriteFileAtomic(const std::string& path, std::string_view data);
    // Starts replacing a generated file (a page, a copied image) atomically:
    // the temporary file, named kTempPrefix + a number in the same folder,
    // gets the ordinary permissions of a new file, and the commit renames it
    // without flushing it to the disk first (see CAtomicFile::ESync). Null
    // with error set when the temporary file cannot be created.
    virtual std::unique_ptr<CAtomicFile> CreateReplacement(const std::string& path, EFileError& error);
    // Deletes the temporary files of CreateReplacement that a killed run left
    // in folder; those of a process still running are kept.
    virtual void RemoveLeftovers(const std::string& folder);
    static constexpr std::string_view kTempPrefix = ".pagewell-tmp-";
    // A temporary name beside path, not given out before in this process:
    // its folder, kTempPrefix, the number of this process and a counter.
    static std::string NextTempPath(const std::string& path);

    // Opens a file for reading in blocks; null (with error set) when it cannot
    // be opened or is not a regular file (as ReadFile).
    virtual std::unique_ptr<CFile> OpenForRead(const std::string& path, EFileError& error);
    // Creates (or empties) a file for writing; null with error set on failure.
    virtual std::unique_ptr<CFile> CreateForWrite(const std::string& path, EFileError& error);
    // Deletes whatever file is at path and creates a new, empty one in its
    // place; null with error set on failure. An old file that cannot be
    // deleted is emptied and written instead, as creating a file always did.
    // Where no file was, this costs one system call, not two.
    virtual std::unique_ptr<CFile> ReplaceForWrite(const std::string& path, EFileError& error);
    // Deletes a file; NotFound when there was none.
    virtual EFileError RemoveFile(const std::string& path);
    // Whether anything (file or folder) exists at path.
    virtual bool Exists(const std::string& path);
    virtual bool IsDirectory(const std::string& path);
    // Whether path is a regular file (or a link to one): the only kind of
    // file the program reads or copies.
    virtual bool IsRegularFile(const std::string& path);
    // The absolute path of what path names, every link and "." or ".."
    // followed; empty when it does not exist.
    virtual std::string RealPath(const std::string& path);
    // Whether path is a regular file whose bytes are exactly bytes; false
    // when it cannot be read.
    virtual bool HasContent(const std::string& path, std::string_view bytes);
    // Whether two regular files hold the same bytes; false when either cannot
    // be read.
    virtual bool HaveSameContent(const std::string& path, const std::string& otherPath);
    // Whether new files can be made in folder (empty: the current folder).
    virtual bool CanCreateIn(const std::string& folder);
    // The names in a folder (without "." and ".."), in no particular order;
    // false when the folder cannot be read.
    virtual bool ListFolder(const std::string& path, std::vector<std::string>& names);

    // The real file system of the process.
    static CFileSystem& Real();

    static EFileError FromErrno(int error);
    // Opens path for reading when it is a regular file: its descriptor, or
    // -1 with error set (BadPath for any other kind of file).
    static int OpenRegular(const std::string& path, EFileError& error);
};
