#include "templates/template_loader.h"
#include "templates/template_writer.h"

#include <QBuffer>

#include <gtest/gtest.h>

using namespace zreport;

namespace {

std::unique_ptr<TfrxReport> readBack(const QByteArray &xml)
{
    QByteArray bytes = xml;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QString error;
    auto report = ztemplates::loadTemplate(buffer, QStringLiteral("written.xml"), &error);
    EXPECT_TRUE(report) << error.toStdString() << "\n" << xml.toStdString();
    return report;
}

// Every stored property of two models, object by object; the differences named by path.
class ModelDifferences {
public:
    QStringList list;

    template <typename T> void check(const QString &path, const T &a, const T &b)
    {
        if (!(a == b))
            list << path;
    }

    void component(const QString &path, const TfrxComponent &a, const TfrxComponent &b)
    {
        check(path + ".class", a.className(), b.className());
        check(path + ".Name", a.name, b.name);
        check(path + ".Left", a.left, b.left);
        check(path + ".Top", a.top, b.top);
        check(path + ".Width", a.width, b.width);
        check(path + ".Height", a.height, b.height);
        check(path + ".Font", a.font, b.font);
        check(path + ".ParentFont", a.parentFont, b.parentFont);
        check(path + ".Visible", a.visible, b.visible);
    }

    void view(const QString &path, const TfrxView &a, const TfrxView &b)
    {
        component(path, a, b);
        check(path + ".DataSet", a.dataSetRef, b.dataSetRef);
        check(path + ".DataSetName", a.dataSetName, b.dataSetName);
        check(path + ".DataField", a.dataField, b.dataField);
        check(path + ".Frame", a.frame, b.frame);
        check(path + ".ShiftMode", a.shiftMode, b.shiftMode);
        check(path + ".Color", a.color, b.color);
        check(path + ".ShowHint", a.showHint, b.showHint);
        const auto *memoA = dynamic_cast<const TfrxMemoView *>(&a);
        const auto *memoB = dynamic_cast<const TfrxMemoView *>(&b);
        if (memoA && memoB) {
            const TfrxMemoView &m = *memoA, &n = *memoB;
            check(path + ".StretchMode", m.stretchMode, n.stretchMode);
            check(path + ".TextFormat", static_cast<const TextFormat &>(m),
                  static_cast<const TextFormat &>(n));
            check(path + ".Memo", m.memo, n.memo);
            check(path + ".DisplayFormat", m.displayFormat, n.displayFormat);
            check(path + ".AllowExpressions", m.allowExpressions, n.allowExpressions);
            check(path + ".ExpressionDelimiters", m.expressionDelimiters, n.expressionDelimiters);
            check(path + ".Rotation", m.rotation, n.rotation);
            check(path + ".HideZeros", m.hideZeros, n.hideZeros);
            check(path + ".SuppressRepeated", m.suppressRepeated, n.suppressRepeated);
            check(path + ".AutoWidth", m.autoWidth, n.autoWidth);
            check(path + ".AllowHTMLTags", m.allowHTMLTags, n.allowHTMLTags);
            check(path + ".WordBreak", m.wordBreak, n.wordBreak);
            check(path + ".Highlight", m.highlightCondition, n.highlightCondition);
        }
        const auto *pictureA = dynamic_cast<const TfrxPictureView *>(&a);
        const auto *pictureB = dynamic_cast<const TfrxPictureView *>(&b);
        if (pictureA && pictureB) {
            check(path + ".ImageName", pictureA->imageName, pictureB->imageName);
            check(path + ".KeepAspectRatio", pictureA->keepAspectRatio, pictureB->keepAspectRatio);
        }
    }

