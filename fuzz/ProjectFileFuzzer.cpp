// Feeds arbitrary bytes to the project file reader: it must fail cleanly
// ("Unexpected file format.") or load, never crash or over-allocate, and a
// loaded project must save again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "model/CPagewellDoc.h"
#include "platform/CArchive.h"
#include "platform/CSilentUserInterface.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CSilentUserInterface ui;
    CPagewellDoc doc(ui);
    CArchive in(std::string_view(reinterpret_cast<const char*>(data), size));
    try {
        doc.Serialize(in);
    } catch (const CArchiveException&) {
        return 0;
    }
    std::string saved;
    CArchive out(saved);
    doc.Serialize(out);
    return 0;
}
