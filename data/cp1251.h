#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <string_view>

// The database stores text as single-byte Windows-1251; these are the only places where
// text crosses between that form and QString.
namespace cp1251 {

QString decode(std::string_view bytes);

// std::nullopt when the text holds a character that Windows-1251 cannot store.
std::optional<QByteArray> encode(const QString &text);

// The characters of the text that Windows-1251 cannot store, each once, in order.
QString unencodable(const QString &text);

} // namespace cp1251
