// The stamp and the signatures on the printed forms: in place when given, absent otherwise.

#include "builtin_run.h"
#include "encoded_image.h"
#include "pdf_images.h"

#include "report/report_output.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QTemporaryDir>

using namespace zreport;

namespace {

// A blue ring for the stamp, a green stroke for the signature, both on transparency; a red
// block for the logo, a JPEG as photographs come.
QHash<QString, QByteArray> businessImages()
{
    const QImage stamp = transparentRing(300, Qt::blue, 14, 10);
    const QImage signature = signatureStroke(Qt::green, 8);
    QImage logo(400, 80, QImage::Format_RGB32);
    logo.fill(Qt::red);
    return {{"stamp", encodedImage(stamp, "PNG")},
            {"head", encodedImage(signature, "PNG")},
            {"accountant", encodedImage(signature, "PNG")},
            {"logo", encodedImage(logo, "JPG")}};
}

// How many pixels of `colour` (nearly) lie in the rectangle, given in millimetres of the sheet.
int pixelsOf(const QImage &page, QRgb colour, QRectF mm, int dpi)
{
    const double perMm = dpi / 25.4;
    const QRect area(int(mm.left() * perMm), int(mm.top() * perMm), int(mm.width() * perMm),
                     int(mm.height() * perMm));
    int count = 0;
    for (int y = area.top(); y <= area.bottom() && y < page.height(); ++y) {
        for (int x = area.left(); x <= area.right() && x < page.width(); ++x) {
            const QRgb p = page.pixel(x, y);
            count += std::abs(qRed(p) - qRed(colour)) + std::abs(qGreen(p) - qGreen(colour)) +
                                 std::abs(qBlue(p) - qBlue(colour)) <
                             120
                         ? 1
                         : 0;
        }
    }
    return count;
}

struct FormCase {
    const char *form;
    int pictures;           // on the form: the logo, the stamps and the signatures
    bool logo = false;      // in the head of the first page
    bool orderRows = false; // the cash receipt order, the power of attorney, the payment order
};

class FormImages : public ::testing::TestWithParam<FormCase> {};

TEST_P(FormImages, StampAndSignatureInTheirPlacesAndNothingWithoutThem)
{
    const RussianLocale locale;
    const SampleData data(3);
    const OrderRows orderRows(sample::OrderDocument{}, 3);
    const DataSources sources = GetParam().orderRows ? orderRows.sources() : data.sources();
    const QString form = QString::fromLatin1(GetParam().form);
    const ReportRun plain = runBuiltin(form, sources);
    const ReportRun stamped = runBuiltin(form, sources, businessImages());
    ASSERT_TRUE(plain.ok && stamped.ok);

    // Everything but the pictures is where it was.
    int pictures = 0;
    for (int p = 0; p < plain.prepared().pageCount(); ++p) {
        const PreparedPage &a = plain.prepared().pages()[size_t(p)];
        const PreparedPage &b = stamped.prepared().pages()[size_t(p)];
        std::vector<QRectF> textBoxes, withPictures;
        for (const PreparedObject &o : a.objects)
            textBoxes.emplace_back(o.left, o.top, o.width, o.height);
        for (const PreparedObject &o : b.objects) {
            if (o.image >= 0)
                ++pictures;
            else
                withPictures.emplace_back(o.left, o.top, o.width, o.height);
        }
        EXPECT_EQ(withPictures, textBoxes);
    }
    EXPECT_EQ(pictures, GetParam().pictures);

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("form.pdf"));
    QString error;
    ASSERT_TRUE(savePreparedPdf(stamped.prepared(), pdf, &error)) << error.toStdString();
    // Listed once per use; each image and each mask is one object of the file. The two
    // signatures are the same image here, so the form holds two images and their masks, and
    // the logo without a mask.
    QSet<QString> objects;
    for (const PdfImage &image : pdfImages(pdf))
        objects.insert(image.type + QLatin1Char(' ') + image.object);
    EXPECT_EQ(objects.size(), GetParam().logo ? 5 : 4);

    const int dpi = 100;
    const QString prefix = dir.filePath(QStringLiteral("page"));
    ASSERT_TRUE(savePreparedPngs(stamped.prepared(), prefix, dpi, &error));
    const QImage last(prefix + QStringLiteral("-%1.png").arg(stamped.prepared().pageCount()));
    ASSERT_FALSE(last.isNull());
    if (qEnvironmentVariableIsSet("ZARNIK_KEEP_FORM_PNG"))
        last.save(QStringLiteral("/tmp/%1-images.png").arg(form));
    EXPECT_GT(pixelsOf(last, qRgb(0, 0, 255), QRectF(0, 0, 300, 300), dpi), 100);
    EXPECT_GT(pixelsOf(last, qRgb(0, 255, 0), QRectF(0, 0, 300, 300), dpi), 30);
    // The logo in the head, left of the document's number.
    const QImage first(prefix + QStringLiteral("-1.png"));
    EXPECT_EQ(pixelsOf(first, qRgb(255, 0, 0), QRectF(13, 60, 60, 30), dpi) > 1000,
              GetParam().logo);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, FormImages,
    ::testing::Values(FormCase{"repSchet", 3, true}, FormCase{"repSchet_beznds", 3, true},
                      FormCase{"repActAlb", 2}, FormCase{"repActKn", 2}, FormCase{"repNaklAlb", 3},
                      FormCase{"repNaklKn", 3}, FormCase{"repPrix", 3, false, true},
                      FormCase{"repDov", 3, false, true}, FormCase{"repPlat", 6, false, true}),
    [](const auto &info) { return std::string(info.param.form); });

} // namespace
