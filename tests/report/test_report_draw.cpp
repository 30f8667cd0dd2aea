#include "report/page_painting.h"
#include "report/report_draw.h"
#include "report/report_output.h"
#include "report_fixture.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

using namespace zreport;

namespace {

// One memo on a page with no margins, drawn on a white image at `scale` pixels per unit.
class DrawnMemo {
public:
    DrawnMemo(const QString &attributes, const QString &text, double scale = 1)
    {
        m_rows = numberRows({1});
        m_run = runReport(reportXml(masterDataXml(100).arg(
                              memoXml("M", "Left=\"20\" Top=\"20\" " + attributes, text))),
                          {{"src", m_rows.get()}});
        const PreparedPage &page = m_run.prepared().pages().front();
        image = QImage(int(200 * scale), int(150 * scale), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        drawPreparedPage(painter, m_run.prepared(), page, scale, scale);
    }

    bool dark(int x, int y) const { return qGray(image.pixel(x, y)) < 128; }
    // Columns with ink between rows y0 and y1 (exclusive), within x0..x1.
    QPair<int, int> inkColumns(int x0, int x1, int y0, int y1) const
    {
        int first = -1, last = -1;
        for (int x = x0; x < x1; ++x) {
            for (int y = y0; y < y1; ++y) {
                if (qGray(image.pixel(x, y)) < 160) {
                    if (first < 0)
                        first = x;
                    last = x;
                    break;
                }
            }
        }
        return {first, last};
    }

    QImage image;

private:
    std::unique_ptr<MemoryRows> m_rows;
    ReportRun m_run;
};

TEST(Drawing, SolidFrameLiesOnTheObjectEdges)
{
    const DrawnMemo memo(
        "Width=\"100\" Height=\"40\" Frame.Typ=\"[ftLeft,ftRight,ftTop,ftBottom]\"", "");
    EXPECT_TRUE(memo.dark(20, 30));  // left
    EXPECT_TRUE(memo.dark(120, 30)); // right
    EXPECT_TRUE(memo.dark(70, 20));  // top
    EXPECT_TRUE(memo.dark(70, 60));  // bottom
    EXPECT_FALSE(memo.dark(70, 40)); // inside
    EXPECT_FALSE(memo.dark(18, 30)); // outside
}

TEST(Drawing, OnlyTheStoredSidesAreDrawn)
{
    const DrawnMemo memo("Width=\"100\" Height=\"40\" Frame.Typ=\"[ftBottom]\"", "");
    EXPECT_TRUE(memo.dark(70, 60));
    EXPECT_FALSE(memo.dark(20, 40));
    EXPECT_FALSE(memo.dark(70, 20));
}

TEST(Drawing, TextIsClippedToItsRectangle)
{
    // A 10-point line is 15 units high; the memo is 8 high: nothing below 20 + 8 + 1.
    const DrawnMemo memo("Width=\"100\" Height=\"8\" WordWrap=\"False\"", "ЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖ");
    EXPECT_EQ(memo.inkColumns(0, 200, 30, 150).first, -1);
    const auto ink = memo.inkColumns(0, 200, 20, 30);
    EXPECT_GE(ink.first, 22);
    EXPECT_LE(ink.second, 120);
}

TEST(Drawing, HorizontalAlignmentPlacesTheLine)
{
    const auto inkOf = [](const char *align) {
        const DrawnMemo memo(QStringLiteral("Width=\"100\" Height=\"20\" HAlign=\"%1\"").arg(align),
                             "0000");
        return memo.inkColumns(0, 200, 20, 40);
    };
    const auto left = inkOf("haLeft"), center = inkOf("haCenter"), right = inkOf("haRight");
    EXPECT_NEAR(left.first, 22, 2);
    EXPECT_NEAR(right.second, 118, 2);
    EXPECT_NEAR((center.first + center.second) / 2.0, 70, 2);
}

TEST(Drawing, AFillDrawnLaterCoversTheTextBeneathIt)
{
    // Fills and frames are drawn before text where that changes nothing; here it would.
    auto rows = numberRows({1});
    const QString memos =
        memoXml("Text", "Left=\"20\" Top=\"20\" Width=\"100\" Height=\"20\"", "ЖЖЖЖЖЖЖЖ") +
        memoXml("Cover", "Left=\"10\" Top=\"10\" Width=\"150\" Height=\"40\" Color=\"clRed\"", "");
    const ReportRun run =
        runReport(reportXml(masterDataXml(100).arg(memos)), {{"src", rows.get()}});
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    drawPreparedPage(painter, run.prepared(), run.prepared().pages().front(), 1, 1);
    painter.end();
    for (int y = 12; y < 48; ++y) {
        for (int x = 12; x < 158; ++x)
            ASSERT_EQ(image.pixel(x, y), qRgb(255, 0, 0)) << x << "," << y;
    }
}

TEST(Drawing, LineWidthsScaleWithTheDevice)
{
    // The same text drawn at 1x and 4x covers four times the width: widths come from the
    // 600-dpi layout, not from the device's own font metrics.
    const QString text = QStringLiteral("Счет на оплату 12345");
    const DrawnMemo small("Width=\"150\" Height=\"20\"", text, 1);
    const DrawnMemo large("Width=\"150\" Height=\"20\"", text, 4);
    const auto a = small.inkColumns(0, 200, 20, 40);
    const auto b = large.inkColumns(0, 800, 80, 160);
    EXPECT_NEAR((b.second - b.first) / 4.0, a.second - a.first, 2.0);
}

// Three rows, each a band as high as the 100-mm page.
struct ThreePages {
    ThreePages()
    {
        const QString bands =
            masterDataXml(300).arg(memoXml("M", "Width=\"100\" Height=\"20\"", "Строка [Line]"));
        run = runReport(reportXml(bands), {{"src", rows.get()}});
    }
    std::unique_ptr<MemoryRows> rows = numberRows({1, 2, 3});
    ReportRun run;
};

TEST(Output, PdfHasOnePagePerPreparedPageWithRealText)
{
    const ThreePages pages;
    const ReportRun &run = pages.run;
    ASSERT_EQ(run.prepared().pageCount(), 3);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    QString error;
    ASSERT_TRUE(savePreparedPdf(run.prepared(), pdf, &error)) << error.toStdString();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page "), 3);
    EXPECT_TRUE(bytes.contains("/ToUnicode"));         // text can be selected and searched
    EXPECT_TRUE(bytes.contains("/MediaBox [0 0 283")); // 100 mm in whole points

    ASSERT_TRUE(savePreparedPngs(run.prepared(), dir.filePath(QStringLiteral("page")), 50, &error));
    const QImage second(dir.filePath(QStringLiteral("page-2.png")));
    EXPECT_EQ(second.size(), QSize(197, 197)); // 100 mm at 50 dpi
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("page-4.png"))));
}

