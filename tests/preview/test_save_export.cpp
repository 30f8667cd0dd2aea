#include "preview_fixture.h"
#include "qt_printing.h"

#include "report/export/export_filters.h"
#include "report/prepared_io.h"
#include "report/report_output.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QMenu>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

using namespace zpreview;
using namespace zexport;

namespace {

QByteArray json(const zreport::PreparedReport &report)
{
    return written(report, zreport::writePreparedJson);
}

struct FilePreview {
    FilePreview()
        : report(reportFromXml(rowsReportXml())), source(rows(30)),
          window(*report, {{"src", source.get()}}, user.hooks())
    {
        window.runReport();
    }
    void trigger(const char *action) { child<QAction>(&window, action)->trigger(); }

    ScriptedUser user;
    std::unique_ptr<zreport::TfrxReport> report;
    std::unique_ptr<zreport::MemoryRows> source;
    PreviewWindow window;
    QTemporaryDir dir;
};

TEST(SaveOpen, FileSavedAndOpenedGivesTheSamePages)
{
    FilePreview preview;
    const QByteArray before = json(preview.window.prepared());
    preview.user.saveName = preview.dir.filePath("report"); // the extension is added
    preview.trigger("saveAction");
    ASSERT_TRUE(QFile::exists(preview.dir.filePath("report.fp3")));

    FilePreview other;
    other.window.pageView()->goToPage(2);
    other.user.openName = preview.dir.filePath("report.fp3");
    other.trigger("openAction");
    EXPECT_EQ(json(other.window.prepared()), before);
    EXPECT_EQ(other.window.currentPage(), 1);
    EXPECT_TRUE(other.user.messages.isEmpty());
}

TEST(SaveOpen, BadFileOrPathIsRefusedAndThePagesStay)
{
    FilePreview preview;
    const QByteArray before = json(preview.window.prepared());
    QFile hostile(preview.dir.filePath("bad.fp3"));
    ASSERT_TRUE(hostile.open(QIODevice::WriteOnly));
    static const char bad[] = "ZRP\x01\xff\xff\xff\xff garbage";
    hostile.write(bad, sizeof bad - 1);
    hostile.close();

    preview.user.openName = hostile.fileName();
    preview.trigger("openAction");
    preview.user.saveName = preview.dir.filePath("no/such/folder/out.fp3");
    preview.trigger("saveAction");

    ASSERT_EQ(preview.user.messages.size(), 2);
    EXPECT_FALSE(preview.user.messages[0].isEmpty());
    EXPECT_TRUE(preview.user.messages[1].contains("out.fp3"))
        << preview.user.messages[1].toStdString();
    EXPECT_EQ(json(preview.window.prepared()), before);
}

// Names of the zip package's members, or an empty list when unzip finds it damaged.
QStringList zipMembers(const QString &path)
{
    if (toolOutput("unzip", {"-tq", path}).contains("No errors"))
        return toolOutput("unzip", {"-Z1", path}).split('\n', Qt::SkipEmptyParts);
    return {};
}

bool wellFormedXml(const QByteArray &xml)
{
    QXmlStreamReader reader(xml);
    while (!reader.atEnd())
        reader.readNext();
    return !reader.hasError() && !xml.isEmpty();
}

TEST(Export, EveryFilterWritesAFileItsReaderOpens)
{
    FilePreview preview;
    const auto &filters = exportFilters();
    QStringList descriptions;
    for (QAction *action : child<QMenu>(&preview.window, "exportMenu")->actions())
        descriptions << action->text();
    EXPECT_EQ(descriptions,
              (QStringList{"Документ PDF...", "Документ HTML (табличный)...",
                           "Документ Excel (OLE)...", "Документ Excel (XML)...",
                           "Документ Word (табличный)...", "Рисунок BMP...", "Рисунок JPEG...",
                           "Рисунок TIFF...", "Рисунок Gif...", "Текстовый файл...", "CSV файл...",
                           "E-mail...", "Текстовый файл (prn)...", "Open Document Таблица...",
                           "Open Document Текст...", "Документ Word (табличный)..."}));
    const bool haveUnzip = !QStandardPaths::findExecutable("unzip").isEmpty();
    const int pages = preview.window.prepared().pageCount();
    for (size_t i = 0; i < filters.size(); ++i) {
        const ExportFilter &filter = filters[i];
        if (filter.kind == ExportKind::Email)
            continue;
        SCOPED_TRACE(filter.description.toStdString() + " ." + filter.suffix.toStdString());
        const QString path = preview.dir.filePath(QStringLiteral("out%1").arg(i));
        preview.user.saveName = path;
        preview.user.dialogs.push_back([](QDialog &) { return int(QDialog::Accepted); });
        child<QAction>(&preview.window, qPrintable(QStringLiteral("export%1Action").arg(i)))
            ->trigger();
        const QString file = path + "." + filter.suffix;
        ASSERT_TRUE(QFile::exists(file));
        QFile in(file);
        ASSERT_TRUE(in.open(QIODevice::ReadOnly));
        const QByteArray bytes = in.readAll();
        switch (filter.kind) {
        case ExportKind::Pdf:
            if (const auto info = pdfInfo(file)) {
                EXPECT_EQ(info->pages, pages);
                EXPECT_TRUE(
                    toolOutput("pdfinfo", {file}).contains(QRegularExpression("Title: +Отчет")));
            } else
                EXPECT_TRUE(bytes.startsWith("%PDF"));
            break;
        case ExportKind::Bmp:
        case ExportKind::Jpeg:
        case ExportKind::Tiff:
        case ExportKind::Gif: {
            for (int page = 1; page <= pages; ++page) {
                const QString name =
                    page == 1 ? file
                              : QStringLiteral("%1-%2.%3").arg(path).arg(page).arg(filter.suffix);
                QImageReader reader(name);
                const QImage image = reader.read();
                EXPECT_FALSE(image.isNull())
                    << name.toStdString() << reader.errorString().toStdString();
                EXPECT_EQ(image.width(), 378); // 100 mm at 96 dpi
            }
            break;
        }
        case ExportKind::Xlsx:
        case ExportKind::Ods:
        case ExportKind::Odt:
        case ExportKind::Docx: {
            if (!haveUnzip)
                break;
            const QStringList members = zipMembers(file);
            const char *main = filter.kind == ExportKind::Xlsx   ? "xl/sharedStrings.xml"
                               : filter.kind == ExportKind::Docx ? "word/document.xml"
                                                                 : "content.xml";
            ASSERT_TRUE(members.contains(main)) << members.join(',').toStdString();
            const QByteArray xml = toolOutput("unzip", {"-p", file, main}).toUtf8();
            EXPECT_TRUE(wellFormedXml(xml));
            EXPECT_TRUE(QString::fromUtf8(xml).contains("Строка 30"));
            EXPECT_TRUE(QString::fromUtf8(xml).contains("ТОО «Құрылыс-Өнім»"));
            break;
        }
        case ExportKind::ExcelXml:
            EXPECT_TRUE(wellFormedXml(bytes));
            [[fallthrough]];
        default:
            EXPECT_TRUE(QString::fromUtf8(bytes).contains("Строка 30") ||
                        bytes.contains("\\u1057?\\u1090?")) // RTF spells letters as \u codes
                << bytes.left(300).toStdString();
            EXPECT_TRUE(QString::fromUtf8(bytes).contains("ТОО «Құрылыс-Өнім»") ||
                        bytes.contains("\\u1178?\\u1201?")) // Құ
                << bytes.left(300).toStdString();
        }
    }
    EXPECT_TRUE(preview.user.messages.isEmpty()) << preview.user.messages.join("; ").toStdString();
}

TEST(Export, CurrentPageAndUnwritablePath)
{
    FilePreview preview;
    preview.window.pageView()->goToPage(2);
    preview.user.saveName = preview.dir.filePath("page.txt");
    preview.user.dialogs.push_back([](QDialog &dialog) {
        child<QRadioButton>(&dialog, "currentPageRadio")->setChecked(true);
        return int(QDialog::Accepted);
    });
    child<QAction>(&preview.window, "export9Action")->trigger(); // "Текстовый файл"
    QFile text(preview.dir.filePath("page.txt"));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    const QString content = QString::fromUtf8(text.readAll());
    const auto &second = preview.window.prepared().pages()[1];
    EXPECT_TRUE(content.contains(second.objects.back().text));
    EXPECT_FALSE(content.contains("Строка 1\n"));

    // A plain file where a folder should be: no user, root included, can write there.
    const QString notFolder = preview.dir.filePath("page.txt");
    preview.user.saveName = notFolder + "/report.pdf";
    preview.user.dialogs.push_back([](QDialog &) { return int(QDialog::Accepted); });
    preview.trigger("pdfAction");
    ASSERT_EQ(preview.user.messages.size(), 1);
    EXPECT_TRUE(preview.user.messages[0].startsWith("Не удалось записать файл «" + notFolder))
        << preview.user.messages[0].toStdString();
    EXPECT_EQ(QDir(preview.dir.path()).entryList(QDir::Files), QStringList{"page.txt"});
}

TEST(Export, EmailWithoutAMailProgramSaysWhereThePdfIs)
{
    if (!QStandardPaths::findExecutable("xdg-email").isEmpty())
        GTEST_SKIP() << "xdg-email is installed: it would open the desktop's mail program";
    FilePreview preview;
    preview.trigger("emailAction");
    ASSERT_EQ(preview.user.messages.size(), 1);
    const QString text = preview.user.messages[0];
    const qsizetype open = text.indexOf("«"), close = text.indexOf("»");
    ASSERT_TRUE(open >= 0 && close > open) << text.toStdString();
    const QString pdf = text.mid(open + 1, close - open - 1);
    EXPECT_TRUE(pdf.endsWith(".pdf"));
    EXPECT_TRUE(QFile::exists(pdf));
    QFile::remove(pdf);
}

} // namespace
