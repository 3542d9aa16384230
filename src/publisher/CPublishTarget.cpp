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

// A host name of this machine: plain http to it is allowed.
bool IsLoopback(std::string_view host)
{
    return host == "localhost" || host.ends_with(".localhost") || host == "::1" || host.starts_with("127.");
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

// The endpoint of object storage: http(s)://host[:port], nothing after it.
bool ParseEndpoint(std::string_view endpoint, CPublishTarget& target, std::string& error)
{
    while (endpoint.ends_with('/'))
        endpoint.remove_suffix(1);
    const bool bHttps = endpoint.starts_with("https://");
    if (!bHttps && !endpoint.starts_with("http://")) {
        error = "the endpoint must start with https:// (or http:// for a server on this computer)";
        return false;
    }
    const std::string_view authority = endpoint.substr(bHttps ? 8 : 7);
    CPublishTarget parsed;
    parsed.nPort = bHttps ? 443 : 80;
    if (authority.find_first_of("/?#@") != std::string_view::npos
        || !ParseAuthority(authority, parsed, error)) {
        error = "the endpoint must be an address such as https://host or https://host:port, nothing more";
        return false;
    }
    if (!bHttps && !IsLoopback(parsed.strHost)) {
        error = "a plain http:// endpoint is allowed only for a server on this computer: use https://";
        return false;
    }
    target.strHost = parsed.strHost;
    target.nPort = parsed.nPort;
    target.strEndpoint = std::string(endpoint);
    return true;
}

// The options after "?": endpoint, region, profile, style.
bool ParseS3Options(std::string_view query, CPublishTarget& target, std::string& error)
{
    std::string endpoint;
    while (!query.empty()) {
        const size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
        const size_t eq = pair.find('=');
        const std::string_view key = pair.substr(0, eq);
        std::string value;
        if (eq == std::string_view::npos || !Decode(pair.substr(eq + 1), value)) {
            error = "the option '" + std::string(key) + "' of the address has no valid value";
            return false;
        }
        if (key == "endpoint")
            endpoint = value;
        else if (key == "region")
            target.strRegion = value;
        else if (key == "profile")
            target.strProfile = value;
        else if (key == "style" && (value == "path" || value == "virtual"))
            target.bPathStyle = value == "path";
        else {
            error = "unknown option '" + std::string(pair)
                + "' in the address: endpoint=, region=, profile= and style=path are known";
            return false;
        }
    }
    if (target.strRegion.empty())
        target.strRegion = "us-east-1";
    if (target.strRegion.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789-") != std::string::npos) {
        error = "the region must be a name such as eu-central-1";
        return false;
    }
    if (endpoint.empty())
        endpoint = "https://s3." + target.strRegion + ".amazonaws.com";
    return ParseEndpoint(endpoint, target, error);
}

bool ParseS3(std::string_view rest, CPublishTarget& target, std::string& error)
{
    const size_t question = rest.find('?');
    const std::string_view location = rest.substr(0, question);
    const size_t slash = location.find('/');
    target.strBucket = std::string(location.substr(0, slash));
    // Bucket names: lowercase letters, digits, dots and hyphens.
    if (target.strBucket.size() < 3 || target.strBucket.size() > 63
        || target.strBucket.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789.-")
            != std::string::npos) {
        error = "the bucket of the address must be 3 to 63 lowercase letters, digits, dots or hyphens";
        return false;
    }
    std::string prefix;
    if (!Decode(slash == std::string_view::npos ? "" : location.substr(slash + 1), prefix)) {
        error = "the prefix of the address is not valid";
        return false;
    }
    while (prefix.ends_with('/'))
        prefix.pop_back();
    if (prefix.starts_with('/') || prefix.find("//") != std::string::npos
        || ("/" + prefix + "/").find("/../") != std::string::npos
        || ("/" + prefix + "/").find("/./") != std::string::npos) {
        error = "the prefix of the address must be folder names separated by single slashes";
        return false;
    }
    target.strPrefix = prefix;
    target.strPath = "/" + prefix;
    return ParseS3Options(question == std::string_view::npos ? "" : rest.substr(question + 1), target, error);
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
    const size_t schemeEnd = url.find("://");
    const std::string_view scheme = url.substr(0, schemeEnd);
    if (scheme == "s3") {
        target.eScheme = EScheme::S3;
        return ParseS3(url.substr(5), target, error);
    }
    if (scheme == "sftp")
        target.eScheme = EScheme::Sftp;
    else if (scheme == "ftp" || scheme == "ftps") {
        target.eScheme = scheme == "ftp" ? EScheme::Ftp : EScheme::Ftps;
        target.nPort = 21;
    } else {
        error = "the address must start with sftp://, ftps://, ftp://, s3:// or file://";
        return false;
    }
    const std::string_view rest = url.substr(schemeEnd + 3);
    const size_t slash = rest.find('/');
    if (!ParseAuthority(rest.substr(0, slash), target, error))
        return false;
    if (!Decode(slash == std::string_view::npos ? "/" : rest.substr(slash), path)) {
        error = "the folder of the address is not valid";
        return false;
    }
    // sftp://host/~/www/ is www under the login folder.
    if (target.eScheme == EScheme::Sftp && (path == "/~" || path.starts_with("/~/")))
        path = path.size() <= 3 ? "." : path.substr(3);
    target.strPath = TrimSlashes(path);
    return true;
}

std::string CPublishTarget::HostAndPort() const
{
    const bool bBrackets = strHost.find(':') != std::string::npos;
    return (bBrackets ? "[" + strHost + "]" : strHost) + ":" + std::to_string(nPort);
}

std::string CPublishTarget::GetWarning() const
{
    if (eScheme == EScheme::Ftp)
        return "plain FTP: the password and the files travel unencrypted (use ftps:// where the host offers "
               "it)";
    if (eScheme == EScheme::S3 && strEndpoint.starts_with("http://"))
        return "plain http: the files travel unencrypted (allowed for a server on this computer only)";
    return {};
}

std::string CPublishTarget::KnownHostsName() const
{
    return nPort == 22 ? strHost : "[" + strHost + "]:" + std::to_string(nPort);
}

std::string CPublishTarget::Describe() const
{
    if (eScheme == EScheme::S3)
        return "s3://" + strBucket + (strPrefix.empty() ? "" : "/" + strPrefix);
    return eScheme == EScheme::File ? strPath : strHost + ":" + strPath;
}