TEST(Output, PaintingChosenPagesStopsWhenAsked)
{
    const ThreePages pages;
    const ReportRun &run = pages.run;
    ASSERT_EQ(run.prepared().pageCount(), 3);
    const auto paint = [&](const PagePainting &painting, QString *error) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        const bool ok = paintPreparedPages(run.prepared(), writer, painting, error);
        const QByteArray bytes = buffer.data();
        return std::pair(ok, bytes.count("/Type /Page\n") + bytes.count("/Type /Page "));
    };

    std::vector<std::pair<int, int>> sheets;
    PagePainting chosen;
    chosen.pages = {2, 0, 2};
    chosen.beforePage = [&](int sheet, int page) {
        sheets.emplace_back(sheet, page);
        return true;
    };
    QString error;
    EXPECT_EQ(paint(chosen, &error), std::pair(true, qsizetype(3)));
    EXPECT_EQ(sheets, (std::vector<std::pair<int, int>>{{0, 2}, {1, 0}, {2, 2}}));

    // A job cancelled before its second sheet ends with no error to show.
    error = QStringLiteral("untouched");
    PagePainting cancelled;
    cancelled.beforePage = [](int sheet, int) { return sheet < 1; };
    EXPECT_FALSE(paint(cancelled, &error).first);
    EXPECT_TRUE(error.isEmpty());

    PagePainting beyondTheLast;
    beyondTheLast.pages = {0, 3};
    EXPECT_FALSE(paint(beyondTheLast, &error).first);
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
