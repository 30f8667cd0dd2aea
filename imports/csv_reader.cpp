#include "csv_reader.h"

#include "text_decoding.h"

#include <QFile>
#include <QFileInfo>

#include <array>

namespace csv {
namespace {

// Files larger than this are not tables a small business keeps.
constexpr qint64 kMaxFileBytes = 512LL * 1024 * 1024;

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r';
}

// Splits the text into records of fields, keeping to the limits.
class Parser {
public:
    Parser(const QString &text, QChar separator) : m_text(text), m_separator(separator) {}

    QString run(std::vector<QStringList> &records)
    {
        qsizetype i = 0;
        const qsizetype n = m_text.size();
        while (i < n) {
            const qsizetype recordStart = i;
            QStringList fields;
            QString field;
            bool quoted = false, fieldStarted = false;
            for (;;) {
                if (i - recordStart > kMaxRecordChars)
                    return QStringLiteral("Строка %1 длиннее 10 МБ: это не таблица, которую можно "
                                          "импортировать.")
                        .arg(records.size() + 1);
                if (i >= n) {
                    if (quoted)
                        return QStringLiteral("В строке %1 кавычка открыта и не закрыта до конца "
                                              "файла.")
                            .arg(records.size() + 1);
                    break;
                }
                const QChar c = m_text[i];
                if (quoted) {
                    if (c == u'"') {
                        if (i + 1 < n && m_text[i + 1] == u'"') {
                            field += u'"';
                            i += 2;
                            continue;
                        }
                        quoted = false;
                    } else {
                        field += c;
                    }
                    ++i;
                    continue;
                }
                if (c == u'"' && !fieldStarted) {
                    quoted = fieldStarted = true;
                    ++i;
                    continue;
                }
                if (c == m_separator) {
                    fields.append(std::exchange(field, QString()));
                    fieldStarted = false;
                    if (fields.size() > kMaxColumns)
                        return QStringLiteral("В строке %1 больше %2 столбцов: это не таблица, "
                                              "которую можно импортировать.")
                            .arg(records.size() + 1)
                            .arg(kMaxColumns);
                    ++i;
                    continue;
                }
                if (isLineBreak(c)) {
                    i += (c == u'\r' && i + 1 < n && m_text[i + 1] == u'\n') ? 2 : 1;
                    break;
                }
                field += c;
                fieldStarted = true;
                ++i;
            }
            fields.append(field);
            const bool blank = fields.size() == 1 && fields.front().trimmed().isEmpty();
            if (!blank)
                records.push_back(std::move(fields));
        }
        return {};
    }

private:
    const QString &m_text;
    QChar m_separator;
};

} // namespace

QChar detectSeparator(const QString &text)
{
    constexpr std::array<char16_t, 3> candidates = {u';', u'\t', u','};
    std::array<int, 3> counts{};
    bool quoted = false;
    for (qsizetype i = 0; i < text.size() && i < kMaxRecordChars; ++i) {
        const QChar c = text[i];
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && isLineBreak(c))
            break;
        else if (!quoted) {
            for (size_t k = 0; k < candidates.size(); ++k)
                counts[k] += c == candidates[k] ? 1 : 0;
        }
    }
    size_t best = 0;
    for (size_t k = 1; k < candidates.size(); ++k) {
        if (counts[k] > counts[best])
            best = k;
    }
    return QChar(candidates[best]);
}

TableRead readText(const QString &text)
{
    TableRead read;
    std::vector<QStringList> records;
    read.error = Parser(text, detectSeparator(text)).run(records);
    if (!read.ok())
        return read;
    if (records.empty()) {
        read.error = QStringLiteral("Файл пуст: в нём нет ни заголовка, ни строк.");
        return read;
    }
    if (records.size() == 1) {
        read.error = QStringLiteral("В файле только заголовок, строк с данными нет.");
        return read;
    }
    read.table.header = records.front();
    for (QString &title : read.table.header)
        title = title.trimmed();
    read.table.rows.assign(std::make_move_iterator(records.begin() + 1),
                           std::make_move_iterator(records.end()));
    return read;
}

TableRead readBytes(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return {{}, QStringLiteral("Файл пуст: в нём нет ни заголовка, ни строк.")};
    DecodedText decoded = decodeTableText(bytes);
    if (!decoded.error.isEmpty())
        return {{}, decoded.error};
    TableRead read = readText(decoded.text);
    read.table.encoding = decoded.encoding;
    return read;
}

TableRead readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, QStringLiteral("Не удалось открыть файл %1: %2").arg(path, file.errorString())};
    if (file.size() > kMaxFileBytes)
        return {{},
                QStringLiteral("Файл %1 слишком велик для импорта (больше 512 МБ).")
                    .arg(QFileInfo(path).fileName())};
    return readBytes(file.readAll());
}

} // namespace csv
