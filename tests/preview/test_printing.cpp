#include "preview_fixture.h"
#include "qt_printing.h"

#include "report/preview/print_dialog.h"
#include "report/preview/print_job.h"
#include "report/preview/printers.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QThread>
#include <QUuid>
#include <QXmlStreamReader>

#include <pwd.h>
#include <unistd.h>

using namespace zpreview;

namespace {

// Prepared pages of the given papers (millimetres, width by height), without objects.
zreport::PreparedReport blankPages(const std::vector<QSizeF> &papers)
{
    zreport::PreparedReport report;
    for (const QSizeF &paper : papers) {
        zreport::PageSettings settings;
        settings.paperWidth = paper.width();
        settings.paperHeight = paper.height();
        report.addPage(settings);
    }
    return report;
}

// The page numbers (from 1) on each sheet, in order.
std::vector<std::vector<int>> pagesOfSheets(const std::vector<zreport::Sheet> &sheets)
{
    std::vector<std::vector<int>> pages;
    for (const zreport::Sheet &sheet : sheets) {
        pages.emplace_back();
        for (const zreport::PagePlacement &placed : sheet.pages)
            pages.back().push_back(placed.pageIndex + 1);
    }
    return pages;
}

TEST(PrintPages, NumbersAndOrderOfTheSheets)
{
    struct Case {
        const char *numbers;
        PageParity parity;
        bool reverse;
        int copies;
        bool collate;
        bool printerMakesCopies;
        std::vector<std::vector<int>> sheets;
    };
    const Case cases[] = {
        {"1,3,5-12", PageParity::All, false, 1, true, false, {{1}, {3}, {5}, {6}, {7}, {8}}},
        {" 2 , 1,2 ", PageParity::All, false, 1, true, false, {{1}, {2}}},
        {"7-", PageParity::All, false, 1, true, false, {{7}, {8}}},
        {"", PageParity::Odd, false, 1, true, false, {{1}, {3}, {5}, {7}}},
        {"", PageParity::Even, true, 1, true, false, {{8}, {6}, {4}, {2}}},
        {"1-2", PageParity::All, false, 2, true, false, {{1}, {2}, {1}, {2}}},
        {"1-2", PageParity::All, true, 2, false, false, {{2}, {2}, {1}, {1}}},
        // Uncollated copies are the printer's to make where it can; collated ones never.
        {"1-2", PageParity::All, false, 3, false, true, {{1}, {2}}},
        {"1-2", PageParity::All, false, 2, true, true, {{1}, {2}, {1}, {2}}},
    };
    const zreport::PreparedReport eight = blankPages(std::vector<QSizeF>(8, QSizeF(210, 297)));
    for (const Case &c : cases) {
        PrintSettings s;
        s.range = *c.numbers ? PageRange::Numbers : PageRange::All;
        s.pageNumbers = QString::fromLatin1(c.numbers);
        s.parity = c.parity;
        s.reverse = c.reverse;
        s.copies = c.copies;
        s.collate = c.collate;
        EXPECT_EQ(pagesOfSheets(sheetsToPrint(s, eight, 1, {}, c.printerMakesCopies)), c.sheets)
            << c.numbers << " copies " << c.copies;
    }
    for (const char *bad : {"a", "3-1", "1,,x", "-2", ""})
        EXPECT_FALSE(parsePageNumbers(QString::fromLatin1(bad), 8)) << bad;
    PrintSettings current;
    current.range = PageRange::Current;
    EXPECT_EQ(pagesOfSheets(sheetsToPrint(current, eight, 5, {}, false)),
              std::vector<std::vector<int>>{{5}});
}

TEST(PrintPages, ModesPutPagesOnTheSheet)
{
    const QSizeF a4(210, 297), a4Lying(297, 210), a5(148, 210), a3(297, 420);
    struct Case {
        const char *what;
        PrintMode mode;
        std::vector<QSizeF> pages;
        QSizeF sheet;
        std::vector<zreport::Sheet> expected;
    };
    const Case cases[] = {
        {"each page on its own paper without a sheet chosen",
         PrintMode::Scale,
         {a4, a4Lying},
         QSizeF(),
         {{a4, {{0, {0, 0}, 1}}}, {a4Lying, {{1, {0, 0}, 1}}}}},
        {"default: unscaled at the corner of the sheet, turned like the page",
         PrintMode::Default,
         {a4Lying},
         a3,
         {{QSizeF(420, 297), {{0, {0, 0}, 1}}}}},
        {"scale: reduced to the sheet and centred",
         PrintMode::Scale,
         {QSizeF(200, 200), a4Lying},
         a5,
         {{a5, {{0, {0, 31}, 0.74}}}, {QSizeF(210, 148), {{1, {0.343, 0}, 148.0 / 210}}}}},
        {"split: row by row, a sliver within the tolerance ignored",
         PrintMode::Split,
         {a4, QSizeF(148.4, 210)},
         a5,
         {{a5, {{0, {0, 0}, 1}}},
          {a5, {{0, {-148, 0}, 1}}},
          {a5, {{0, {0, -210}, 1}}},
          {a5, {{0, {-148, -210}, 1}}},
          {a5, {{1, {0, 0}, 1}}}}},
        {"join: side by side on the sheet turned to take more",
         PrintMode::Join,
         {a5, a5, a5, a4},
         a4,
         {{QSizeF(297, 210), {{0, {0, 0}, 1}, {1, {148, 0}, 1}}},
          {a4, {{2, {0, 0}, 1}}},
          {a4, {{3, {0, 0}, 1}}}}},
        {"join: in rows down the sheet, a page too large reduced alone",
         PrintMode::Join,
         {QSizeF(100, 100), QSizeF(100, 100), QSizeF(100, 100), a3},
         a4,
         {{a4, {{0, {0, 0}, 1}, {1, {100, 0}, 1}, {2, {0, 100}, 1}}},
          {a4, {{3, {0, 0.015}, 210.0 / 297}}}}},
    };
    for (const Case &c : cases) {
        const zreport::PreparedReport report = blankPages(c.pages);
        std::vector<int> indexes;
        for (int i = 0; i < report.pageCount(); ++i)
            indexes.push_back(i);
        const std::vector<zreport::Sheet> sheets = planSheets(report, indexes, c.mode, c.sheet);
        ASSERT_EQ(sheets.size(), c.expected.size()) << c.what;
        for (size_t i = 0; i < sheets.size(); ++i) {
            const zreport::Sheet &got = sheets[i], &want = c.expected[i];
            EXPECT_EQ(got.paper, want.paper) << c.what << ", sheet " << i;
            ASSERT_EQ(got.pages.size(), want.pages.size()) << c.what << ", sheet " << i;
            for (size_t p = 0; p < got.pages.size(); ++p) {
                EXPECT_EQ(got.pages[p].pageIndex, want.pages[p].pageIndex) << c.what;
                EXPECT_NEAR(got.pages[p].origin.x(), want.pages[p].origin.x(), 0.01) << c.what;
                EXPECT_NEAR(got.pages[p].origin.y(), want.pages[p].origin.y(), 0.01) << c.what;
                EXPECT_NEAR(got.pages[p].scale, want.pages[p].scale, 1e-3) << c.what;
            }
        }
    }
}

// The print dialog of the next print: its printer, then the answer given.
std::function<int(QDialog &)> answerPrintDialog(QString *shownPrinter,
                                                std::function<void(QDialog &)> fill)
{
    return [=](QDialog &dialog) {
        *shownPrinter = child<QComboBox>(&dialog, "printerCombo")->currentText();
        if (!fill)
            return int(QDialog::Rejected);
        fill(dialog);
        child<QPushButton>(&dialog, "okButton")->click();
        return dialog.result();
    };
}

struct PrintingPreview {
    explicit PrintingPreview(const QString &xml = twoPageReportXml())
        : report(reportFromXml(xml)), window(*report, {}, user.hooks())
    {
        window.runReport();
    }
    ~PrintingPreview() { Printers::instance().reset(); }
    void print() { child<QAction>(&window, "printAction")->trigger(); }