    void band(const QString &path, const TfrxBand &a, const TfrxBand &b)
    {
        component(path, a, b);
        check(path + ".Stretched", a.stretched, b.stretched);
        check(path + ".Child", a.child, b.child);
        check(path + ".KeepChild", a.keepChild, b.keepChild);
        check(path + ".PrintChildIfInvisible", a.printChildIfInvisible, b.printChildIfInvisible);
        check(path + ".StartNewPage", a.startNewPage, b.startNewPage);
        check(path + ".AllowSplit", a.allowSplit, b.allowSplit);
        if (const auto *h = dynamic_cast<const TfrxHeader *>(&a))
            check(path + ".ReprintOnNewPage", h->reprintOnNewPage,
                  dynamic_cast<const TfrxHeader &>(b).reprintOnNewPage);
        if (const auto *d = dynamic_cast<const TfrxDataBand *>(&a)) {
            const auto &e = dynamic_cast<const TfrxDataBand &>(b);
            check(path + ".DataSet", d->dataSetRef, e.dataSetRef);
            check(path + ".DataSetName", d->dataSetName, e.dataSetName);
            check(path + ".RowCount", d->rowCount, e.rowCount);
            check(path + ".FooterAfterEach", d->footerAfterEach, e.footerAfterEach);
            check(path + ".KeepFooter", d->keepFooter, e.keepFooter);
            check(path + ".KeepHeader", d->keepHeader, e.keepHeader);
            check(path + ".KeepTogether", d->keepTogether, e.keepTogether);
            check(path + ".PrintIfDetailEmpty", d->printIfDetailEmpty, e.printIfDetailEmpty);
        }
        if (const auto *f = dynamic_cast<const TfrxPageFooter *>(&a)) {
            const auto &g = dynamic_cast<const TfrxPageFooter &>(b);
            check(path + ".PrintOnFirstPage", f->printOnFirstPage, g.printOnFirstPage);
            check(path + ".PrintOnLastPage", f->printOnLastPage, g.printOnLastPage);
        }
        check(path + ".objects", a.objects.size(), b.objects.size());
        for (size_t i = 0; i < std::min(a.objects.size(), b.objects.size()); ++i)
            view(path + "/" + a.objects[i]->name, *a.objects[i], *b.objects[i]);
    }

    void report(const TfrxReport &a, const TfrxReport &b)
    {
        component("report", a, b);
        check("report.ScriptText", a.scriptText, b.scriptText);
        check("report.ScriptLanguage", a.scriptLanguage, b.scriptLanguage);
        check("report.Version", a.version, b.version);
        check("report.DotMatrixReport", a.dotMatrixReport, b.dotMatrixReport);
        check("report.IniFile", a.iniFile, b.iniFile);
        const PreviewOptions &p = a.previewOptions, &q = b.previewOptions;
        check("report.PreviewOptions",
              std::tuple(p.buttons, p.zoom, p.zoomMode, p.allowEdit, p.maximized, p.modal,
                         p.mdiChild, p.showCaptions, p.doubleBuffered, p.pagesInCache),
              std::tuple(q.buttons, q.zoom, q.zoomMode, q.allowEdit, q.maximized, q.modal,
                         q.mdiChild, q.showCaptions, q.doubleBuffered, q.pagesInCache));
        const PrintOptions &o = a.printOptions, &r = b.printOptions;
        check("report.PrintOptions",
              std::tuple(o.printer, o.copies, o.collate, o.showDialog, o.printOnSheet),
              std::tuple(r.printer, r.copies, r.collate, r.showDialog, r.printOnSheet));
        const EngineOptions &e = a.engineOptions, &f = b.engineOptions;
        check("report.EngineOptions", std::tuple(e.convertNulls, e.doublePass, e.printIfEmpty),
              std::tuple(f.convertNulls, f.doublePass, f.printIfEmpty));
        check("report.Datasets", a.datasets.size(), b.datasets.size());
        for (size_t i = 0; i < std::min(a.datasets.size(), b.datasets.size()); ++i)
            check("report.Datasets." + a.datasets[i].dataSetName,
                  std::tuple(a.datasets[i].dataSetRef, a.datasets[i].dataSetName),
                  std::tuple(b.datasets[i].dataSetRef, b.datasets[i].dataSetName));
        check("report.TfrxDBDataset", a.windowDatasets.size(), b.windowDatasets.size());
        for (size_t i = 0; i < std::min(a.windowDatasets.size(), b.windowDatasets.size()); ++i) {
            const TfrxDBDataset &d = *a.windowDatasets[i], &g = *b.windowDatasets[i];
            component("report/" + d.name, d, g);
            check("report/" + d.name,
                  std::tuple(d.userName, d.dataSource, d.dataSetRef, d.closeDataSource,
                             d.bcdToCurrency, d.enabled, d.rangeBegin, d.rangeEnd),
                  std::tuple(g.userName, g.dataSource, g.dataSetRef, g.closeDataSource,
                             g.bcdToCurrency, g.enabled, g.rangeBegin, g.rangeEnd));
        }
        check("report.pages", a.pages.size(), b.pages.size());
        for (size_t i = 0; i < std::min(a.pages.size(), b.pages.size()); ++i) {
            const QString path = "report/" + a.pages[i]->name;
            component(path, *a.pages[i], *b.pages[i]);
            const auto *p = dynamic_cast<const TfrxReportPage *>(a.pages[i].get());
            const auto *s = dynamic_cast<const TfrxReportPage *>(b.pages[i].get());
            if (!p || !s)
                continue;
            check(path + ".settings", p->settings, s->settings);
            check(path + ".TitleBeforeHeader", p->titleBeforeHeader, s->titleBeforeHeader);
            check(path + ".PrintIfEmpty", p->printIfEmpty, s->printIfEmpty);
            check(path + ".PageCount", p->pageCount, s->pageCount);
            check(path + ".bands", p->bands.size(), s->bands.size());
            for (size_t j = 0; j < std::min(p->bands.size(), s->bands.size()); ++j)
                band(path + "/" + p->bands[j]->name, *p->bands[j], *s->bands[j]);
        }
    }
};

QStringList differences(const TfrxReport &a, const TfrxReport &b)
{
    ModelDifferences d;
    d.report(a, b);
    return d.list;
}

TEST(TemplateWriter, EveryBuiltinTemplateReadsBackEqual)
{
    const QStringList names = ztemplates::builtinTemplateNames();
    ASSERT_FALSE(names.isEmpty());
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        QString error;
        const auto original = ztemplates::loadBuiltinTemplate(name, &error);
        ASSERT_TRUE(original) << error.toStdString();
        const QByteArray written = ztemplates::writeTemplate(*original);
        const auto again = readBack(written);
        ASSERT_TRUE(again);
        EXPECT_EQ(differences(*original, *again).join(", ").toStdString(), "");
        // Written again, the same bytes: nothing drifts from one save to the next.
        EXPECT_EQ(ztemplates::writeTemplate(*again), written);
    }
}

