#pragma once

#include <QString>

#include <optional>

// Where a server's password may be remembered. The program keeps it in the desktop's keyring
// and nowhere else; tests give a store of their own.
class PasswordStore {
public:
    virtual ~PasswordStore() = default;
    // nullopt when none is kept under `key` or there is no keyring to ask.
    virtual std::optional<QString> read(const QString &key) = 0;
    // False when it could not be kept (no keyring on this desktop).
    virtual bool write(const QString &key, const QString &password) = 0;
    virtual void remove(const QString &key) = 0;
};

// The desktop's keyring (Secret Service, KWallet), never a plain file in its stead.
class KeyringPasswordStore : public PasswordStore {
public:
    std::optional<QString> read(const QString &key) override;
    bool write(const QString &key, const QString &password) override;
    void remove(const QString &key) override;
};

// The key of a user's password for one server database.
QString passwordKey(const QString &location, const QString &user);
