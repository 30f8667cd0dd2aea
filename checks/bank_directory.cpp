#include "bank_directory.h"

#include <QFile>
#include <QStringList>

QString BankDirectory::Bank::renamedTo() const
{
    static const QLatin1String prefix("renamed: ");
    if (!status.startsWith(prefix))
        return {};
    return status.mid(prefix.size()).section(QLatin1Char(','), 0, 0).trimmed();
}

BankDirectory BankDirectory::parse(const QString &text)
{
    BankDirectory directory;
    int bik = -1, code = -1, name = -1, status = -1;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        QStringList cells = line.split(QLatin1Char('\t'));
        for (QString &cell : cells)
            cell = cell.trimmed();
        if (bik < 0) {
            bik = int(cells.indexOf(QLatin1String("bik")));
            code = int(cells.indexOf(QLatin1String("bank_code")));
            name = int(cells.indexOf(QLatin1String("name_ru")));
            status = int(cells.indexOf(QLatin1String("status")));
            if (bik < 0 || code < 0 || name < 0 || status < 0)
                return {}; // not the directory's columns
            continue;
        }
        if (cells.value(bik).isEmpty())
            continue;
        directory.m_banks.push_back(
            {cells.value(bik), cells.value(code), cells.value(name), cells.value(status)});
    }
    return directory;
}

const BankDirectory &BankDirectory::builtin()
{
    static const BankDirectory directory = [] {
        Q_INIT_RESOURCE(banks);
        QFile file(QStringLiteral(":/checks/kz-banks.tsv"));
        if (!file.open(QIODevice::ReadOnly))
            return BankDirectory();
        return parse(QString::fromUtf8(file.readAll()));
    }();
    return directory;
}

std::optional<BankDirectory::Bank> BankDirectory::byCode(const QString &code) const
{
    for (const Bank &bank : m_banks) {
        if (bank.code == code && bank.active())
            return bank;
    }
    return std::nullopt;
}

std::optional<BankDirectory::Bank> BankDirectory::byBik(const QString &bik) const
{
    for (const Bank &bank : m_banks) {
        if (bank.bik == bik)
            return bank;
    }
    return std::nullopt;
}
