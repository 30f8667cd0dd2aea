#include "property_values.h"

#include "report_units.h"

#include <QRegularExpression>

#include <cmath>

namespace zreport {

std::optional<double> parseNumber(const QString &text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<double> parseLength(const QString &text)
{
    const QString t = text.trimmed();
    if (t.endsWith(QLatin1String("mm"), Qt::CaseInsensitive)) {
        const auto mm = parseNumber(t.chopped(2));
        if (!mm)
            return std::nullopt;
        return mmToUnits(*mm);
    }
    return parseNumber(t);
}

std::optional<int> parseInteger(const QString &text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

std::optional<bool> parseBoolean(const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}

std::optional<int> parseEnum(const QString &text, const QStringList &names)
{
    const QString t = text.trimmed();
    for (int i = 0; i < names.size(); ++i) {
        if (names[i].compare(t, Qt::CaseInsensitive) == 0)
            return i;
    }
    const auto ordinal = parseInteger(t);
    if (ordinal && *ordinal >= 0 && *ordinal < names.size())
        return ordinal;
    return std::nullopt;
}

std::optional<unsigned> parseSet(const QString &text, const QStringList &names)
{
    QString t = text.trimmed();
    if (t.startsWith(QLatin1Char('[')) != t.endsWith(QLatin1Char(']')))
        return std::nullopt;
    if (t.startsWith(QLatin1Char('[')))
        t = t.mid(1, t.size() - 2);
    unsigned bits = 0;
    for (const QString &part : t.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const auto index = parseEnum(part, names);
        if (!index || part.trimmed().isEmpty() || part.trimmed().front().isDigit())
            return std::nullopt;
        bits |= 1u << *index;
    }
    return bits;
}

std::optional<QColor> parseColor(const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("clNone"), Qt::CaseInsensitive) == 0)
        return QColor();
    struct Named {
        const char *name;
        QRgb rgb;
    };
    // clWindowText is black under the default desktop colour scheme.
    static const Named named[] = {{"clBlack", 0x000000},  {"clWindowText", 0x000000},
                                  {"clWhite", 0xFFFFFF},  {"clWindow", 0xFFFFFF},
                                  {"clRed", 0xFF0000},    {"clGreen", 0x008000},
                                  {"clBlue", 0x0000FF},   {"clGray", 0x808080},
                                  {"clSilver", 0xC0C0C0}, {"clNavy", 0x000080}};
    for (const Named &n : named) {
        if (t.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0)
            return QColor::fromRgb(n.rgb);
    }
    bool ok = false;
    if (t.startsWith(QLatin1Char('#')) && t.size() == 7) {
        const uint rgb = t.mid(1).toUInt(&ok, 16);
        return ok ? std::optional<QColor>(QColor::fromRgb(rgb)) : std::nullopt;
    }
    uint bgr = 0;
    if (t.startsWith(QLatin1Char('$')))
        bgr = t.mid(1).toUInt(&ok, 16);
    else
        bgr = t.toUInt(&ok);
    if (!ok || bgr > 0xFFFFFF)
        return std::nullopt;
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

QStringList splitStoredLines(const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    return text.split(lineBreak);
}

QString badValueMessage(const QString &property, const QString &value)
{
    return QStringLiteral("неверное значение свойства %1: «%2»").arg(property, value);
}

QString unknownPropertyMessage(const QString &property, const QString &className)
{
    return QStringLiteral("неизвестное свойство %1 у класса %2").arg(property, className);
}

} // namespace zreport
