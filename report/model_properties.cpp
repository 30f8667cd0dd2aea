// How each class of the template tree reads its stored properties: one table per class.

#include "property_table.h"
#include "report_model.h"

#include <cmath>
#include <limits>

namespace zreport {

using namespace property;

namespace {

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

const QStringList &zoomModeNames()
{
    static const QStringList names{"zmDefault", "zmWholePage", "zmPageWidth", "zmManyPages"};
    return names;
}

std::optional<QStringList> storedLines(const QString &value)
{
    return value.isEmpty() ? QStringList() : splitStoredLines(value);
}

auto setOf(const QStringList &(*names)())
{
    return [names](const QString &value) { return parseSet(value, names()); };
}

std::optional<int> fontHeight(const QString &value)
{
    const auto h = parseInteger(value);
    return h && *h != 0 && std::abs(*h) <= 1000 ? h : std::nullopt;
}

std::optional<int> charset(const QString &value)
{
    return value == QLatin1String("DEFAULT_CHARSET") ? 1 : parseInteger(value);
}

std::optional<double> paperLength(const QString &value)
{
    const auto mm = parseNumber(value);
    return mm && *mm > 0 && *mm <= 10000 ? mm : std::nullopt;
}

std::optional<QString> validDelimiters(const QString &value)
{
    const QStringList parts = value.split(QLatin1Char(','));
    if (parts.size() != 2 || parts[0].isEmpty() || parts[1].isEmpty())
        return std::nullopt;
    return value;
}

const PropertyTable<ReportFont> &fontTable()
{
    using F = ReportFont;
    static const PropertyTable<F> table{
        field<F>("Name", &F::name, nonBlank),
        field<F>("Height", &F::height, fontHeight),
        {"Size",
         [](F &font, const QString &name, const QString &value, QString *error) {
             const auto points = inRange(parseInteger, 1, 500)(value);
             if (!points)
                 return fail(error, badValueMessage(name, value));
             font.height = ReportFont::heightForPointSize(*points);
             return true;
         }},
        {"Style",
         [](F &font, const QString &name, const QString &value, QString *error) {
             const auto bits = parseSet(value, fontStyleNames());
             if (!bits)
                 return fail(error, badValueMessage(name, value));
             font.bold = *bits & 1;
             font.italic = *bits & 2;
             font.underline = *bits & 4;
             font.strikeOut = *bits & 8;
             return true;
         }},
        field<F>("Color", &F::color, parseColor),
        field<F>("Charset", &F::charset, charset),
    };
    return table;
}

const PropertyTable<FrameLine> &frameLineTable()
{
    using L = FrameLine;
    static const PropertyTable<L> table{
        field<L>("Color", &L::color, parseColor),
        field<L>("Style", &L::style, enumeration<FrameLineStyle>(frameLineStyleNames)),
        field<L>("Width", &L::width, parseNumber),
    };
    return table;
}

const PropertyTable<Frame> &frameTable()
{
    static const QString frameClass = QStringLiteral("TfrxFrame");
    static const PropertyTable<Frame> table{
        field<Frame>("Typ", &Frame::typ, setOf(frameSideNames)),
        setter<Frame>("Width", &Frame::setWidth, parseNumber),
        setter<Frame>("Style", &Frame::setStyle, enumeration<FrameLineStyle>(frameLineStyleNames)),
        setter<Frame>("Color", &Frame::setColor, parseColor),
        field<Frame>("DropShadow", &Frame::dropShadow, parseBoolean),
        field<Frame>("ShadowWidth", &Frame::shadowWidth, parseNumber),
        record<Frame>("LeftLine.*", &Frame::leftLine, frameLineTable(), frameClass),
        record<Frame>("TopLine.*", &Frame::topLine, frameLineTable(), frameClass),
        record<Frame>("RightLine.*", &Frame::rightLine, frameLineTable(), frameClass),
        record<Frame>("BottomLine.*", &Frame::bottomLine, frameLineTable(), frameClass),
    };
    return table;
}

const PropertyTable<DisplayFormat> &displayFormatTable()
{
    using D = DisplayFormat;
    static const PropertyTable<D> table{
        field<D>("Kind", &D::kind, enumeration<FormatKind>(formatKindNames)),
        field<D>("FormatStr", &D::formatStr, anyText),
        field<D>("DecimalSeparator", &D::decimalSeparator, anyText),
        field<D>("ThousandSeparator", &D::thousandSeparator, anyText),
    };
    return table;
}

const PropertyTable<PreviewOptions> &previewOptionsTable()
{
    using P = PreviewOptions;
    static const PropertyTable<P> table{
        {"Buttons",
         [](P &options, const QString &name, const QString &value, QString *error) {
             const auto bits = parseSet(value, previewButtonNames());
             if (!bits)
                 return fail(error, badValueMessage(name, value));
             options.buttons.clear();
             for (int i = 0; i < previewButtonNames().size(); ++i) {
                 if (*bits & (1u << i))
                     options.buttons << previewButtonNames()[i];
             }
             return true;
         }},
        field<P>("Zoom", &P::zoom, parseNumber),
        field<P>("ZoomMode", &P::zoomMode,
                 [](const QString &value) -> std::optional<QString> {
                     const auto mode = parseEnum(value, zoomModeNames());
                     return mode ? std::optional(zoomModeNames()[*mode]) : std::nullopt;
                 }),
        field<P>("AllowEdit", &P::allowEdit, parseBoolean),
        field<P>("Maximized", &P::maximized, parseBoolean),
        field<P>("Modal", &P::modal, parseBoolean),
        field<P>("MDIChild", &P::mdiChild, parseBoolean),
        field<P>("ShowCaptions", &P::showCaptions, parseBoolean),
        field<P>("DoubleBuffered", &P::doubleBuffered, parseBoolean),
        field<P>("PagesInCache", &P::pagesInCache, parseInteger),
    };
    return table;
}

const PropertyTable<PrintOptions> &printOptionsTable()
{
    using P = PrintOptions;
    static const PropertyTable<P> table{
        field<P>("Printer", &P::printer, anyText),
        field<P>("Copies", &P::copies, parseInteger),
        field<P>("Collate", &P::collate, parseBoolean),
        field<P>("ShowDialog", &P::showDialog, parseBoolean),
        field<P>("PrintOnSheet", &P::printOnSheet, parseInteger),
    };
    return table;
}

const PropertyTable<EngineOptions> &engineOptionsTable()
{
    using E = EngineOptions;
    static const PropertyTable<E> table{
        field<E>("ConvertNulls", &E::convertNulls, parseBoolean),
        field<E>("DoublePass", &E::doublePass, parseBoolean),
        field<E>("PrintIfEmpty", &E::printIfEmpty, parseBoolean),
    };
    return table;
}

} // namespace

bool TfrxComponent::setProperty(const QString &name, const QString &value, QString *error)
{
    using C = TfrxComponent;
    static const PropertyTable<C> table{
        field<C>("Name", &C::name, nonBlank),
        field<C>("Left", &C::left, parseLength),
        field<C>("Top", &C::top, parseLength),
        field<C>("Width", &C::width, parseLength),
        field<C>("Height", &C::height, parseLength),
        field<C>("Visible", &C::visible, parseBoolean),
        field<C>("ParentFont", &C::parentFont, parseBoolean),
        {"Font.*",
         {},
         [](C &component, const QString &rest, const QString &full, const QString &value,
            QString *error) {
             QString reason;
             const auto done = fontTable().assign(component.font, rest, full, value, &reason);
             if (!done)
                 return fail(error, unknownPropertyMessage(full, component.className()));
             if (!*done)
                 return fail(error, reason);
             // As in the toolkit: a component given a font of its own stops taking its parent's.
             component.parentFont = false;
             return true;
         }},
    };
    const auto done = table.assign(*this, name, name, value, error);
    return done ? *done : fail(error, unknownPropertyMessage(name, className()));
}

bool TfrxView::setProperty(const QString &name, const QString &value, QString *error)
{
    using V = TfrxView;
    static const PropertyTable<V> table{
        field<V>("DataSet", &V::dataSetRef, anyText),
        field<V>("DataSetName", &V::dataSetName, anyText),
        field<V>("DataField", &V::dataField, anyText),
        field<V>("ShiftMode", &V::shiftMode, enumeration<ShiftMode>(shiftModeNames)),
        field<V>("Color", &V::color, parseColor),
        field<V>("ShowHint", &V::showHint, parseBoolean),
        record<V>("Frame.*", &V::frame, frameTable(), QStringLiteral("TfrxFrame")),
    };
    const auto done = table.assign(*this, name, name, value, error);
    return done ? *done : TfrxReportComponent::setProperty(name, value, error);
}

bool TfrxStretcheable::setProperty(const QString &name, const QString &value, QString *error)
{
    using S = TfrxStretcheable;
    static const PropertyTable<S> table{
        field<S>("StretchMode", &S::stretchMode, enumeration<StretchMode>(stretchModeNames)),
    };
    const auto done = table.assign(*this, name, name, value, error);
    return done ? *done : TfrxView::setProperty(name, value, error);
}

bool TfrxMemoView::setProperty(const QString &name, const QString &value, QString *error)
{
    using M = TfrxMemoView;
    static const PropertyTable<M> table{
        field<M>("Memo", &M::memo, storedLines),
        field<M>("Memo.UTF8", &M::memo, storedLines),
        field<M>("Text", &M::memo, storedLines),
        record<M>("DisplayFormat.*", &M::displayFormat, displayFormatTable(),
                  QStringLiteral("TfrxFormat")),
        field<M>("HAlign", &M::hAlign, enumeration<HAlign>(hAlignNames)),
        field<M>("VAlign", &M::vAlign, enumeration<VAlign>(vAlignNames)),
        field<M>("WordWrap", &M::wordWrap, parseBoolean),
        field<M>("AllowExpressions", &M::allowExpressions, parseBoolean),
        field<M>("ExpressionDelimiters", &M::expressionDelimiters, validDelimiters),
        field<M>("GapX", &M::gapX, parseLength),
        field<M>("GapY", &M::gapY, parseLength),
        field<M>("LineSpacing", &M::lineSpacing, parseLength),
        field<M>("ParagraphGap", &M::paragraphGap, parseLength),
        field<M>("CharSpacing", &M::charSpacing, parseLength),
        field<M>("Clipped", &M::clipped, parseBoolean),
        field<M>("Wysiwyg", &M::wysiwyg, parseBoolean),
        field<M>("Rotation", &M::rotation, parseInteger),
        field<M>("HideZeros", &M::hideZeros, parseBoolean),
        field<M>("SuppressRepeated", &M::suppressRepeated, parseBoolean),
        field<M>("AutoWidth", &M::autoWidth, parseBoolean),
        field<M>("AllowHTMLTags", &M::allowHTMLTags, parseBoolean),
        field<M>("WordBreak", &M::wordBreak, parseBoolean),
        field<M>("Highlight.Condition", &M::highlightCondition, anyText),
    };
    const auto done = table.assign(*this, name, name, value, error);
    return done ? *done : TfrxStretcheable::setProperty(name, value, error);
}

bool TfrxPictureView::setProperty(const QString &name, const QString &value, QString *error)
{
    using P = TfrxPictureView;
    static const PropertyTable<P> table{
        field<P>("ImageName", &P::imageName, anyText),
        field<P>("KeepAspectRatio", &P::keepAspectRatio, parseBoolean),
    };
    const auto done = table.assign(*this, name, name, value, error);
    return done ? *done : TfrxView::setProperty(name, value, error);
}

bool TfrxBand::setProperty(const QString &name, const QString &value, QString *error)
{
    using B = TfrxBand;
    static const PropertyTable<B> table{
        field<B>("Stretched", &B::stretched, parseBoolean),
        field<B>("Child", &B::child, anyText),
        field<B>("KeepChild", &B::keepChild, parseBoolean),
        field<B>("PrintChildIfInvisible", &B::printChildIfInvisible, parseBoolean),
        field<B>("StartNewPage", &B::startNewPage, parseBoolean),
        field<B>("AllowSplit", &B::allowSplit, parseBoolean),
    };
    const auto done = table.assign(*this, name, name, value, error);
    return done ? *done : TfrxReportComponent::setProperty(name, value, error);
}

bool TfrxHeader::setProperty(const QString &name, const QString &value, QString *error)
{
    using H = TfrxHeader;
    static const PropertyTable<H> table{
        field<H>("ReprintOnNewPage", &H::reprintOnNewPage, parseBoolean),
    };
    const auto done = table.assign(*this, name, name, value, error);
    return done ? *done : TfrxBand::setProperty(name, value, error);
}

bool TfrxDataBand::setProperty(const QString &name, const QString &value, QString *error)
{
    using D = TfrxDataBand;
    static const PropertyTable<D> table{
        field<D>("DataSet", &D::dataSetRef, anyText),
        field<D>("DataSetName", &D::dataSetName, anyText),
        field<D>("RowCount", &D::rowCount,
                 inRange(parseInteger, 0, std::numeric_limits<int>::max())),
        field<D>("FooterAfterEach", &D::footerAfterEach, parseBoolean),
        field<D>("KeepFooter", &D::keepFooter, parseBoolean),
        field<D>("KeepHeader", &D::keepHeader, parseBoolean),
        field<D>("KeepTogether", &D::keepTogether, parseBoolean),
        field<D>("PrintIfDetailEmpty", &D::printIfDetailEmpty, parseBoolean),
    };
    const auto done = table.assign(*this, name, name, value, error);
    return done ? *done : TfrxBand::setProperty(name, value, error);
}

bool TfrxPageFooter::setProperty(const QString &name, const QString &value, QString *error)
{
    using F = TfrxPageFooter;
    static const PropertyTable<F> table{
        field<F>("PrintOnFirstPage", &F::printOnFirstPage, parseBoolean),
        field<F>("PrintOnLastPage", &F::printOnLastPage, parseBoolean),
    };
    const auto done = table.assign(*this, name, name, value, error);
    return done ? *done : TfrxBand::setProperty(name, value, error);
}

bool TfrxReportPage::setProperty(const QString &name, const QString &value, QString *error)
{
    using P = TfrxReportPage;
    const auto margin = inRange(parseNumber, 0.0, 10000.0);
    static const PropertyTable<P> table{
        setter<P>("PaperWidth", &P::setPaperWidth, paperLength),
        setter<P>("PaperHeight", &P::setPaperHeight, paperLength),
        setter<P>("PaperSize", &P::setPaperSize,
                  inRange(parseInteger, 1, std::numeric_limits<int>::max())),
        setter<P>("Orientation", &P::setOrientation,
                  enumeration<PageOrientation>(orientationNames)),
        field<P>("LeftMargin", &P::settings, &PageSettings::leftMargin, margin),
        field<P>("RightMargin", &P::settings, &PageSettings::rightMargin, margin),
        field<P>("TopMargin", &P::settings, &PageSettings::topMargin, margin),
        field<P>("BottomMargin", &P::settings, &PageSettings::bottomMargin, margin),
        field<P>("TitleBeforeHeader", &P::titleBeforeHeader, parseBoolean),
        field<P>("PrintIfEmpty", &P::printIfEmpty, parseBoolean),
        field<P>("PageCount", &P::pageCount, parseInteger),
    };
    const auto done = table.assign(*this, name, name, value, error);
    return done ? *done : TfrxPage::setProperty(name, value, error);
}

bool TfrxDBDataset::setProperty(const QString &name, const QString &value, QString *error)
{
    using D = TfrxDBDataset;
    static const PropertyTable<D> table{
        {"UserName",
         [](D &dataset, const QString &, const QString &value, QString *error) {
             if (value.trimmed().isEmpty())
                 return fail(error, QStringLiteral("Неверное значение свойства"));
             dataset.userName = value;
             return true;
         }},
        field<D>("DataSource", &D::dataSource, anyText),
        field<D>("DataSet", &D::dataSetRef, anyText),
        field<D>("CloseDataSource", &D::closeDataSource, parseBoolean),
        field<D>("BCDToCurrency", &D::bcdToCurrency, parseBoolean),
        field<D>("Enabled", &D::enabled, parseBoolean),
        field<D>("RangeBegin", &D::rangeBegin, anyText),
        field<D>("RangeEnd", &D::rangeEnd, anyText),
    };
    const auto done = table.assign(*this, name, name, value, error);
    return done ? *done : TfrxComponent::setProperty(name, value, error);
}

bool TfrxReport::setProperty(const QString &name, const QString &value, QString *error)
{
    using R = TfrxReport;
    static const QString reportClass = QStringLiteral("TfrxReport");
    static const PropertyTable<R> table{
        record<R>("PreviewOptions.*", &R::previewOptions, previewOptionsTable(), reportClass),
        record<R>("PrintOptions.*", &R::printOptions, printOptionsTable(), reportClass),
        record<R>("EngineOptions.*", &R::engineOptions, engineOptionsTable(), reportClass),
        // Description and date stamps of the designer: kept by nobody.
        {"ReportOptions.*",
         {},
         [](R &, const QString &, const QString &, const QString &, QString *) { return true; }},
        field<R>("ScriptLanguage", &R::scriptLanguage, anyText),
        field<R>("ScriptText", &R::scriptText,
                 [](const QString &value) { return std::optional(splitStoredLines(value)); }),
        field<R>("Version", &R::version, anyText),
        field<R>("DotMatrixReport", &R::dotMatrixReport, parseBoolean),
        field<R>("IniFile", &R::iniFile, anyText),
    };
    const auto done = table.assign(*this, name, name, value, error);
    return done ? *done : TfrxComponent::setProperty(name, value, error);
}

} // namespace zreport
