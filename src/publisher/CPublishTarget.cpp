#include "publisher/CPublishTarget.h"

#include <charconv>

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// %XX decoded; false for a bad escape or a control character (NUL
// included) in the result.
bool Decode(std::string_view text, std::string& decoded)
{
    decoded.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '%') {
            const int high = i + 2 < text.size() ? HexDigit(text[i + 1]) : -1;
            const int low = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
            if (high < 0 || low < 0)
                return false;
            c = static_cast<char>(high * 16 + low);
            i += 2;
        }
        if (static_cast<unsigned char>(c) < ' ' || c == '\x7f')
            return false;
        decoded += c;
    }
    return true;
}

std::string TrimSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

bool ParseAuthority(std::string_view authority, CPublishTarget& target, std::string& error)
{
    if (const size_t at = authority.rfind('@'); at != std::string_view::npos) {
        const std::string_view user = authority.substr(0, at);
        if (user.find(':') != std::string_view::npos) {
            error = "the address holds a password: leave it out, Pagewell asks for it when needed";
            return false;
        }
        if (!Decode(user, target.strUser) || target.strUser.empty()) {
            error = "the user name of the address is not valid";
            return false;
        }
        authority = authority.substr(at + 1);
    }
    std::string_view host = authority;
    std::string_view port;
    if (host.starts_with('[')) {
        const size_t close = host.find(']');
        if (close == std::string_view::npos) {
            error = "the host of the address is not valid";
            return false;
        }
        port = host.substr(close + 1);
        host = host.substr(1, close - 1);
        if (!port.empty() && !port.starts_with(':')) {
            error = "the host of the address is not valid";
            return false;
        }
        port = port.empty() ? port : port.substr(1);
    } else if (const size_t colon = host.rfind(':'); colon != std::string_view::npos) {
        port = host.substr(colon + 1);
        host = host.substr(0, colon);
    }
    if (host.empty() || host.find_first_of(" /\\") != std::string_view::npos
        || !Decode(host, target.strHost)) {
        error = "the address names no host";
        return false;
    }
    if (!port.empty()) {
        const auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), target.nPort);
        if (ec != std::errc() || end != port.data() + port.size() || target.nPort < 1
            || target.nPort > 65535) {
            error = "the port of the address must be a number from 1 to 65535";
            return false;
        }
    }
    return true;
}

} // namespace

bool CPublishTarget::Parse(std::string_view url, CPublishTarget& target, std::string& error)
{
    target = CPublishTarget();
    target.strUrl = std::string(url);
    std::string path;
    if (url.starts_with("file://")) {
        target.eScheme = EScheme::File;
        const std::string_view rest = url.substr(7);
        if (!rest.starts_with('/')) {
            error = "a file address names an absolute folder: file:///path/to/folder/";
            return false;
        }
        if (!Decode(rest, path)) {
            error = "the folder of the address is not valid";
            return false;
        }
        target.strPath = TrimSlashes(path);
        return true;
    }
    if (!url.starts_with("sftp://")) {
        error = "the address must start with sftp:// or file://";
        return false;
    }
    target.eScheme = EScheme::Sftp;
    const std::string_view rest = url.substr(7);
    const size_t slash = rest.find('/');
    if (!ParseAuthority(rest.substr(0, slash), target, error))
        return false;
    if (!Decode(slash == std::string_view::npos ? "/" : rest.substr(slash), path)) {
        error = "the folder of the address is not valid";
        return false;
    }
    // sftp://host/~/www/ is www under the login folder.
    if (path == "/~" || path.starts_with("/~/"))
        path = path.size() <= 3 ? "." : path.substr(3);
    target.strPath = TrimSlashes(path);
    return true;
}

std::string CPublishTarget::KnownHostsName() const
{
    return nPort == 22 ? strHost : "[" + strHost + "]:" + std::to_string(nPort);
}

std::string CPublishTarget::Describe() const
{
    return eScheme == EScheme::File ? strPath : strHost + ":" + strPath;
}
