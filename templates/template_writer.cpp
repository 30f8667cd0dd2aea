#include "template_writer.h"

#include "report/report_units.h"

#include <QLocale>
#include <QXmlStreamWriter>

#include <cmath>

namespace ztemplates {

using namespace zreport;

namespace {

QString number(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

// A length as templates are written by hand, in millimetres ("13mm"), when that reads back as
// the very same number; else in units.
QString lengthText(double units)
{
    const double mm = std::round(units / kUnitsPerMm * 1000) / 1000;
    if (mmToUnits(mm) == units)
        return number(mm) + QStringLiteral("mm");
    return number(units);
}

QString boolean(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString color(const QColor &value)
{
    return value.isValid() ? value.name(QColor::HexRgb).toUpper() : QStringLiteral("clNone");
}

QString setText(unsigned bits, const QStringList &names)
{
    QStringList members;
    for (int i = 0; i < names.size(); ++i) {
        if (bits & (1u << i))
            members << names[i];
    }
    return QLatin1Char('[') + members.join(QLatin1Char(',')) + QLatin1Char(']');
}

// Attributes of one element, each only when its value differs from the class default.
class Attributes {
public:
    explicit Attributes(QXmlStreamWriter &xml) : m_xml(xml) {}

    void text(const QString &name, const QString &value, const QString &standard)
    {
        if (value != standard)
            m_xml.writeAttribute(name, value);
    }
    // A length of an object (units, or millimetres with "mm").
    void length(const QString &name, double value, double standard)
    {
        if (value != standard)
            m_xml.writeAttribute(name, lengthText(value));
    }
    void real(const QString &name, double value, double standard)
    {
        if (value != standard)
            m_xml.writeAttribute(name, number(value));
    }
    void integer(const QString &name, int value, int standard)
    {
        if (value != standard)
            m_xml.writeAttribute(name, QString::number(value));
    }
    void flag(const QString &name, bool value, bool standard)
    {
        if (value != standard)
            m_xml.writeAttribute(name, boolean(value));
    }
    void colour(const QString &name, const QColor &value, const QColor &standard)
    {
        if (value != standard)
            m_xml.writeAttribute(name, color(value));
    }
    template <typename E>
    void enumeration(const QString &name, E value, E standard, const QStringList &names)
    {
        if (value != standard)
            m_xml.writeAttribute(name, enumName(names, value));
    }

private:
    QXmlStreamWriter &m_xml;
};

void writeFont(Attributes &a, const ReportFont &font)
{
    const ReportFont standard;
    a.text("Font.Name", font.name, standard.name);
    a.integer("Font.Height", font.height, standard.height);
    const unsigned style = (font.bold ? 1 : 0) | (font.italic ? 2 : 0) | (font.underline ? 4 : 0) |
                           (font.strikeOut ? 8 : 0);
    if (style != 0)
        a.text("Font.Style", setText(style, {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}),
               QString());
    a.colour("Font.Color", font.color, standard.color);
    a.integer("Font.Charset", font.charset, standard.charset);
}

// A component's own properties; a font of its own makes it stop taking its parent's.
void writeComponent(QXmlStreamWriter &xml, const TfrxComponent &component,
                    const TfrxComponent &standard)
{
    Attributes a(xml);
    xml.writeAttribute(QStringLiteral("Name"), component.name);
    a.length("Left", component.left, standard.left);
    a.length("Top", component.top, standard.top);
    a.length("Width", component.width, standard.width);
    a.length("Height", component.height, standard.height);
    a.flag("Visible", component.visible, standard.visible);
    if (component.parentFont)
        return;
    if (component.font == ReportFont())
        xml.writeAttribute(QStringLiteral("ParentFont"), boolean(false));
    else
        writeFont(a, component.font);
}

void writeFrameLine(Attributes &a, const QString &prefix, const FrameLine &line, const Frame &frame)
{
    a.colour(prefix + QStringLiteral(".Color"), line.color, frame.color);
    a.enumeration(prefix + QStringLiteral(".Style"), line.style, frame.style,
                  frameLineStyleNames());
    a.real(prefix + QStringLiteral(".Width"), line.width, frame.width);
}

void writeView(QXmlStreamWriter &xml, const TfrxView &view, const TfrxView &standard)
{
    Attributes a(xml);
    a.text("DataSet", view.dataSetRef, standard.dataSetRef);
    a.text("DataSetName", view.dataSetName, standard.dataSetName);
    a.text("DataField", view.dataField, standard.dataField);
    a.enumeration("ShiftMode", view.shiftMode, standard.shiftMode, shiftModeNames());
    a.colour("Color", view.color, standard.color);
    a.flag("ShowHint", view.showHint, standard.showHint);
    const Frame &f = view.frame;
    const Frame &s = standard.frame;
    if (f.typ != s.typ)
        xml.writeAttribute(QStringLiteral("Frame.Typ"), setText(f.typ, frameSideNames()));
    // The frame's width, style and colour go to all four lines; the lines' own differences
    // follow them.
    a.real("Frame.Width", f.width, s.width);
    a.enumeration("Frame.Style", f.style, s.style, frameLineStyleNames());
    a.colour("Frame.Color", f.color, s.color);
    a.flag("Frame.DropShadow", f.dropShadow, s.dropShadow);
    a.real("Frame.ShadowWidth", f.shadowWidth, s.shadowWidth);
    writeFrameLine(a, "Frame.LeftLine", f.leftLine, f);
    writeFrameLine(a, "Frame.TopLine", f.topLine, f);
    writeFrameLine(a, "Frame.RightLine", f.rightLine, f);
    writeFrameLine(a, "Frame.BottomLine", f.bottomLine, f);
}

void writeLines(QXmlStreamWriter &xml, const QString &element, const QStringList &lines)
{
    xml.writeStartElement(element);
    for (const QString &line : lines)
        xml.writeTextElement(QStringLiteral("Line"), line);
    xml.writeEndElement();
}

void writeMemo(QXmlStreamWriter &xml, const TfrxMemoView &memo)
{
    static const TfrxMemoView standard;
    xml.writeStartElement(memo.className());
    writeComponent(xml, memo, standard);
    writeView(xml, memo, standard);
    Attributes a(xml);
    a.enumeration("StretchMode", memo.stretchMode, standard.stretchMode, stretchModeNames());
    const DisplayFormat &d = memo.displayFormat;
    const DisplayFormat &sd = standard.displayFormat;
    a.enumeration("DisplayFormat.Kind", d.kind, sd.kind, formatKindNames());
    a.text("DisplayFormat.FormatStr", d.formatStr, sd.formatStr);
    a.text("DisplayFormat.DecimalSeparator", d.decimalSeparator, sd.decimalSeparator);
    a.text("DisplayFormat.ThousandSeparator", d.thousandSeparator, sd.thousandSeparator);
    a.enumeration("HAlign", memo.hAlign, standard.hAlign, hAlignNames());
    a.enumeration("VAlign", memo.vAlign, standard.vAlign, vAlignNames());
    a.flag("WordWrap", memo.wordWrap, standard.wordWrap);
    a.flag("AllowExpressions", memo.allowExpressions, standard.allowExpressions);
    a.text("ExpressionDelimiters", memo.expressionDelimiters, standard.expressionDelimiters);
    a.length("GapX", memo.gapX, standard.gapX);
    a.length("GapY", memo.gapY, standard.gapY);
    a.length("LineSpacing", memo.lineSpacing, standard.lineSpacing);
    a.length("ParagraphGap", memo.paragraphGap, standard.paragraphGap);
    a.length("CharSpacing", memo.charSpacing, standard.charSpacing);
    a.flag("Clipped", memo.clipped, standard.clipped);
    a.flag("Wysiwyg", memo.wysiwyg, standard.wysiwyg);
    a.integer("Rotation", memo.rotation, standard.rotation);
    a.flag("HideZeros", memo.hideZeros, standard.hideZeros);
    a.flag("SuppressRepeated", memo.suppressRepeated, standard.suppressRepeated);
    a.flag("AutoWidth", memo.autoWidth, standard.autoWidth);
    a.flag("AllowHTMLTags", memo.allowHTMLTags, standard.allowHTMLTags);
    a.flag("WordBreak", memo.wordBreak, standard.wordBreak);
    a.text("Highlight.Condition", memo.highlightCondition, standard.highlightCondition);
    // As elements, one per line: blanks at the ends of a line survive, as do line breaks.
    if (!memo.memo.isEmpty())
        writeLines(xml, QStringLiteral("Memo"), memo.memo);
    xml.writeEndElement();
}

void writePicture(QXmlStreamWriter &xml, const TfrxPictureView &picture)
{
    static const TfrxPictureView standard;
    xml.writeStartElement(picture.className());
    writeComponent(xml, picture, standard);
    writeView(xml, picture, standard);
    Attributes a(xml);
    a.text("ImageName", picture.imageName, standard.imageName);
    a.flag("KeepAspectRatio", picture.keepAspectRatio, standard.keepAspectRatio);
    xml.writeEndElement();
}

void writeObjectElement(QXmlStreamWriter &xml, const TfrxView &view)
{
    if (const auto *memo = dynamic_cast<const TfrxMemoView *>(&view))
        writeMemo(xml, *memo);
    else if (const auto *picture = dynamic_cast<const TfrxPictureView *>(&view))
        writePicture(xml, *picture);
}

void writeBand(QXmlStreamWriter &xml, const TfrxBand &band)
{
    // Each kind of band compared with a band of its own kind.
    std::unique_ptr<TfrxBand> standard;
    switch (band.kind()) {
    case BandKind::ReportTitle:
        standard = std::make_unique<TfrxReportTitle>();
        break;
    case BandKind::Header:
        standard = std::make_unique<TfrxHeader>();
        break;
    case BandKind::MasterData:
        standard = std::make_unique<TfrxMasterData>();
        break;
    case BandKind::Footer:
        standard = std::make_unique<TfrxFooter>();
        break;
    case BandKind::PageFooter:
        standard = std::make_unique<TfrxPageFooter>();
        break;
    }
    xml.writeStartElement(band.className());
    writeComponent(xml, band, *standard);
    Attributes a(xml);
    a.flag("Stretched", band.stretched, standard->stretched);
    a.text("Child", band.child, standard->child);
    a.flag("KeepChild", band.keepChild, standard->keepChild);
    a.flag("PrintChildIfInvisible", band.printChildIfInvisible, standard->printChildIfInvisible);
    a.flag("StartNewPage", band.startNewPage, standard->startNewPage);
    a.flag("AllowSplit", band.allowSplit, standard->allowSplit);
    if (const auto *header = dynamic_cast<const TfrxHeader *>(&band))
        a.flag("ReprintOnNewPage", header->reprintOnNewPage, false);
    if (const auto *data = dynamic_cast<const TfrxDataBand *>(&band)) {
        const TfrxMasterData s;
        a.text("DataSet", data->dataSetRef, s.dataSetRef);
        a.text("DataSetName", data->dataSetName, s.dataSetName);
        a.integer("RowCount", data->rowCount, s.rowCount);
        a.flag("FooterAfterEach", data->footerAfterEach, s.footerAfterEach);
        a.flag("KeepFooter", data->keepFooter, s.keepFooter);
        a.flag("KeepHeader", data->keepHeader, s.keepHeader);
        a.flag("KeepTogether", data->keepTogether, s.keepTogether);
        a.flag("PrintIfDetailEmpty", data->printIfDetailEmpty, s.printIfDetailEmpty);
    }
    if (const auto *footer = dynamic_cast<const TfrxPageFooter *>(&band)) {
        a.flag("PrintOnFirstPage", footer->printOnFirstPage, true);
        a.flag("PrintOnLastPage", footer->printOnLastPage, true);
    }
    for (const auto &view : band.objects)
        writeObjectElement(xml, *view);
    xml.writeEndElement();
}

void writeReportPage(QXmlStreamWriter &xml, const TfrxReportPage &page)
{
    static const TfrxReportPage standard;
    xml.writeStartElement(page.className());
    writeComponent(xml, page, standard);
    const PageSettings &p = page.settings;
    const PageSettings &s = standard.settings;
    Attributes a(xml);
    // The orientation first: it turns the paper and the margins given before it.
    a.enumeration("Orientation", p.orientation, s.orientation, orientationNames());
    xml.writeAttribute(QStringLiteral("PaperWidth"), number(p.paperWidth));
    xml.writeAttribute(QStringLiteral("PaperHeight"), number(p.paperHeight));
    xml.writeAttribute(QStringLiteral("PaperSize"), QString::number(p.paperSize));
    a.real("LeftMargin", p.leftMargin, s.leftMargin);
    a.real("RightMargin", p.rightMargin, s.rightMargin);
    a.real("TopMargin", p.topMargin, s.topMargin);
    a.real("BottomMargin", p.bottomMargin, s.bottomMargin);
    a.flag("TitleBeforeHeader", page.titleBeforeHeader, standard.titleBeforeHeader);
    a.flag("PrintIfEmpty", page.printIfEmpty, standard.printIfEmpty);
    a.integer("PageCount", page.pageCount, standard.pageCount);
    for (const auto &band : page.bands)
        writeBand(xml, *band);
    xml.writeEndElement();
}

void writeReportAttributes(QXmlStreamWriter &xml, const TfrxReport &report)
{
    static const TfrxReport standard;
    writeComponent(xml, report, standard);
    Attributes a(xml);
    a.text("Version", report.version, standard.version);
    a.flag("DotMatrixReport", report.dotMatrixReport, standard.dotMatrixReport);
    a.text("IniFile", report.iniFile, standard.iniFile);
    a.text("ScriptLanguage", report.scriptLanguage, standard.scriptLanguage);
    const PreviewOptions &p = report.previewOptions;
    const PreviewOptions &sp = standard.previewOptions;
    if (p.buttons != sp.buttons)
        xml.writeAttribute(QStringLiteral("PreviewOptions.Buttons"),
                           QLatin1Char('[') + p.buttons.join(QLatin1Char(',')) + QLatin1Char(']'));
    a.real("PreviewOptions.Zoom", p.zoom, sp.zoom);
    a.text("PreviewOptions.ZoomMode", p.zoomMode, sp.zoomMode);
    a.flag("PreviewOptions.AllowEdit", p.allowEdit, sp.allowEdit);
    a.flag("PreviewOptions.Maximized", p.maximized, sp.maximized);
    a.flag("PreviewOptions.Modal", p.modal, sp.modal);
    a.flag("PreviewOptions.MDIChild", p.mdiChild, sp.mdiChild);
    a.flag("PreviewOptions.ShowCaptions", p.showCaptions, sp.showCaptions);
    a.flag("PreviewOptions.DoubleBuffered", p.doubleBuffered, sp.doubleBuffered);
    a.integer("PreviewOptions.PagesInCache", p.pagesInCache, sp.pagesInCache);
    const PrintOptions &o = report.printOptions;
    const PrintOptions &so = standard.printOptions;
    a.text("PrintOptions.Printer", o.printer, so.printer);
    a.integer("PrintOptions.Copies", o.copies, so.copies);
    a.flag("PrintOptions.Collate", o.collate, so.collate);
    a.flag("PrintOptions.ShowDialog", o.showDialog, so.showDialog);
    a.integer("PrintOptions.PrintOnSheet", o.printOnSheet, so.printOnSheet);
    const EngineOptions &e = report.engineOptions;
    const EngineOptions &se = standard.engineOptions;
    a.flag("EngineOptions.ConvertNulls", e.convertNulls, se.convertNulls);
    a.flag("EngineOptions.DoublePass", e.doublePass, se.doublePass);
    a.flag("EngineOptions.PrintIfEmpty", e.printIfEmpty, se.printIfEmpty);
}

void writeDataset(QXmlStreamWriter &xml, const TfrxDBDataset &dataset)
{
    static const TfrxDBDataset standard;
    xml.writeStartElement(dataset.className());
    writeComponent(xml, dataset, standard);
    xml.writeAttribute(QStringLiteral("UserName"), dataset.userName);
    Attributes a(xml);
    a.text("DataSource", dataset.dataSource, standard.dataSource);
    a.text("DataSet", dataset.dataSetRef, standard.dataSetRef);
    a.flag("CloseDataSource", dataset.closeDataSource, standard.closeDataSource);
    a.flag("BCDToCurrency", dataset.bcdToCurrency, standard.bcdToCurrency);
    a.flag("Enabled", dataset.enabled, standard.enabled);
    a.text("RangeBegin", dataset.rangeBegin, standard.rangeBegin);
    a.text("RangeEnd", dataset.rangeEnd, standard.rangeEnd);
    xml.writeEndElement();
}

} // namespace

QByteArray writeObject(const TfrxView &view)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    writeObjectElement(xml, view);
    return bytes;
}

QByteArray writeTemplate(const TfrxReport &report)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeStartElement(report.className());
    writeReportAttributes(xml, report);
    writeLines(xml, QStringLiteral("ScriptText"), report.scriptText);
    if (!report.datasets.empty()) {
        xml.writeStartElement(QStringLiteral("Datasets"));
        for (const DatasetItem &item : report.datasets) {
            xml.writeStartElement(QStringLiteral("Item"));
            if (!item.dataSetRef.isEmpty())
                xml.writeAttribute(QStringLiteral("DataSet"), item.dataSetRef);
            if (!item.dataSetName.isEmpty())
                xml.writeAttribute(QStringLiteral("DataSetName"), item.dataSetName);
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    for (const auto &dataset : report.windowDatasets)
        writeDataset(xml, *dataset);
    for (const auto &page : report.pages) {
        if (const auto *reportPage = dynamic_cast<const TfrxReportPage *>(page.get())) {
            writeReportPage(xml, *reportPage);
        } else {
            xml.writeStartElement(page->className());
            writeComponent(xml, *page, TfrxDataPage());
            xml.writeEndElement();
        }
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

} // namespace ztemplates
