#pragma once

#include <QList>
#include <QPageSize>
#include <QString>
#include <QStringList>

// The printers of the desktop, listed once per process, and the current printer, which stays
// chosen for every later print of the process.
namespace zpreview {

struct PrinterEntry {
    QString name;
    QString location; // "Где:" of the print dialog
};

class Printers {
public:
    static Printers &instance();

    // The desktop's default printer first; when none is installed, only the virtual printer,
    // which can be shown and chosen but never printed on.
    const QList<PrinterEntry> &list();
    bool noneInstalled();
    QStringList names();
    const PrinterEntry *find(const QString &name); // letter case ignored

    QString current();
    // Ignored for a name that is not installed.
    void setCurrent(const QString &name);
    // "По умолчанию" and "Default" name no printer: the current one stays.
    void chooseByOption(const QString &printerOption);

    // Replaces what the desktop reports (tests); an empty default means the first printer.
    void setForTesting(const QList<PrinterEntry> &printers, const QString &defaultName);
    // Lists the desktop's printers again at the next use.
    void reset();

private:
    void ensureListed();

    bool m_listed = false;
    bool m_noneInstalled = false;
    QList<PrinterEntry> m_printers;
    QString m_current;
};

// The papers of the named printer, or the usual ones when it reports none (or there is none).
QList<QPageSize> paperSizesOf(const QString &printer);

} // namespace zpreview
