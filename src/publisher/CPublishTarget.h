#pragma once

#include <string>
#include <string_view>

// Where a site is published, read from the `publish` site setting:
// sftp://[user@]host[:port]/path/ (a path under the login folder as
// sftp://host/~/path/) or file:///path/. A password in the address is
// refused: it would be kept in the project.
class CPublishTarget {
public:
    enum class EScheme { Sftp, File };

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

    // "host" or "[host]:port" as known_hosts and ssh-keygen -R name it.
    std::string KnownHostsName() const;
    // The folder as a message names it: "host:/path" or "/path".
    std::string Describe() const;
};
