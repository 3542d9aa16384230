// Feeds arbitrary text to the JSON import: it must accept it or refuse it with
// a message, never crash.
#include <cstddef>
#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/CConsoleUserInterface.h"
#include "cli/CProjectJson.h"
#include "model/CPagewellDoc.h"
#include "platform/CArchive.h"

#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::ostringstream err;
    CConsoleUserInterface ui(err);
    CPagewellDoc doc(ui);
    try {
        const auto json
            = nlohmann::ordered_json::parse(std::string(reinterpret_cast<const char*>(data), size));
        CProjectJson::FromJson(json, doc);
    } catch (const nlohmann::json::exception&) {
        return 0;
    } catch (const CJsonFormatError&) {
        return 0;
    }
    std::string saved;
    CArchive out(saved);
    doc.Serialize(out);
    (void)CProjectJson::ToJson(doc).dump();
    return 0;
}
