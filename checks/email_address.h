#pragma once

#include <QString>

#include <optional>

// Why a typed e-mail address cannot be sent to, or nothing when it looks like one
// ("name@example.kz"). Only the shape is checked: whether the mailbox exists only its server
// knows. Addresses with letters outside Latin ones are refused, as most servers refuse them.
std::optional<QString> emailAddressProblem(const QString &address);
