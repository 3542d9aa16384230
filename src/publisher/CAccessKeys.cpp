#include "publisher/CAccessKeys.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::string_view Trim(std::string_view text)
{
    const size_t start = text.find_first_not_of(" \t\r");
    if (start == std::string_view::npos)
        return {};
    return text.substr(start, text.find_last_not_of(" \t\r") - start + 1);
}

std::string Environment(const char* pszName)
{
    const char* pValue = std::getenv(pszName);
    return pValue != nullptr ? pValue : "";
}

} // namespace

std::string CAccessKeys::CredentialsFilePath()
{
    if (std::string path = Environment("AWS_SHARED_CREDENTIALS_FILE"); !path.empty())
        return path;
    return Environment("HOME") + "/.aws/credentials";
}

std::optional<CAccessKey> CAccessKeys::FromCredentialsFile(std::string_view text, std::string_view profile)
{
    CAccessKey key;
    bool bInProfile = false;
    while (!text.empty()) {
        const size_t lf = text.find('\n');
        const std::string_view line = Trim(text.substr(0, lf));
        text = lf == std::string_view::npos ? std::string_view() : text.substr(lf + 1);
        if (line.starts_with('[') && line.ends_with(']')) {
            bInProfile = Trim(line.substr(1, line.size() - 2)) == profile;
            continue;
        }
        const size_t eq = line.find('=');
        if (!bInProfile || eq == std::string_view::npos || line.starts_with('#') || line.starts_with(';'))
            continue;
        const std::string_view name = Trim(line.substr(0, eq));
        const std::string value(Trim(line.substr(eq + 1)));
        if (name == "aws_access_key_id")
            key.strKeyId = value;
        else if (name == "aws_secret_access_key")
            key.strSecret = value;
        else if (name == "aws_session_token")
            key.strSessionToken = value;
    }
    if (key.strKeyId.empty() || key.strSecret.empty())
        return std::nullopt;
    return key;
}

std::optional<CAccessKey> CAccessKeys::Find(const std::string& profile, std::string& source)
{
    if (profile.empty()) {
        CAccessKey key { Environment("AWS_ACCESS_KEY_ID"), Environment("AWS_SECRET_ACCESS_KEY"),
            Environment("AWS_SESSION_TOKEN") };
        if (!key.strKeyId.empty() && !key.strSecret.empty()) {
            source = "AWS_ACCESS_KEY_ID";
            return key;
        }
    }
    const std::string path = CredentialsFilePath();
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    const std::string name = profile.empty() ? "default" : profile;
    auto key = FromCredentialsFile(text.str(), name);
    if (key)
        source = "the profile " + name + " of " + path;
    return key;
}
