// "Печать и подписи" in the register: the stored images of the business on the printed forms
// when it is on, today's forms when it is off, and a damaged image left out with one message.

#include "data/business_images.h"
#include "encoded_image.h"
#include "main_window_test.h"
#include "own_config_folder.h"
#include "pdf_images.h"
#include "report/report_engine.h"
#include "report/report_output.h"
#include "window_driver.h"

#include <QBuffer>
#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A stamp scanned as an opaque JPEG, and a signature with transparency, of sizes that tell
// them apart in the file.
QByteArray stampJpeg()
{
    QImage stamp(240, 236, QImage::Format_RGB32);
    stamp.fill(Qt::white);
    QPainter painter(&stamp);
    painter.setPen(QPen(Qt::blue, 10));
    painter.drawEllipse(QRect(10, 10, 220, 216));
    painter.end();
    return encodedImage(stamp, "JPG");
}

QByteArray signaturePng()
{
    return encodedImage(signatureStroke(Qt::darkBlue, 6), "PNG");
}

class StampsPrinting : public MainWindowTest {
protected:
    StampsPrinting() : MainWindowTest(TempDatabase::Demo) {}

    void TearDown() override
    {
        // Whatever a test turned on is off again for the next one.
        if (window)
            toggle().setChecked(false);
        MainWindowTest::TearDown();
    }

    // The register, whose printing commands make a PDF of what they show.
    void openWindow()
    {
        MainWindowTest::openWindow(
            [this](const zreport::TfrxReport &report, const zreport::DataSources &sources) {
                zreport::ReportEngine engine(report, sources);
                EXPECT_TRUE(engine.run()) << engine.errors().join('\n').toStdString();
                QBuffer pdf;
                pdf.open(QIODevice::WriteOnly);
                EXPECT_TRUE(
                    zreport::writePreparedPdf(engine.prepared(), pdf, {}, report.documentTitle));
                pdfs.push_back(pdf.data());
            });
    }

    QCheckBox &toggle() { return *child<QCheckBox>(*window, "chkPechatPodpisi"); }

    QByteArray printPdf(const char *button)
    {
        const size_t before = pdfs.size();
        if (qstrcmp(button, "btnPrixKas") == 0)
            prompts.expectConfirm(demoCashReceiptQuestion(), false);
        click(*window, button);
        EXPECT_EQ(pdfs.size(), before + 1) << button;
        return pdfs.size() > before ? pdfs.back() : QByteArray();
    }

    std::vector<PdfImage> imagesOf(const QByteArray &pdf)
    {
        const QString path = m_folder.filePath(QStringLiteral("form.pdf"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(pdf) == pdf.size());
        file.close();
        return pdfImages(path);
    }

    void store(const char *slot, const QByteArray &image)
    {
        BusinessImages(dm.ZNDB).store(QString::fromLatin1(slot), image);
    }

    std::vector<QByteArray> pdfs;

private:
    QTemporaryDir m_folder;
};

TEST_F(StampsPrinting, TheToggleIsOffAtFirstAndRememberedBetweenStarts)
{
    openWindow();
    EXPECT_FALSE(toggle().isChecked());
    EXPECT_EQ(toggle().text(), QStringLiteral("Печать и подписи"));
    for (const bool on : {true, false}) {
        toggle().click();
        window.reset();
        openWindow();
        EXPECT_EQ(toggle().isChecked(), on);
    }
}

// Off, or on with nothing stored, every form is today's, byte for byte.
TEST_F(StampsPrinting, OffOrWithEmptySlotsTheFormsAreAsBefore)
{
    const char *const buttons[] = {"btnSch", "btnActVyp", "btnRasxNakl", "btnPrixKas"};
    openWindow();
    std::vector<QByteArray> before;
    for (const char *button : buttons)
        before.push_back(printPdf(button));
    EXPECT_TRUE(imagesOf(before.front()).empty());

    toggle().click();
    for (size_t i = 0; i < std::size(buttons); ++i)
        EXPECT_EQ(printPdf(buttons[i]), before[i]) << buttons[i] << ", on with nothing stored";

    for (const char *slot : {"logo", "stamp", "head", "accountant"})
        store(slot, signaturePng());
    toggle().click();
    for (size_t i = 0; i < std::size(buttons); ++i)
        EXPECT_EQ(printPdf(buttons[i]), before[i]) << buttons[i] << ", off with images stored";
}

TEST_F(StampsPrinting, OnTheInvoiceHoldsTheStampAndTheSignatureOnceEach)
{
    store("stamp", stampJpeg());
    store("head", signaturePng());
    openWindow();
    toggle().click();
    const std::vector<PdfImage> images = imagesOf(printPdf("btnSch"));
    // Each use listed: the JPEG passed through, the signature's pixels and its mask.
    QStringList listed;
    QSet<QString> objects;
    for (const PdfImage &image : images) {
        listed << QStringLiteral("%1 %2x%3 %4")
                      .arg(image.type)
                      .arg(image.width)
                      .arg(image.height)
                      .arg(image.encoding);
        objects.insert(image.type + u' ' + image.object);
    }
    listed.sort();
    EXPECT_EQ(listed, (QStringList{QStringLiteral("image 240x236 jpeg"),
                                   QStringLiteral("image 300x100 image"),
                                   QStringLiteral("smask 300x100 image")}));
    EXPECT_EQ(objects.size(), images.size()) << "each image written once";
}

struct DamageCase {
    const char *what;
    QByteArray (*stored)(); // made once the test runs, when the image codecs are there
};

void PrintTo(const DamageCase &c, std::ostream *os)
{
    *os << c.what;
}

class DamagedImage : public StampsPrinting, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedImage, TheFormPrintsWithoutItAndSaysSoOncePerPrint)
{
    store("stamp", GetParam().stored());
    store("head", signaturePng());
    store("accountant", GetParam().stored());
    openWindow();
    toggle().click();

    // The invoice has no box for the chief accountant: only its own images count.
    prompts.expectInform(QStringLiteral(
        "Изображение «Печать» в базе данных повреждено; бланк печатается без него. Загрузите "
        "его заново в реквизитах компании."));
    std::vector<PdfImage> images = imagesOf(printPdf("btnSch"));
    prompts.verify();
    ASSERT_EQ(images.size(), 2u) << "the signature and its mask";
    for (const PdfImage &image : images)
        EXPECT_EQ(QSize(image.width, image.height), QSize(300, 100));

    prompts.expectInform(QStringLiteral(
        "Изображения «Печать», «Подпись гл. бухгалтера» в базе данных повреждены; бланк "
        "печатается без них. Загрузите их заново в реквизитах компании."));
    images = imagesOf(printPdf("btnRasxNakl"));
    prompts.verify();
    EXPECT_EQ(images.size(), 2u) << "the signature and its mask";

    // A form without pictures reads no image and says nothing.
    EXPECT_TRUE(imagesOf(printPdf("btnSchFac")).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Stored, DamagedImage,
    ::testing::Values(DamageCase{"garbage",
                                 [] { return QByteArray("\x89PNG garbage, not an image"); }},
                      DamageCase{"cut_short", [] { return stampJpeg().left(300); }},
                      DamageCase{"larger_than_any_image",
                                 [] { return QByteArray(BusinessImages::kMaxBytes + 1, '\xff'); }}),
    [](const auto &info) { return std::string(info.param.what); });

} // namespace
