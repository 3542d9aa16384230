#pragma once

#include <optional>
#include <string>

// The questions a publish may have to ask the user while it connects: the
// window asks them in a dialog, the command line answers from its options,
// the environment or the terminal. Called on the publishing thread.
class IPublishPrompt {
public:
    virtual ~IPublishPrompt() = default;

    // A host whose key known_hosts does not hold: true to trust the key (it
    // is then remembered there). host as known_hosts names it.
    virtual bool AcceptHostKey(const std::string& host, const std::string& fingerprint) = 0;
    // The password of account (user@host); nothing when the user declines.
    // bRetry: the last one given was refused.
    virtual std::optional<std::string> AskPassword(const std::string& account, bool bRetry) = 0;
};
