#include "cli/ProjectInput.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "generator/CSiteOutput.h"
#include "model/CPagewellDoc.h"
#include "platform/CCodePage.h"
#include "platform/CFileSystem.h"
#include "platform/CPathRules.h"

bool HoldsJson(const std::string& path)
{
    // Only a regular file is looked into: a FIFO or a device would block the
    // read for ever. What is not one is left to the document to refuse.
    EFileError error = EFileError::None;
    const int fd = CFileSystem::OpenRegular(path, error);
    if (fd < 0)
        return false;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(::fdopen(fd, "rb"), &std::fclose);
    if (file == nullptr) {
        ::close(fd);
        return false;
    }
    // A project file may start with '{' (the author's length), so only a
    // whole JSON text counts; the test stops at the first byte that is not
    // JSON, so a project file is not read through.
    int first = std::fgetc(file.get());
    while (first == ' ' || first == '\t' || first == '\n' || first == '\r')
        first = std::fgetc(file.get());
    constexpr int kByteOrderMarkStart = 0xEF;
    if (first != '{' && first != '[' && first != kByteOrderMarkStart)
        return false;
    std::ungetc(first, file.get());
    return nlohmann::json::accept(file.get());
}

bool OpenProjectArgument(
    CPagewellDoc& doc, const std::string& path, const std::string& command, std::ostream& err)
{
    if (CFileSystem::Real().Exists(path) && !CFileSystem::Real().IsRegularFile(path)) {
        err << "pagewell-cli: " << command << ": " << path << " is not a regular file\n";
        return false;
    }
    // The document reads either form, its archive or its JSON text.
    return doc.DoFileOpen(path);
}

bool MakeDestinationFolder(const CString& destination, const std::string& command, std::ostream& err)
{
    const std::string folder = CPathRules::ToNative(destination);
    if (folder.empty() || CSiteOutput::IsAmongSources(folder))
        return true;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        err << "pagewell-cli: " << command << ": cannot create the folder " << CCodePage::ToUtf8(destination)
            << ": " << error.message() << "\n";
        return false;
    }
    return true;
}
