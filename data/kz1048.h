#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <string_view>

// The database stores text in the single-byte KZ-1048 (STRK 1048-2002): Windows-1251 with the
// Kazakh letters in sixteen of its places, so that Russian text reads the same in both and
// Kazakh names can be kept. These are the only places where text crosses between that form
// and QString.
namespace kz1048 {

QString decode(std::string_view bytes);

// std::nullopt when the text holds a character that KZ-1048 cannot store.
std::optional<QByteArray> encode(const QString &text);

// The characters of the text that KZ-1048 cannot store, each once, in order.
QString unencodable(const QString &text);

} // namespace kz1048

// "Текст поля «Наименование» содержит символы, которые нельзя сохранить в базе данных: €":
// the message that refuses text the database cannot hold, naming the field as the user knows it.
QString unstorableText(const QString &fieldCaption, const QString &text);
