#pragma once

#include "app/password_store.h"

#include <map>

// A keyring of the test's own; `available` false stands for a desktop without one.
class FakeKeyring : public PasswordStore {
public:
    std::optional<QString> read(const QString &key) override
    {
        const auto found = kept.find(key);
        if (!available || found == kept.end())
            return std::nullopt;
        return found->second;
    }
    bool write(const QString &key, const QString &password) override
    {
        if (available)
            kept[key] = password;
        return available;
    }
    void remove(const QString &key) override { kept.erase(key); }

    bool available = true;
    std::map<QString, QString> kept;
};