    ScriptedUser user;
    std::unique_ptr<zreport::TfrxReport> report;
    PreviewWindow window;
};

TEST(Printing, WithoutPrintersSaysSoAndPrintsNothing)
{
    PrintingPreview preview;
    Printers::instance().setForTesting({}, QString());
    preview.print();
    EXPECT_EQ(preview.user.messages, QStringList{"В вашей системе не установлено принтеров"});
    EXPECT_EQ(preview.user.captions, QStringList{"Ошибка"});
    EXPECT_TRUE(preview.user.dialogTitles.isEmpty());

    // The list still offers the virtual printer, so the dialog's printer box is never empty.
    EXPECT_EQ(Printers::instance().names(), QStringList{"Виртуальный"});
    EXPECT_EQ(Printers::instance().current(), "Виртуальный");
    PrintDialog dialog(PrintSettings{}, preview.user.hooks());
    EXPECT_EQ(child<QComboBox>(&dialog, "printerCombo")->currentText(), "Виртуальный");
    EXPECT_EQ(child<QComboBox>(&dialog, "printerCombo")->count(), 1);
}

TEST(Printing, ThePrinterChosenStaysCurrentForLaterPrints)
{
    PrintingPreview preview;
    Printers::instance().setForTesting({{"Office", "room 1"}, {"Zarnik_No_Such_Queue", ""}},
                                       "Office");
    QString shown;
    // Cancelled: nothing changes.
    preview.user.dialogs.push_back(answerPrintDialog(&shown, {}));
    preview.print();
    EXPECT_EQ(shown, "Office");

    preview.user.dialogs.push_back(answerPrintDialog(&shown, [](QDialog &dialog) {
        child<QComboBox>(&dialog, "printerCombo")->setCurrentText("Zarnik_No_Such_Queue");
    }));
    preview.print();
    EXPECT_EQ(preview.user.messages, QStringList{"Printer selected is not valid"});

    // Another template stored with "По умолчанию" starts with the printer chosen last.
    PrintingPreview other;
    other.user.dialogs.push_back(answerPrintDialog(&shown, {}));
    other.print();
    EXPECT_EQ(shown, "Zarnik_No_Such_Queue");
    EXPECT_EQ(preview.report->printOptions.printer, "По умолчанию");
}

// Prints through the dialog into a print file and gives the pdfinfo of that file.
std::optional<PdfInfo> printToFile(PrintingPreview &preview, const QString &path,
                                   std::function<void(QDialog &)> fill)
{
    Printers::instance().setForTesting({{"Office", ""}}, "Office");
    preview.user.saveName = path;
    QString shown;
    preview.user.dialogs.push_back(answerPrintDialog(&shown, [fill](QDialog &dialog) {
        child<QCheckBox>(&dialog, "printToFileCheck")->setChecked(true);
        if (fill)
            fill(dialog);
    }));
    preview.print();
    EXPECT_TRUE(preview.user.messages.isEmpty()) << preview.user.messages.join("; ").toStdString();
    EXPECT_TRUE(QFileInfo::exists(path));
    return pdfInfo(path);
}

bool isLandscape(const QSizeF &points)
{
    return points.width() > points.height();
}

TEST(Printing, EachSheetTakesItsPagesPaperAndOrientation)
{
    QTemporaryDir dir;
    PrintingPreview preview;
    const auto info = printToFile(preview, dir.filePath("out.prn"), [](QDialog &dialog) {
        child<QSpinBox>(&dialog, "copiesSpin")->setValue(2);
    });
    if (!info)
        GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    ASSERT_EQ(info->pages, 4);
    const std::vector<bool> landscape{false, true, false, true};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(isLandscape(info->sizes[size_t(i)]), landscape[size_t(i)]) << i;
        EXPECT_NEAR(std::max(info->sizes[size_t(i)].width(), info->sizes[size_t(i)].height()),
                    841.89, 1);
    }
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.prn"});
}

