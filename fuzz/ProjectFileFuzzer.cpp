// Feeds arbitrary bytes to the project file reader: it must fail cleanly
// ("Unexpected file format.") or load, never crash or over-allocate, and a
// loaded project must save again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "model/CPagewellDoc.h"
#include "platform/CArchive.h"
#include "platform/IUserInterface.h"

namespace {

class CSilentUserInterface : public IUserInterface {
public:
    int MessageBox(const CString&, const CString&, EMessageIcon, EMessageButtons) override { return IDOK; }
    void Beep(EBeep) override { }
    int DoModal(CDialogRecord&) override { return IDOK; }
    bool PromptSavePath(std::string&) override { return false; }
    void SetProgressRange(int, int) override { }
    void SetProgressPos(int) override { }
    void StepProgress() override { }
    void SetStatusText(EStatusLine, const CString&) override { }
};

} // namespace

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
