#include "cli/ProjectInput.h"

#include <fstream>

#include <nlohmann/json.hpp>

#include "model/CPagewellDoc.h"

bool HoldsJson(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    // A project file may start with '{' (the author's length), so only a
    // whole JSON text counts; the test stops at the first byte that is not
    // JSON, so a project file is not read through.
    in >> std::ws;
    const int first = in.peek();
    constexpr int kByteOrderMarkStart = 0xEF;
    if (first != '{' && first != '[' && first != kByteOrderMarkStart)
        return false;
    return nlohmann::json::accept(in);
}

bool OpenProjectArgument(
    CPagewellDoc& doc, const std::string& path, const std::string& command, std::ostream& err)
{
    if (HoldsJson(path)) {
        err << "pagewell-cli " << command << ": " << path
            << " holds JSON, not a project file; make a project of it first with\n"
               "  pagewell-cli import "
            << path << " PROJECT.pwl\n";
        return false;
    }
    return doc.DoFileOpen(path);
}