TEST(Printing, CurrentPrintsOnlyThePreviewsCurrentPage)
{
    QTemporaryDir dir;
    PrintingPreview preview;
    preview.window.pageView()->goToPage(2);
    const QString path = dir.filePath("current.prn");
    const auto info = printToFile(preview, path, [](QDialog &dialog) {
        child<QRadioButton>(&dialog, "currentPageRadio")->setChecked(true);
    });
    if (!info)
        GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    ASSERT_EQ(info->pages, 1);
    EXPECT_TRUE(isLandscape(info->sizes[0]));
    const QString text = toolOutput("pdftotext", {path, "-"});
    EXPECT_TRUE(text.contains("Вторая страница")) << text.toStdString();
    EXPECT_FALSE(text.contains("Первая страница"));
}

// Words of each page of a PDF with their boxes in points (pdftotext -bbox).
std::vector<QHash<QString, QRectF>> wordBoxes(const QString &pdf)
{
    std::vector<QHash<QString, QRectF>> pages;
    QXmlStreamReader xml(toolOutput("pdftotext", {"-bbox", pdf, "-"}));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("page")) {
            pages.emplace_back();
        } else if (xml.name() == QLatin1String("word") && !pages.empty()) {
            const auto a = xml.attributes();
            const QPointF topLeft(a.value("xMin").toDouble(), a.value("yMin").toDouble());
            const QPointF bottomRight(a.value("xMax").toDouble(), a.value("yMax").toDouble());
            pages.back().insert(xml.readElementText(), QRectF(topLeft, bottomRight));
        }
    }
    return pages;
}

