#pragma once

#include <string>
#include <string_view>

// Where a site is published, read from the `publish` site setting:
// sftp://[user@]host[:port]/path/ (a path under the login folder as
// sftp://host/~/path/), ftps:// or ftp://[user@]host[:port]/path/ (the
// path from the folder the account starts in), s3://bucket/prefix/?options
// or file:///path/. A password in the address is refused: it would be kept
// in the project.
class CPublishTarget {
public:
    enum class EScheme { Sftp, File, Ftp, Ftps, S3 };

    // False with the reason in error.
    static bool Parse(std::string_view url, CPublishTarget& target, std::string& error);

    EScheme eScheme = EScheme::File;
    std::string strUser;
    std::string strHost;
    int nPort = 22;
    // Decoded; absolute, or relative to the login folder (SFTP only); without
    // a trailing slash except for the root.
    std::string strPath;
    std::string strUrl;

    // Object storage: the bucket, the prefix (no slash at either end, may be
    // empty), the endpoint ("https://host[:port]"), the region, the profile
    // of ~/.aws/credentials (empty: the environment, then "default") and
    // path-style addressing (bucket in the path, not in the host name).
    std::string strBucket;
    std::string strPrefix;
    std::string strEndpoint;
    std::string strRegion;
    std::string strProfile;
    bool bPathStyle = false;

    bool IsFtp() const { return eScheme == EScheme::Ftp || eScheme == EScheme::Ftps; }
    // What the user must know before sending anything there (a plain
    // connection); empty when nothing.
    std::string GetWarning() const;

    // "host:port" (or "[host]:port") as the remembered certificates name it.
    std::string HostAndPort() const;
    // "host" or "[host]:port" as known_hosts and ssh-keygen -R name it.
    std::string KnownHostsName() const;
    // The folder as a message names it: "host:/path" or "/path".
    std::string Describe() const;
};
