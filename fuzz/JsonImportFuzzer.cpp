// Feeds arbitrary text to the JSON import: it must accept it or refuse it with
// a message, never crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/CConsoleUserInterface.h"
#include "model/CPagewellDoc.h"
#include "model/CProjectJson.h"
#include "platform/CArchive.h"

#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::ostringstream err;
    CConsoleUserInterface ui(err);
    CPagewellDoc doc(ui);
    try {
        const auto json = CProjectJson::Parse(std::string(reinterpret_cast<const char*>(data), size));
        CProjectJson::FromJson(json, doc);
    } catch (const nlohmann::json::exception&) {
        return 0;
    } catch (const CJsonFormatError&) {
        return 0;
    }
    std::string saved;
    CArchive out(saved);
    doc.Serialize(out);
    // The streamed export must be the document's own dump, byte for byte.
    std::ostringstream streamed;
    CProjectJson::WriteJson(doc, streamed);
    if (streamed.str() != CProjectJson::ToJson(doc).dump(2))
        std::abort();
    return 0;
}