TEST(Printing, PrintModeAndSheetReachThePaper)
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const double a5Width = 419.53, a5Height = 595.28; // points
    // The memo's text starts 10 mm and 2 units from the page's corner.
    const double textLeftMm = 10 + 2 * 25.4 / 96;
    struct Case {
        const char *mode;
        std::vector<QSizeF> sheets;
        int secondPageSheet; // where "Вторая" is printed, from 0
        double firstLeft;    // of "Первая", in points
    };
    const Case cases[] = {
        // The A4 pages reduced onto A5 sheets turned like them.
        {"Масштабировать",
         {{a5Width, a5Height}, {a5Height, a5Width}},
         1,
         textLeftMm * 148 / 210 / 25.4 * 72},
        // Each A4 page cut into four A5 parts.
        {"Разрезать большие страницы", {4, {a5Width, a5Height}}, 4, textLeftMm / 25.4 * 72},
    };
    for (const Case &c : cases) {
        QTemporaryDir dir;
        PrintingPreview preview;
        const QString path = dir.filePath("modes.prn");
        const auto info = printToFile(preview, path, [&c](QDialog &dialog) {
            child<QComboBox>(&dialog, "printModeCombo")->setCurrentText(c.mode);
            auto *sheet = child<QComboBox>(&dialog, "printOnSheetCombo");
            sheet->setCurrentIndex(sheet->findData(QPageSize(QPageSize::A5).windowsId()));
            ASSERT_GT(sheet->currentIndex(), 0);
        });
        ASSERT_TRUE(info) << c.mode;
        std::vector<QSizeF> expected = c.sheets;
        if (expected.size() == 4) // the lying page's four parts lie too
            for (int i = 0; i < 4; ++i)
                expected.emplace_back(a5Height, a5Width);
        ASSERT_EQ(info->pages, int(expected.size())) << c.mode;
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_NEAR(info->sizes[i].width(), expected[i].width(), 1) << c.mode << " " << i;
            EXPECT_NEAR(info->sizes[i].height(), expected[i].height(), 1) << c.mode << " " << i;
        }
        const auto words = wordBoxes(path);
        ASSERT_EQ(words.size(), expected.size());
        ASSERT_TRUE(words[0].contains("Первая")) << c.mode;
        EXPECT_NEAR(words[0]["Первая"].left(), c.firstLeft, 1) << c.mode;
        EXPECT_TRUE(words[size_t(c.secondPageSheet)].contains("Вторая")) << c.mode;
    }
}

