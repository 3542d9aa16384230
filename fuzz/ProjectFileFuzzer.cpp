// Feeds arbitrary bytes to the project file reader: it must fail cleanly
// ("Unexpected file format.") or load, never crash or over-allocate, and a
// loaded project must save again. The bytes are read twice, from memory and
// from a file read in pieces; both readings must agree.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

#include "model/CPagewellDoc.h"
#include "platform/CArchive.h"
#include "platform/CClock.h"
#include "platform/CFile.h"
#include "platform/CSilentUserInterface.h"

namespace {

// The project saved again after loading it from ar, or nothing when the
// data is not a project.
bool LoadAndSave(CArchive& ar, std::string& saved)
{
    CSilentUserInterface ui;
    CPagewellDoc doc(ui);
    try {
        doc.Serialize(ar);
    } catch (const CArchiveException&) {
        return false;
    }
    CArchive out(saved);
    doc.Serialize(out);
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // One time for both readings: loading expires banners against the clock.
    const CClock::CScopedFake fixedTime(1700000000);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CArchive inMemory(bytes);
    std::string fromMemory;
    const bool bLoadedFromMemory = LoadAndSave(inMemory, fromMemory);

    const int fd = ::memfd_create("project", 0);
    if (fd < 0 || ::write(fd, data, size) != static_cast<ssize_t>(size) || ::lseek(fd, 0, SEEK_SET) != 0)
        std::abort();
    CFile file(fd);
    CArchive inFile(file, CArchive::EMode::Load);
    std::string fromFile;
    const bool bLoadedFromFile = LoadAndSave(inFile, fromFile);
    if (bLoadedFromMemory != bLoadedFromFile || fromMemory != fromFile)
        std::abort();
    return 0;
}