// Texts with what XML escapes, quotes, Cyrillic, blanks at the ends and several lines;
// properties that only some objects set, each away from its default.
TEST(TemplateWriter, TextsAndPropertiesAwayFromTheirDefaultsReadBackEqual)
{
    const QByteArray xml = R"(<TfrxReport Name="r" PreviewOptions.Buttons="[pbPrint,pbNoEmail]"
    EngineOptions.DoublePass="True" PrintOptions.Copies="3" Font.Name="Times New Roman">
  <TfrxReportPage Name="Page1" Orientation="poLandscape" PaperSize="9" LeftMargin="12.5"
      TopMargin="7" Font.Size="9">
    <TfrxReportTitle Name="Title" Height="40">
      <TfrxMemoView Name="Quotes" Left="1.25mm" Width="100" Height="20"
          Frame.Typ="[ftLeft,ftBottom]" Frame.Width="2" Frame.BottomLine.Style="fsDouble"
          Frame.LeftLine.Color="$000000FF" Color="#F0F0F0" HAlign="haBlock" WordWrap="False"
          StretchMode="smMaxHeight" DisplayFormat.Kind="fkNumeric" DisplayFormat.FormatStr="%2.2n"
          Font.Style="[fsBold,fsItalic]" Font.Color="clRed">
        <Memo><Line>Товар получен в "полном" объеме &amp; &lt;претензий&gt; 'нет'</Line><Line/><Line>  [DSetDocs."NUMSCH"]  </Line></Memo>
      </TfrxMemoView>
      <TfrxMemoView Name="Own" Width="10" Height="10" ParentFont="False"/>
      <TfrxPictureView Name="Logo" Width="50" Height="50" ImageName="logo"
          KeepAspectRatio="False" Visible="False"/>
    </TfrxReportTitle>
    <TfrxPageFooter Name="Foot" Top="300" Height="20" PrintOnFirstPage="False"/>
  </TfrxReportPage>
</TfrxReport>)";
    const auto original = readBack(xml);
    ASSERT_TRUE(original);
    const auto again = readBack(ztemplates::writeTemplate(*original));
    ASSERT_TRUE(again);
    EXPECT_EQ(differences(*original, *again).join(", ").toStdString(), "");
    const auto &memo = dynamic_cast<const TfrxMemoView &>(
        *again->reportPages().front()->bands.front()->objects.front());
    EXPECT_EQ(memo.memo, QStringList({"Товар получен в \"полном\" объеме & <претензий> 'нет'", "",
                                      "  [DSetDocs.\"NUMSCH\"]  "}));
}

} // namespace
