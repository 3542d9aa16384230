#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "publisher/IPublishPrompt.h"

// Where the access key of object storage comes from when the window's
// keyring or the user does not give it: with a profile named in the
// address, that profile of the shared credentials file; otherwise the
// environment (AWS_ACCESS_KEY_ID, AWS_SECRET_ACCESS_KEY and
// AWS_SESSION_TOKEN), then the file's "default" profile. The file is
// $AWS_SHARED_CREDENTIALS_FILE, or ~/.aws/credentials.
class CAccessKeys {
public:
    // None when no source holds a key; source names where it came from.
    static std::optional<CAccessKey> Find(const std::string& profile, std::string& source);
    // The key of profile in the text of a credentials file.
    static std::optional<CAccessKey> FromCredentialsFile(std::string_view text, std::string_view profile);
    static std::string CredentialsFilePath();
};
