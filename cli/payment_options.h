#pragma once

#include <QDate>
#include <QString>

#include <optional>

// A date of the payment commands as typed: DD.MM.YYYY; std::nullopt when it is not one.
std::optional<QDate> parseCommandDate(const QString &text);
