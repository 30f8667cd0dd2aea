#pragma once

// Reports, answered questions and tools shared by the preview's tests.

#include "export_fixture.h"

#include "report/preview/preview_hooks.h"
#include "report/preview/preview_window.h"

#include <QDialog>

#include <deque>
#include <functional>

// A report over the rows of "src": one title line and one band per row on pages `heightMm`
// high; each row prints "Строка N".
inline QString rowsReportXml(double heightMm = 100)
{
    return reportXml(QStringLiteral(R"(
<TfrxReportTitle Name="T" Top="0" Width="377.953" Height="20">%1</TfrxReportTitle>
<TfrxMasterData Name="B" Top="40" Width="377.953" Height="20" DataSet="D">%2</TfrxMasterData>)")
                         .arg(memoXml("Title", R"(Left="0" Top="0" Width="300" Height="20")",
                                      "Заголовок отчета: ТОО «Құрылыс-Өнім»"),
                              memoXml("Row", R"(Left="10" Top="0" Width="300" Height="20")",
                                      "Строка [D.\"N\"]")),
                     heightMm);
}

// Two pages from two report pages: an A4 portrait page and an A4 landscape page.
inline QString twoPageReportXml()
{
    return QStringLiteral(R"(<TfrxReport Name="r">
  <TfrxReportPage Name="P1" PaperWidth="210" PaperHeight="297" LeftMargin="10" TopMargin="10">
    <TfrxReportTitle Name="T1" Top="0" Width="700" Height="40">%1</TfrxReportTitle>
  </TfrxReportPage>
  <TfrxReportPage Name="P2" Orientation="poLandscape" PaperWidth="297" PaperHeight="210" LeftMargin="10" TopMargin="10">
    <TfrxReportTitle Name="T2" Top="0" Width="1000" Height="40">%2</TfrxReportTitle>
  </TfrxReportPage>
</TfrxReport>)")
        .arg(memoXml("M1", R"(Left="0" Top="0" Width="600" Height="30")", "Первая страница"),
             memoXml("M2", R"(Left="0" Top="0" Width="600" Height="30")", "Вторая страница"));
}

// Answers the preview's questions in place of the user and keeps every message shown.
struct ScriptedUser {
    QStringList messages;
    QStringList captions;
    // Each dialog the preview opens is handed to the next of these (Rejected when none is left).
    std::deque<std::function<int(QDialog &)>> dialogs;
    QString saveName;
    QString openName;
    QStringList dialogTitles;

    zpreview::PreviewHooks hooks()
    {
        zpreview::PreviewHooks h;
        h.runDialog = [this](QDialog &dialog) {
            dialogTitles << dialog.windowTitle();
            if (dialogs.empty())
                return int(QDialog::Rejected);
            auto next = std::move(dialogs.front());
            dialogs.pop_front();
            return next(dialog);
        };
        h.message = [this](QWidget *, const QString &text, const QString &caption) {
            messages << text;
            captions << caption;
        };
        h.saveFileName = [this](QWidget *, const QString &, const QString &, const QString &) {
            return saveName;
        };
        h.openFileName = [this](QWidget *, const QString &, const QString &) { return openName; };
        return h;
    }
};

template <typename T> T *child(QObject *parent, const char *name)
{
    T *found = parent->findChild<T *>(QString::fromLatin1(name));
    EXPECT_TRUE(found) << name;
    return found;
}

// "Pages: 2" and "Page    2 size: 841.89 x 595.276 pts (A4)" lines of pdfinfo.
struct PdfInfo {
    int pages = 0;
    std::vector<QSizeF> sizes; // points
};
inline std::optional<PdfInfo> pdfInfo(const QString &path)
{
    const QString out =
        toolOutput(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"),
                                               QStringLiteral("-l"), QStringLiteral("9999"), path});
    if (out.isNull())
        return std::nullopt;
    PdfInfo info;
    for (const QString &line : out.split(QLatin1Char('\n'))) {
        const QStringList words = line.simplified().split(QLatin1Char(' '));
        if (words.size() >= 2 && words[0] == QLatin1String("Pages:"))
            info.pages = words[1].toInt();
        else if (words.size() >= 6 && words[0] == QLatin1String("Page") && words[2] == "size:")
            info.sizes.emplace_back(words[3].toDouble(), words[5].toDouble());
    }
    return info;
}