TEST(Printing, GreyChosenInThePrintersPropertiesPrintsGrey)
{
    if (QStandardPaths::findExecutable("pdftoppm").isEmpty())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    const QString redPage =
        QStringLiteral(R"(<TfrxReport Name="r">
  <TfrxReportPage Name="P1" PaperWidth="100" PaperHeight="100">
    <TfrxReportTitle Name="T1" Top="0" Width="370" Height="200">%1</TfrxReportTitle>
  </TfrxReportPage>
</TfrxReport>)")
            .arg(memoXml("M1", R"(Width="300" Height="150" Color="255")", "Красный"));
    // The middle of the red memo as poppler draws the printed file.
    const auto middlePixel = [&](bool grey) {
        QTemporaryDir dir;
        PrintingPreview preview(redPage);
        const QString path = dir.filePath("colour.prn");
        printToFile(preview, path, [&preview, grey](QDialog &dialog) {
            preview.user.dialogs.push_front([grey](QDialog &properties) {
                EXPECT_EQ(properties.windowTitle(), "Свойства");
                child<QRadioButton>(&properties, grey ? "grayScaleRadio" : "colorRadio")
                    ->setChecked(true);
                child<QPushButton>(&properties, "okButton")->click();
                return properties.result();
            });
            child<QPushButton>(&dialog, "propertiesButton")->click();
        });
        toolOutput("pdftoppm", {"-r", "20", "-png", "-singlefile", path, dir.filePath("page")});
        return QImage(dir.filePath("page.png")).pixelColor(30, 20);
    };
    const QColor colour = middlePixel(false), grey = middlePixel(true);
    EXPECT_GT(colour.red(), 200) << colour.name().toStdString();
    EXPECT_LT(colour.green(), 60) << colour.name().toStdString();
    EXPECT_EQ(grey.red(), grey.green()) << grey.name().toStdString();
    EXPECT_EQ(grey.green(), grey.blue()) << grey.name().toStdString();
}

// The queue of a printer that writes PDF files (cups-pdf), set up by scripts/cups_pdf_queue.
QString pdfQueue()
{
    const QString devices = toolOutput("lpstat", {"-v"});
    for (const QString &line : devices.split('\n'))
        if (line.contains("cups-pdf:/")) {
            const QString name = line.section(' ', 2, 2);
            return name.endsWith(':') ? name.chopped(1) : name;
        }
    return QString();
}

// cups-pdf writes into the user's ~/PDF, naming the file after the job's title.
QString waitForPdf(const QString &title)
{
    const passwd *user = getpwuid(getuid());
    const QStringList folders{
        QDir(QString::fromLocal8Bit(user ? user->pw_dir : "")).filePath("PDF"),
        "/var/spool/cups-pdf/ANONYMOUS"};
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 60000) {
        for (const QString &folder : folders)
            for (const QFileInfo &file : QDir(folder).entryInfoList({title + "*.pdf"}, QDir::Files))
                if (file.size() > 0 &&
                    file.lastModified().msecsTo(QDateTime::currentDateTime()) > 500)
                    return file.absoluteFilePath();
        QThread::msleep(200);
    }
    return QString();
}

// The copies the newest finished job of the queue asked for (ipptool), 0 when unknown.
int copiesOfNewestJob(const QString &queue)
{
    int newest = 0;
    for (const QString &line : toolOutput("lpstat", {"-W", "completed", "-o", queue}).split('\n'))
        newest = std::max(newest, line.section(' ', 0, 0).section('-', -1).toInt());
    QTemporaryDir dir;
    QFile test(dir.filePath("copies.test"));
    if (newest == 0 || !test.open(QIODevice::WriteOnly))
        return 0;
    test.write("{ OPERATION Get-Job-Attributes\n"
               "  GROUP operation-attributes-tag\n"
               "  ATTR charset attributes-charset utf-8\n"
               "  ATTR naturalLanguage attributes-natural-language en\n"
               "  ATTR uri printer-uri $uri\n"
               "  ATTR integer job-id $job\n"
               "  ATTR keyword requested-attributes copies\n"
               "  DISPLAY copies }\n");
    test.close();
    const QStringList rows =
        toolOutput("ipptool", {"-c", "-d", QStringLiteral("job=%1").arg(newest),
                               "ipp://localhost/printers/" + queue, test.fileName()})
            .split('\n', Qt::SkipEmptyParts);
    return rows.size() == 2 && rows[0] == "copies" ? rows[1].toInt() : 0;
}

