#include "preview_fixture.h"
#include "qt_printing.h"

#include "print_dialog.h"
#include "print_job.h"
#include "printers.h"

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

TEST(PrintPages, NumbersAndOrderOfTheSheets)
{
    struct Case {
        const char *numbers;
        PageParity parity;
        bool reverse;
        int copies;
        bool collate;
        std::vector<int> sheets;
    };
    const Case cases[] = {
        {"1,3,5-12", PageParity::All, false, 1, true, {1, 3, 5, 6, 7, 8}},
        {" 2 , 1,2 ", PageParity::All, false, 1, true, {1, 2}},
        {"7-", PageParity::All, false, 1, true, {7, 8}},
        {"", PageParity::Odd, false, 1, true, {1, 3, 5, 7}},
        {"", PageParity::Even, true, 1, true, {8, 6, 4, 2}},
        {"1-2", PageParity::All, false, 2, true, {1, 2, 1, 2}},
        {"1-2", PageParity::All, true, 2, false, {2, 2, 1, 1}},
    };
    for (const Case &c : cases) {
        PrintSettings s;
        s.range = *c.numbers ? PageRange::Numbers : PageRange::All;
        s.pageNumbers = QString::fromLatin1(c.numbers);
        s.parity = c.parity;
        s.reverse = c.reverse;
        s.copies = c.copies;
        s.collate = c.collate;
        EXPECT_EQ(sheetsToPrint(s, 8, 1), c.sheets) << c.numbers;
    }
    for (const char *bad : {"a", "3-1", "1,,x", "-2", ""})
        EXPECT_FALSE(parsePageNumbers(QString::fromLatin1(bad), 8)) << bad;
    PrintSettings current;
    current.range = PageRange::Current;
    EXPECT_EQ(sheetsToPrint(current, 8, 5), std::vector<int>{5});
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
}

} // namespace
