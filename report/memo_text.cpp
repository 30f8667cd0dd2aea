#include "memo_text.h"

namespace zreport {

void expressionDelimiters(const QString &stored, QString *open, QString *close)
{
    const qsizetype comma = stored.indexOf(QLatin1Char(','));
    *open = comma < 0 ? stored : stored.left(comma);
    *close = comma < 0 ? QString() : stored.mid(comma + 1);
    if (open->isEmpty())
        *open = QStringLiteral("[");
    if (close->isEmpty())
        *close = QStringLiteral("]");
}

// The end of the bracket that opens at `start`: the index of its closing delimiter, or -1.
static qsizetype bracketEnd(const QString &text, qsizetype start, const QString &open,
                            const QString &close)
{
    int depth = 0;
    bool inDouble = false, inSingle = false;
    qsizetype i = start;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('"') && !inSingle) {
            inDouble = !inDouble;
        } else if (c == QLatin1Char('\'') && !inDouble) {
            inSingle = !inSingle;
        } else if (!inDouble && !inSingle) {
            if (QStringView(text).mid(i).startsWith(open)) {
                ++depth;
                i += open.size();
                continue;
            }
            if (QStringView(text).mid(i).startsWith(close)) {
                --depth;
                if (depth == 0)
                    return i;
                i += close.size();
                continue;
            }
        }
        ++i;
    }
    return -1;
}

static MemoSegment expressionSegment(const QString &expression)
{
    MemoSegment segment;
    segment.isExpression = true;
    segment.text = expression;
    const qsizetype hash = expression.lastIndexOf(QLatin1String(" #"));
    if (hash < 0 || hash + 2 >= expression.size())
        return segment;
    const QString rest = expression.mid(hash + 2);
    if (rest.contains(QLatin1Char(')')))
        return segment;
    DisplayFormat format;
    switch (rest.at(0).toUpper().unicode()) {
    case 'N':
        format.kind = FormatKind::fkNumeric;
        break;
    case 'D':
    case 'T':
        format.kind = FormatKind::fkDateTime;
        break;
    case 'B':
        format.kind = FormatKind::fkBoolean;
        break;
    default:
        return segment;
    }
    format.formatStr = rest.mid(1);
    if (format.kind == FormatKind::fkNumeric) {
        for (qsizetype i = 0; i < format.formatStr.size(); ++i) {
            const QChar c = format.formatStr.at(i);
            if (c == QLatin1Char(',') || c == QLatin1Char('-') || c == QLatin1Char('.')) {
                format.decimalSeparator = c;
                format.formatStr[i] = QLatin1Char('.');
                break;
            }
        }
    }
    segment.text = expression.left(hash);
    segment.formatOverride = format;
    return segment;
}

std::vector<MemoSegment> splitBrackets(const QString &text, const QString &open,
                                       const QString &close)
{
    std::vector<MemoSegment> segments;
    QString literal;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype start = text.indexOf(open, i);
        if (start < 0 || start + open.size() >= text.size()) {
            literal += QStringView(text).mid(i);
            break;
        }
        literal += QStringView(text).mid(i, start - i);
        const qsizetype end = bracketEnd(text, start, open, close);
        const qsizetype exprStart = start + open.size();
        if (!literal.isEmpty()) {
            segments.push_back({literal, false, std::nullopt});
            literal.clear();
        }
        if (end < 0) {
            segments.push_back(expressionSegment(text.mid(exprStart)));
            i = text.size();
        } else {
            segments.push_back(expressionSegment(text.mid(exprStart, end - exprStart)));
            i = end + close.size();
        }
    }
    if (!literal.isEmpty())
        segments.push_back({literal, false, std::nullopt});
    return segments;
}

QStringList textParagraphs(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines << text.mid(start, i - start);
            if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
        ++i;
    }
    if (start < n)
        lines << text.mid(start);
    return lines;
}

} // namespace zreport
