#include "report_model.h"

#include "property_values.h"
#include "report_units.h"

#include <cmath>
#include <utility>

namespace zreport {

namespace {

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

template <typename T>
bool store(std::optional<T> parsed, T &field, const QString &name, const QString &value,
           QString *error)
{
    if (!parsed)
        return fail(error, badValueMessage(name, value));
    field = *parsed;
    return true;
}

bool setLength(double &field, const QString &name, const QString &value, QString *error)
{
    return store(parseLength(value), field, name, value, error);
}

bool setNumber(double &field, const QString &name, const QString &value, QString *error)
{
    return store(parseNumber(value), field, name, value, error);
}

bool setBool(bool &field, const QString &name, const QString &value, QString *error)
{
    return store(parseBoolean(value), field, name, value, error);
}

bool setInt(int &field, const QString &name, const QString &value, QString *error)
{
    return store(parseInteger(value), field, name, value, error);
}

template <typename E>
bool setEnum(E &field, const QStringList &names, const QString &name, const QString &value,
             QString *error)
{
    const auto index = parseEnum(value, names);
    if (!index)
        return fail(error, badValueMessage(name, value));
    field = E(*index);
    return true;
}

bool setColor(QColor &field, const QString &name, const QString &value, QString *error)
{
    return store(parseColor(value), field, name, value, error);
}

const QStringList &fontStyleNames()
{
    static const QStringList names{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
    return names;
}

const QStringList &previewButtonNames()
{
    static const QStringList names{"pbPrint",   "pbLoad",         "pbSave",      "pbExport",
                                   "pbZoom",    "pbFind",         "pbOutline",   "pbPageSetup",
                                   "pbTools",   "pbEdit",         "pbNavigator", "pbExportQuick",
                                   "pbNoClose", "pbNoFullScreen", "pbNoEmail"};
    return names;
}

bool setFontProperty(ReportFont &font, const QString &field, const QString &name,
                     const QString &value, QString *error)
{
    if (field == QLatin1String("Name")) {
        if (value.trimmed().isEmpty())
            return fail(error, badValueMessage(name, value));
        font.name = value;
        return true;
    }
    if (field == QLatin1String("Height")) {
        const auto h = parseInteger(value);
        if (!h || *h == 0 || std::abs(*h) > 1000)
            return fail(error, badValueMessage(name, value));
        font.height = *h;
        return true;
    }
    if (field == QLatin1String("Size")) {
        const auto points = parseInteger(value);
        if (!points || *points <= 0 || *points > 500)
            return fail(error, badValueMessage(name, value));
        font.height = ReportFont::heightForPointSize(*points);
        return true;
    }
    if (field == QLatin1String("Style")) {
        const auto bits = parseSet(value, fontStyleNames());
        if (!bits)
            return fail(error, badValueMessage(name, value));
        font.bold = *bits & 1;
        font.italic = *bits & 2;
        font.underline = *bits & 4;
        font.strikeOut = *bits & 8;
        return true;
    }
    if (field == QLatin1String("Color"))
        return setColor(font.color, name, value, error);
    if (field == QLatin1String("Charset")) {
        if (value == QLatin1String("DEFAULT_CHARSET")) {
            font.charset = 1;
            return true;
        }
        return setInt(font.charset, name, value, error);
    }
    return false;
}

bool setFrameLineProperty(FrameLine &line, const QString &field, const QString &name,
                          const QString &value, QString *error)
{
    if (field == QLatin1String("Color"))
        return setColor(line.color, name, value, error);
    if (field == QLatin1String("Style"))
        return setEnum(line.style, frameLineStyleNames(), name, value, error);
    if (field == QLatin1String("Width"))
        return setNumber(line.width, name, value, error);
    return fail(error, unknownPropertyMessage(name, QStringLiteral("TfrxFrame")));
}

bool setFrameProperty(Frame &frame, const QString &field, const QString &name, const QString &value,
                      QString *error)
{
    if (field == QLatin1String("Typ"))
        return store(parseSet(value, frameSideNames()), frame.typ, name, value, error);
    if (field == QLatin1String("Width")) {
        double w = 0;
        if (!setNumber(w, name, value, error))
            return false;
        frame.setWidth(w);
        return true;
    }
    if (field == QLatin1String("Style")) {
        FrameLineStyle s{};
        if (!setEnum(s, frameLineStyleNames(), name, value, error))
            return false;
        frame.setStyle(s);
        return true;
    }
    if (field == QLatin1String("Color")) {
        QColor c;
        if (!setColor(c, name, value, error))
            return false;
        frame.setColor(c);
        return true;
    }
    if (field == QLatin1String("DropShadow"))
        return setBool(frame.dropShadow, name, value, error);
    if (field == QLatin1String("ShadowWidth"))
        return setNumber(frame.shadowWidth, name, value, error);
    const qsizetype dot = field.indexOf(QLatin1Char('.'));
    if (dot > 0) {
        const QString lineName = field.left(dot);
        const QString lineField = field.mid(dot + 1);
        if (lineName == QLatin1String("LeftLine"))
            return setFrameLineProperty(frame.leftLine, lineField, name, value, error);
        if (lineName == QLatin1String("TopLine"))
            return setFrameLineProperty(frame.topLine, lineField, name, value, error);
        if (lineName == QLatin1String("RightLine"))
            return setFrameLineProperty(frame.rightLine, lineField, name, value, error);
        if (lineName == QLatin1String("BottomLine"))
            return setFrameLineProperty(frame.bottomLine, lineField, name, value, error);
    }
    return fail(error, unknownPropertyMessage(name, QStringLiteral("TfrxFrame")));
}

bool setDisplayFormatProperty(DisplayFormat &format, const QString &field, const QString &name,
                              const QString &value, QString *error)
{
    if (field == QLatin1String("Kind"))
        return setEnum(format.kind, formatKindNames(), name, value, error);
    if (field == QLatin1String("FormatStr"))
        format.formatStr = value;
    else if (field == QLatin1String("DecimalSeparator"))
        format.decimalSeparator = value;
    else if (field == QLatin1String("ThousandSeparator"))
        format.thousandSeparator = value;
    else
        return fail(error, unknownPropertyMessage(name, QStringLiteral("TfrxFormat")));
    return true;
}

// "DataSet" names a report dataset component; it is bound once the whole tree is read.
bool isSubProperty(const QString &name, QLatin1String record, QString *field)
{
    if (name.size() <= record.size() + 1 || !name.startsWith(record) ||
        name.at(record.size()) != QLatin1Char('.'))
        return false;
    *field = name.mid(record.size() + 1);
    return true;
}

} // namespace

int ReportFont::pointSize() const
{
    // |height| * 72 / 96, halves away from zero.
    return int(std::floor(std::abs(height) * 0.75 + 0.5));
}

int ReportFont::heightForPointSize(int points)
{
    return -int(std::floor(points * 96.0 / 72.0 + 0.5));
}

void Frame::setWidth(double w)
{
    width = w;
    for (FrameLine *line : {&leftLine, &topLine, &rightLine, &bottomLine})
        line->width = w;
}

void Frame::setStyle(FrameLineStyle s)
{
    style = s;
    for (FrameLine *line : {&leftLine, &topLine, &rightLine, &bottomLine})
        line->style = s;
}

void Frame::setColor(const QColor &c)
{
    color = c;
    for (FrameLine *line : {&leftLine, &topLine, &rightLine, &bottomLine})
        line->color = c;
}

bool TfrxComponent::setProperty(const QString &name, const QString &value, QString *error)
{
    if (name == QLatin1String("Name")) {
        if (value.trimmed().isEmpty())
            return fail(error, badValueMessage(name, value));
        this->name = value;
        return true;
    }
    if (name == QLatin1String("Left"))
        return setLength(left, name, value, error);
    if (name == QLatin1String("Top"))
        return setLength(top, name, value, error);
    if (name == QLatin1String("Width"))
        return setLength(width, name, value, error);
    if (name == QLatin1String("Height"))
        return setLength(height, name, value, error);
    if (name == QLatin1String("Visible"))
        return setBool(visible, name, value, error);
    if (name == QLatin1String("ParentFont"))
        return setBool(parentFont, name, value, error);
    QString field;
    if (isSubProperty(name, QLatin1String("Font"), &field)) {
        QString reason;
        if (setFontProperty(font, field, name, value, &reason)) {
            // As in the toolkit: a component given a font of its own stops taking its parent's.
            parentFont = false;
            return true;
        }
        return fail(error, reason.isEmpty() ? unknownPropertyMessage(name, className()) : reason);
    }
    return fail(error, unknownPropertyMessage(name, className()));
}

bool TfrxView::setProperty(const QString &name, const QString &value, QString *error)
{
    QString field;
    if (name == QLatin1String("DataSet"))
        dataSetRef = value;
    else if (name == QLatin1String("DataSetName"))
        dataSetName = value;
    else if (name == QLatin1String("DataField"))
        dataField = value;
    else if (name == QLatin1String("ShiftMode"))
        return setEnum(shiftMode, shiftModeNames(), name, value, error);
    else if (name == QLatin1String("Color"))
        return setColor(color, name, value, error);
    else if (name == QLatin1String("ShowHint"))
        return setBool(showHint, name, value, error);
    else if (isSubProperty(name, QLatin1String("Frame"), &field))
        return setFrameProperty(frame, field, name, value, error);
    else
        return TfrxReportComponent::setProperty(name, value, error);
    return true;
}

bool TfrxStretcheable::setProperty(const QString &name, const QString &value, QString *error)
{
    if (name == QLatin1String("StretchMode"))
        return setEnum(stretchMode, stretchModeNames(), name, value, error);
    return TfrxView::setProperty(name, value, error);
}

bool TfrxMemoView::setProperty(const QString &name, const QString &value, QString *error)
{
    QString field;
    if (name == QLatin1String("Memo") || name == QLatin1String("Memo.UTF8") ||
        name == QLatin1String("Text"))
        memo = value.isEmpty() ? QStringList() : splitStoredLines(value);
    else if (isSubProperty(name, QLatin1String("DisplayFormat"), &field))
        return setDisplayFormatProperty(displayFormat, field, name, value, error);
    else if (name == QLatin1String("HAlign"))
        return setEnum(hAlign, hAlignNames(), name, value, error);
    else if (name == QLatin1String("VAlign"))
        return setEnum(vAlign, vAlignNames(), name, value, error);
    else if (name == QLatin1String("WordWrap"))
        return setBool(wordWrap, name, value, error);
    else if (name == QLatin1String("AllowExpressions"))
        return setBool(allowExpressions, name, value, error);
    else if (name == QLatin1String("ExpressionDelimiters")) {
        const QStringList parts = value.split(QLatin1Char(','));
        if (parts.size() != 2 || parts[0].isEmpty() || parts[1].isEmpty())
            return fail(error, badValueMessage(name, value));
        expressionDelimiters = value;
    } else if (name == QLatin1String("GapX"))
        return setLength(gapX, name, value, error);
    else if (name == QLatin1String("GapY"))
        return setLength(gapY, name, value, error);
    else if (name == QLatin1String("LineSpacing"))
        return setLength(lineSpacing, name, value, error);
    else if (name == QLatin1String("ParagraphGap"))
        return setLength(paragraphGap, name, value, error);
    else if (name == QLatin1String("CharSpacing"))
        return setLength(charSpacing, name, value, error);
    else if (name == QLatin1String("Clipped"))
        return setBool(clipped, name, value, error);
    else if (name == QLatin1String("Wysiwyg"))
        return setBool(wysiwyg, name, value, error);
    else if (name == QLatin1String("Rotation"))
        return setInt(rotation, name, value, error);
    else if (name == QLatin1String("HideZeros"))
        return setBool(hideZeros, name, value, error);
    else if (name == QLatin1String("SuppressRepeated"))
        return setBool(suppressRepeated, name, value, error);
    else if (name == QLatin1String("AutoWidth"))
        return setBool(autoWidth, name, value, error);
    else if (name == QLatin1String("AllowHTMLTags"))
        return setBool(allowHTMLTags, name, value, error);
    else if (name == QLatin1String("WordBreak"))
        return setBool(wordBreak, name, value, error);
    else if (name == QLatin1String("Highlight.Condition"))
        highlightCondition = value;
    else
        return TfrxStretcheable::setProperty(name, value, error);
    return true;
}

bool TfrxBand::setProperty(const QString &name, const QString &value, QString *error)
{
    if (name == QLatin1String("Stretched"))
        return setBool(stretched, name, value, error);
    if (name == QLatin1String("Child"))
        child = value;
    else if (name == QLatin1String("KeepChild"))
        return setBool(keepChild, name, value, error);
    else if (name == QLatin1String("PrintChildIfInvisible"))
        return setBool(printChildIfInvisible, name, value, error);
    else if (name == QLatin1String("StartNewPage"))
        return setBool(startNewPage, name, value, error);
    else if (name == QLatin1String("AllowSplit"))
        return setBool(allowSplit, name, value, error);
    else
        return TfrxReportComponent::setProperty(name, value, error);
    return true;
}

bool TfrxHeader::setProperty(const QString &name, const QString &value, QString *error)
{
    if (name == QLatin1String("ReprintOnNewPage"))
        return setBool(reprintOnNewPage, name, value, error);
    return TfrxBand::setProperty(name, value, error);
}

bool TfrxDataBand::setProperty(const QString &name, const QString &value, QString *error)
{
    if (name == QLatin1String("DataSet"))
        dataSetRef = value;
    else if (name == QLatin1String("DataSetName"))
        dataSetName = value;
    else if (name == QLatin1String("RowCount")) {
        const auto n = parseInteger(value);
        if (!n || *n < 0)
            return fail(error, badValueMessage(name, value));
        rowCount = *n;
    } else if (name == QLatin1String("FooterAfterEach"))
        return setBool(footerAfterEach, name, value, error);
    else if (name == QLatin1String("KeepFooter"))
        return setBool(keepFooter, name, value, error);
    else if (name == QLatin1String("KeepHeader"))
        return setBool(keepHeader, name, value, error);
    else if (name == QLatin1String("KeepTogether"))
        return setBool(keepTogether, name, value, error);
    else if (name == QLatin1String("PrintIfDetailEmpty"))
        return setBool(printIfDetailEmpty, name, value, error);
    else
        return TfrxBand::setProperty(name, value, error);
    return true;
}

bool TfrxPageFooter::setProperty(const QString &name, const QString &value, QString *error)
{
    if (name == QLatin1String("PrintOnFirstPage"))
        return setBool(printOnFirstPage, name, value, error);
    if (name == QLatin1String("PrintOnLastPage"))
        return setBool(printOnLastPage, name, value, error);
    return TfrxBand::setProperty(name, value, error);
}

void TfrxReportPage::setPaperSize(int code)
{
    paperSize = code;
    if (code >= 256)
        return;
    struct Paper {
        int code;
        double width, height;
    };
    static const Paper papers[] = {
        {1, 215.9, 279.4}, {5, 215.9, 355.6}, {8, 297, 420}, {9, 210, 297}, {11, 148, 210}};
    for (const Paper &p : papers) {
        if (p.code != code)
            continue;
        paperWidth = p.width;
        paperHeight = p.height;
        if (orientation == PageOrientation::poLandscape)
            std::swap(paperWidth, paperHeight);
    }
}

void TfrxReportPage::setPaperWidth(double mm)
{
    paperWidth = mm;
    paperSize = 256;
}

void TfrxReportPage::setPaperHeight(double mm)
{
    paperHeight = mm;
    paperSize = 256;
}

void TfrxReportPage::setOrientation(PageOrientation o)
{
    if (o == orientation)
        return;
    orientation = o;
    std::swap(paperWidth, paperHeight);
    const double l = leftMargin, t = topMargin, r = rightMargin, b = bottomMargin;
    if (o == PageOrientation::poLandscape) {
        leftMargin = t;
        rightMargin = b;
        topMargin = r;
        bottomMargin = l;
    } else {
        topMargin = l;
        bottomMargin = r;
        rightMargin = t;
        leftMargin = b;
    }
}

double TfrxReportPage::printableWidth() const
{
    return (paperWidth - leftMargin - rightMargin) * kUnitsPerMm;
}

double TfrxReportPage::printableHeight() const
{
    return (paperHeight - topMargin - bottomMargin) * kUnitsPerMm;
}

bool TfrxReportPage::setProperty(const QString &name, const QString &value, QString *error)
{
    const auto paperLength = [&](void (TfrxReportPage::*setter)(double)) {
        const auto mm = parseNumber(value);
        if (!mm || *mm <= 0 || *mm > 10000)
            return fail(error, badValueMessage(name, value));
        (this->*setter)(*mm);
        return true;
    };
    const auto margin = [&](double &field) {
        const auto mm = parseNumber(value);
        if (!mm || *mm < 0 || *mm > 10000)
            return fail(error, badValueMessage(name, value));
        field = *mm;
        return true;
    };
    if (name == QLatin1String("PaperWidth"))
        return paperLength(&TfrxReportPage::setPaperWidth);
    if (name == QLatin1String("PaperHeight"))
        return paperLength(&TfrxReportPage::setPaperHeight);
    if (name == QLatin1String("PaperSize")) {
        const auto code = parseInteger(value);
        if (!code || *code <= 0)
            return fail(error, badValueMessage(name, value));
        setPaperSize(*code);
        return true;
    }
    if (name == QLatin1String("Orientation")) {
        PageOrientation o{};
        if (!setEnum(o, orientationNames(), name, value, error))
            return false;
        setOrientation(o);
        return true;
    }
    if (name == QLatin1String("LeftMargin"))
        return margin(leftMargin);
    if (name == QLatin1String("RightMargin"))
        return margin(rightMargin);
    if (name == QLatin1String("TopMargin"))
        return margin(topMargin);
    if (name == QLatin1String("BottomMargin"))
        return margin(bottomMargin);
    if (name == QLatin1String("TitleBeforeHeader"))
        return setBool(titleBeforeHeader, name, value, error);
    if (name == QLatin1String("PrintIfEmpty"))
        return setBool(printIfEmpty, name, value, error);
    if (name == QLatin1String("PageCount"))
        return setInt(pageCount, name, value, error);
    return TfrxPage::setProperty(name, value, error);
}

bool TfrxDBDataset::setProperty(const QString &name, const QString &value, QString *error)
{
    if (name == QLatin1String("UserName")) {
        if (value.trimmed().isEmpty())
            return fail(error, QStringLiteral("Неверное значение свойства"));
        userName = value;
    } else if (name == QLatin1String("DataSource"))
        dataSource = value;
    else if (name == QLatin1String("DataSet"))
        dataSetRef = value;
    else if (name == QLatin1String("CloseDataSource"))
        return setBool(closeDataSource, name, value, error);
    else if (name == QLatin1String("BCDToCurrency"))
        return setBool(bcdToCurrency, name, value, error);
    else if (name == QLatin1String("Enabled"))
        return setBool(enabled, name, value, error);
    else if (name == QLatin1String("RangeBegin"))
        rangeBegin = value;
    else if (name == QLatin1String("RangeEnd"))
        rangeEnd = value;
    else
        return TfrxComponent::setProperty(name, value, error);
    return true;
}

bool TfrxReport::setProperty(const QString &name, const QString &value, QString *error)
{
    QString field;
    if (isSubProperty(name, QLatin1String("PreviewOptions"), &field)) {
        PreviewOptions &o = previewOptions;
        if (field == QLatin1String("Buttons")) {
            const auto bits = parseSet(value, previewButtonNames());
            if (!bits)
                return fail(error, badValueMessage(name, value));
            o.buttons.clear();
            for (int i = 0; i < previewButtonNames().size(); ++i) {
                if (*bits & (1u << i))
                    o.buttons << previewButtonNames()[i];
            }
            return true;
        }
        if (field == QLatin1String("Zoom"))
            return setNumber(o.zoom, name, value, error);
        if (field == QLatin1String("ZoomMode")) {
            static const QStringList modes{"zmDefault", "zmWholePage", "zmPageWidth",
                                           "zmManyPages"};
            const auto m = parseEnum(value, modes);
            if (!m)
                return fail(error, badValueMessage(name, value));
            o.zoomMode = modes[*m];
            return true;
        }
        if (field == QLatin1String("AllowEdit"))
            return setBool(o.allowEdit, name, value, error);
        if (field == QLatin1String("Maximized"))
            return setBool(o.maximized, name, value, error);
        if (field == QLatin1String("Modal"))
            return setBool(o.modal, name, value, error);
        if (field == QLatin1String("MDIChild"))
            return setBool(o.mdiChild, name, value, error);
        if (field == QLatin1String("ShowCaptions"))
            return setBool(o.showCaptions, name, value, error);
        if (field == QLatin1String("DoubleBuffered"))
            return setBool(o.doubleBuffered, name, value, error);
        if (field == QLatin1String("PagesInCache"))
            return setInt(o.pagesInCache, name, value, error);
        return fail(error, unknownPropertyMessage(name, className()));
    }
    if (isSubProperty(name, QLatin1String("PrintOptions"), &field)) {
        PrintOptions &o = printOptions;
        if (field == QLatin1String("Printer"))
            o.printer = value;
        else if (field == QLatin1String("Copies"))
            return setInt(o.copies, name, value, error);
        else if (field == QLatin1String("Collate"))
            return setBool(o.collate, name, value, error);
        else if (field == QLatin1String("ShowDialog"))
            return setBool(o.showDialog, name, value, error);
        else if (field == QLatin1String("PrintOnSheet"))
            return setInt(o.printOnSheet, name, value, error);
        else
            return fail(error, unknownPropertyMessage(name, className()));
        return true;
    }
    if (isSubProperty(name, QLatin1String("EngineOptions"), &field)) {
        if (field == QLatin1String("ConvertNulls"))
            return setBool(engineOptions.convertNulls, name, value, error);
        if (field == QLatin1String("DoublePass"))
            return setBool(engineOptions.doublePass, name, value, error);
        if (field == QLatin1String("PrintIfEmpty"))
            return setBool(engineOptions.printIfEmpty, name, value, error);
        return fail(error, unknownPropertyMessage(name, className()));
    }
    // Description and date stamps of the designer: kept by nobody.
    if (isSubProperty(name, QLatin1String("ReportOptions"), &field))
        return true;
    if (name == QLatin1String("ScriptLanguage"))
        scriptLanguage = value;
    else if (name == QLatin1String("ScriptText"))
        scriptText = splitStoredLines(value);
    else if (name == QLatin1String("Version"))
        version = value;
    else if (name == QLatin1String("DotMatrixReport"))
        return setBool(dotMatrixReport, name, value, error);
    else if (name == QLatin1String("IniFile"))
        iniFile = value;
    else
        return TfrxComponent::setProperty(name, value, error);
    return true;
}

TfrxDBDataset *TfrxReport::findDataset(QStringView userName) const
{
    for (const DatasetItem &item : datasets) {
        if (item.dataSet && item.dataSet->userName.compare(userName, Qt::CaseInsensitive) == 0)
            return item.dataSet;
    }
    return nullptr;
}

std::vector<TfrxReportPage *> TfrxReport::reportPages() const
{
    std::vector<TfrxReportPage *> result;
    for (const auto &page : pages) {
        if (auto *p = dynamic_cast<TfrxReportPage *>(page.get()))
            result.push_back(p);
    }
    return result;
}

TfrxDBDataset *TfrxReport::windowDatasetByName(QStringView componentName) const
{
    for (const auto &ds : windowDatasets) {
        if (ds->name.compare(componentName, Qt::CaseInsensitive) == 0)
            return ds.get();
    }
    return nullptr;
}

TfrxDBDataset *TfrxReport::windowDatasetByUserName(QStringView userName) const
{
    if (TfrxDBDataset *ds = findDataset(userName))
        return ds;
    for (const auto &ds : windowDatasets) {
        if (ds->userName.compare(userName, Qt::CaseInsensitive) == 0)
            return ds.get();
    }
    return nullptr;
}

void TfrxReport::resolveReferences()
{
    for (DatasetItem &item : datasets) {
        item.dataSet = !item.dataSetRef.isEmpty() ? windowDatasetByName(item.dataSetRef)
                                                  : windowDatasetByUserName(item.dataSetName);
        if (item.dataSet)
            item.dataSetName = item.dataSet->userName;
    }
    const auto bind = [this](const QString &ref, QString &userName, TfrxDBDataset *&dataSet) {
        dataSet = !ref.isEmpty()        ? windowDatasetByName(ref)
                  : !userName.isEmpty() ? windowDatasetByUserName(userName)
                                        : nullptr;
        if (dataSet)
            userName = dataSet->userName;
    };
    for (TfrxReportPage *page : reportPages()) {
        for (const auto &band : page->bands) {
            if (band->parentFont)
                band->font = page->font;
            if (auto *data = dynamic_cast<TfrxDataBand *>(band.get()))
                bind(data->dataSetRef, data->dataSetName, data->dataSet);
            for (const auto &view : band->objects) {
                if (view->parentFont)
                    view->font = band->font;
                bind(view->dataSetRef, view->dataSetName, view->dataSet);
            }
        }
    }
}

} // namespace zreport
