#include "printers.h"

#include <QHash>
#include <QPrinterInfo>

#include <cups/cups.h>

namespace zpreview {

namespace {

// Where each queue prints to ("Где:" of the print dialog): the device CUPS sends it to.
QHash<QString, QString> deviceUris()
{
    QHash<QString, QString> uris;
    cups_dest_t *dests = nullptr;
    const int count = cupsGetDests(&dests);
    for (int i = 0; i < count; ++i) {
        if (const char *uri = cupsGetOption("device-uri", dests[i].num_options, dests[i].options))
            uris.insert(QString::fromLocal8Bit(dests[i].name), QString::fromLocal8Bit(uri));
    }
    cupsFreeDests(count, dests);
    return uris;
}

} // namespace

Printers &Printers::instance()
{
    static Printers printers;
    return printers;
}

void Printers::ensureListed()
{
    if (m_listed)
        return;
    QList<PrinterEntry> printers;
    const QString defaultName = QPrinterInfo::defaultPrinterName();
    const QHash<QString, QString> uris = deviceUris();
    for (const QPrinterInfo &info : QPrinterInfo::availablePrinters()) {
        PrinterEntry entry{info.printerName(), uris.value(info.printerName(), info.location())};
        if (entry.name == defaultName)
            printers.prepend(entry);
        else
            printers.append(entry);
    }
    setForTesting(printers, defaultName);
}

void Printers::setForTesting(const QList<PrinterEntry> &printers, const QString &defaultName)
{
    m_listed = true;
    m_noneInstalled = printers.isEmpty();
    m_printers = printers;
    if (m_noneInstalled)
        m_printers = {{QStringLiteral("Виртуальный"), QString()}};
    m_current.clear();
    if (const PrinterEntry *entry = find(defaultName))
        m_current = entry->name;
    else if (!m_printers.isEmpty())
        m_current = m_printers.front().name;
}

void Printers::reset()
{
    m_listed = false;
    m_noneInstalled = false;
    m_printers.clear();
    m_current.clear();
}

const QList<PrinterEntry> &Printers::list()
{
    ensureListed();
    return m_printers;
}

bool Printers::noneInstalled()
{
    ensureListed();
    return m_noneInstalled;
}

QStringList Printers::names()
{
    QStringList out;
    for (const PrinterEntry &p : list())
        out << p.name;
    return out;
}

const PrinterEntry *Printers::find(const QString &name)
{
    ensureListed();
    if (name.isEmpty())
        return nullptr;
    for (const PrinterEntry &p : m_printers)
        if (p.name.compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    return nullptr;
}

QString Printers::current()
{
    ensureListed();
    return m_current;
}

void Printers::setCurrent(const QString &name)
{
    ensureListed();
    if (const PrinterEntry *entry = find(name))
        m_current = entry->name;
}

void Printers::chooseByOption(const QString &printerOption)
{
    if (printerOption == QStringLiteral("По умолчанию") ||
        printerOption.compare(QStringLiteral("Default"), Qt::CaseInsensitive) == 0)
        return;
    setCurrent(printerOption);
}

QList<QPageSize> paperSizesOf(const QString &printer)
{
    QList<QPageSize> sizes;
    if (!Printers::instance().noneInstalled())
        sizes = QPrinterInfo::printerInfo(printer).supportedPageSizes();
    if (sizes.isEmpty())
        for (QPageSize::PageSizeId id : {QPageSize::A4, QPageSize::A3, QPageSize::A5, QPageSize::B5,
                                         QPageSize::Letter, QPageSize::Legal})
            sizes << QPageSize(id);
    return sizes;
}

} // namespace zpreview
