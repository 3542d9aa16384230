#pragma once

#include <optional>

#include <QString>

// The secrets of publishing in the desktop's keyring (through QtKeychain,
// never a file of ours), one entry for each target, named by the target's
// address, which never holds a secret. Each call waits for the keyring's
// answer in an event loop of its own; GUI thread only.
class CPublishKeyring {
public:
    static constexpr const char* kService = "Pagewell publishing";

    // The secret kept for target; nothing when none is kept or the keyring
    // cannot be reached (then problem says why).
    static std::optional<QString> Read(const QString& target, QString& problem);
    // False with the reason when the keyring did not keep it.
    static bool Write(const QString& target, const QString& secret, QString& problem);
    // Whether an entry was there and is gone now; problem says why not when
    // the keyring could not be asked.
    static bool Remove(const QString& target, QString& problem);

    // An access key of object storage as one secret: the key's id, then the
    // secret key, on a line each.
    static QString JoinAccessKey(const QString& keyId, const QString& secret);
    static bool SplitAccessKey(const QString& joined, QString& keyId, QString& secret);
};