TEST(Printing, PrintsOnARealCupsPdfQueue)
{
    const QString queue = pdfQueue();
    if (queue.isEmpty())
        GTEST_SKIP() << "no CUPS with a cups-pdf queue here (scripts/cups_pdf_queue sets one up)";
    if (QStandardPaths::findExecutable("pdfinfo").isEmpty())
        GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    Printers::instance().reset();
    ASSERT_FALSE(Printers::instance().find(queue) == nullptr)
        << "Qt does not list " << queue.toStdString();

    PrintingPreview preview;
    const QString title = "zarnik-" + QUuid::createUuid().toString(QUuid::Id128);
    preview.window.setWindowTitle(title);
    QString shown;
    QString where;
    preview.user.dialogs.push_back(answerPrintDialog(&shown, [queue, &where](QDialog &dialog) {
        child<QComboBox>(&dialog, "printerCombo")->setCurrentText(queue);
        where = child<QLabel>(&dialog, "printerWhere")->text();
    }));
    preview.print();
    ASSERT_TRUE(preview.user.messages.isEmpty()) << preview.user.messages.join("; ").toStdString();

    EXPECT_EQ(where, "cups-pdf:/");
    const QString pdf = waitForPdf(title);
    ASSERT_FALSE(pdf.isEmpty()) << "cups-pdf wrote no file for the job";
    const auto info = pdfInfo(pdf);
    ASSERT_TRUE(info);
    ASSERT_EQ(info->pages, 2);
    for (const QSizeF &size : info->sizes) // A4 sheets
        EXPECT_NEAR(std::max(size.width(), size.height()), 841.89, 2);
    const auto words = wordBoxes(pdf);
    ASSERT_EQ(words.size(), 2u);
    ASSERT_TRUE(words[0].contains("Первая") && words[1].contains("Вторая"));
    // The printer lays the second page out across the sheet: either the sheet itself lies, or
    // (as on paper fed upright) the text runs up the sheet.
    const QRectF first = words[0]["Первая"], second = words[1]["Вторая"];
    EXPECT_GT(first.width(), first.height());
    EXPECT_FALSE(isLandscape(info->sizes[0]));
    EXPECT_NE(isLandscape(info->sizes[1]), second.height() > second.width());
    // Positions are measured from the sheet's edge: 10 mm margin and the memo's 2-unit gap.
    EXPECT_NEAR(first.left(), (10 / 25.4 + 2 / 96.0) * 72, 1.5);
    QFile::remove(pdf);

    // Uncollated copies are the printing system's to make: the job asks for them and holds
    // the pages once (cups-pdf itself writes a single copy).
    const QString copiesTitle = "zarnik-" + QUuid::createUuid().toString(QUuid::Id128);
    preview.window.setWindowTitle(copiesTitle);
    preview.user.dialogs.push_back(answerPrintDialog(&shown, [](QDialog &dialog) {
        child<QSpinBox>(&dialog, "copiesSpin")->setValue(2);
        child<QCheckBox>(&dialog, "collateCheck")->setChecked(false);
    }));
    preview.print();
    const QString copies = waitForPdf(copiesTitle);
    ASSERT_FALSE(copies.isEmpty()) << "cups-pdf wrote no file for the job with copies";
    EXPECT_EQ(pdfInfo(copies)->pages, 2);
    if (QStandardPaths::findExecutable("ipptool").isEmpty())
        GTEST_SKIP() << "ipptool (cups-ipp-utils) is not installed to read the job's copies";
    EXPECT_EQ(copiesOfNewestJob(queue), 2);
    QFile::remove(copies);
}

} // namespace
