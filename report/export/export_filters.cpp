#include "export_filters.h"

#include "export_writers.h"
#include "report/output_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zexport {

bool ExportFilter::isImage() const
{
    return kind == ExportKind::Bmp || kind == ExportKind::Jpeg || kind == ExportKind::Tiff ||
           kind == ExportKind::Gif;
}

const std::vector<ExportFilter> &exportFilters()
{
    static const std::vector<ExportFilter> filters{
        {ExportKind::Pdf, QStringLiteral("Документ PDF"), QStringLiteral("Документ PDF (*.pdf)"),
         QStringLiteral("pdf")},
        {ExportKind::Html, QStringLiteral("Документ HTML (табличный)"),
         QStringLiteral("Документ HTML (*.html *.htm)"), QStringLiteral("html")},
        {ExportKind::Xlsx, QStringLiteral("Документ Excel (OLE)"),
         QStringLiteral("Документ Excel (*.xlsx)"), QStringLiteral("xlsx")},
        {ExportKind::ExcelXml, QStringLiteral("Документ Excel (XML)"),
         QStringLiteral("Документ Excel XML (*.xml)"), QStringLiteral("xml")},
        {ExportKind::Rtf, QStringLiteral("Документ Word (табличный)"),
         QStringLiteral("Документ RTF (*.rtf)"), QStringLiteral("rtf")},
        {ExportKind::Bmp, QStringLiteral("Рисунок BMP"), QStringLiteral("Рисунок BMP (*.bmp)"),
         QStringLiteral("bmp")},
        {ExportKind::Jpeg, QStringLiteral("Рисунок JPEG"),
         QStringLiteral("Рисунок JPEG (*.jpg *.jpeg)"), QStringLiteral("jpg")},
        {ExportKind::Tiff, QStringLiteral("Рисунок TIFF"),
         QStringLiteral("Рисунок TIFF (*.tif *.tiff)"), QStringLiteral("tif")},
        {ExportKind::Gif, QStringLiteral("Рисунок Gif"), QStringLiteral("Рисунок GIF (*.gif)"),
         QStringLiteral("gif")},
        {ExportKind::Text, QStringLiteral("Текстовый файл"),
         QStringLiteral("Текстовый файл (*.txt)"), QStringLiteral("txt")},
        {ExportKind::Csv, QStringLiteral("CSV файл"), QStringLiteral("CSV файл (*.csv)"),
         QStringLiteral("csv")},
        {ExportKind::Email, QStringLiteral("E-mail"), QString(), QString()},
        {ExportKind::Prn, QStringLiteral("Текстовый файл (prn)"),
         QStringLiteral("Текстовый файл (*.prn)"), QStringLiteral("prn")},
        {ExportKind::Ods, QStringLiteral("Open Document Таблица"),
         QStringLiteral("Open Document Таблица (*.ods)"), QStringLiteral("ods")},
        {ExportKind::Odt, QStringLiteral("Open Document Текст"),
         QStringLiteral("Open Document Текст (*.odt)"), QStringLiteral("odt")},
        {ExportKind::Docx, QStringLiteral("Документ Word (табличный)"),
         QStringLiteral("Документ Word (*.docx)"), QStringLiteral("docx")},
    };
    return filters;
}

const ExportFilter &exportFilter(ExportKind kind)
{
    for (const ExportFilter &f : exportFilters())
        if (f.kind == kind)
            return f;
    return exportFilters().front();
}

namespace {

bool writeBytes(const QByteArray &bytes, const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

// Page 1 under the chosen name, the following ones as BASE-2.EXT, BASE-3.EXT, ...
QString imagePath(const QString &path, int number)
{
    if (number == 1)
        return path;
    const QFileInfo info(path);
    return info.dir().filePath(
        QStringLiteral("%1-%2.%3").arg(info.completeBaseName()).arg(number).arg(info.suffix()));
}

const char *imageFormat(ExportKind kind)
{
    switch (kind) {
    case ExportKind::Bmp:
        return "BMP";
    case ExportKind::Jpeg:
        return "JPEG";
    case ExportKind::Tiff:
        return "TIFF";
    default:
        return "GIF";
    }
}

bool writeOne(ExportKind kind, const zreport::PreparedReport &report, const ExportOptions &options,
              const QString &path, QString *error)
{
    const auto &pages = options.pages;
    switch (kind) {
    case ExportKind::Pdf:
    case ExportKind::Email:
        return writers::pdf(report, pages, path, error);
    case ExportKind::Html:
        return writeBytes(writers::html(report, pages), path, error);
    case ExportKind::Xlsx:
        return writers::xlsx(report, pages, path, error);
    case ExportKind::ExcelXml:
        return writeBytes(writers::excelXml(report, pages), path, error);
    case ExportKind::Rtf:
        return writeBytes(writers::rtf(report, pages), path, error);
    case ExportKind::Text:
        return writeBytes(writers::text(report, pages), path, error);
    case ExportKind::Csv:
        return writeBytes(writers::csv(report, pages), path, error);
    case ExportKind::Prn:
        return writeBytes(writers::prn(report, pages), path, error);
    case ExportKind::Ods:
        return writers::ods(report, pages, path, error);
    case ExportKind::Odt:
        return writers::odt(report, pages, path, error);
    case ExportKind::Docx:
        return writers::docx(report, pages, path, error);
    case ExportKind::Bmp:
    case ExportKind::Jpeg:
    case ExportKind::Tiff:
    case ExportKind::Gif:
        break;
    }
    return false;
}

} // namespace

bool exportPages(ExportKind kind, const zreport::PreparedReport &report,
                 const ExportOptions &options, const QString &path, QString *error)
{
    for (int index : options.pages) {
        if (index < 0 || index >= report.pageCount()) {
            if (error)
                *error = QStringLiteral("Нет страницы %1").arg(index + 1);
            return false;
        }
    }
    const ExportFilter &filter = exportFilter(kind);
    if (filter.isImage()) {
        // Every image is written first, then all are renamed, so a failure leaves none of them.
        std::vector<std::unique_ptr<zreport::OutputPath>> files;
        for (size_t i = 0; i < options.pages.size(); ++i) {
            const QString target = imagePath(path, int(i) + 1);
            auto file = std::make_unique<zreport::OutputPath>(target);
            QString reason;
            if (!file->open(error))
                return false;
            if (!writers::image(report, options.pages[i], options.dpi, imageFormat(kind),
                                file->writePath(), &reason)) {
                if (error)
                    *error = zreport::cannotWriteMessage(target, reason);
                return false;
            }
            files.push_back(std::move(file));
        }
        for (auto &file : files)
            if (!file->commit(error))
                return false;
        return true;
    }
    zreport::OutputPath file(path);
    if (!file.open(error))
        return false;
    QString reason;
    if (!writeOne(kind, report, options, file.writePath(), &reason)) {
        if (error)
            *error = zreport::cannotWriteMessage(path, reason);
        return false;
    }
    return file.commit(error);
}

} // namespace zexport
