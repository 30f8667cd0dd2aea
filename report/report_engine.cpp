#include "report_engine.h"

#include "aggregates.h"
#include "band_run.h"
#include "expression.h"
#include "memo_format.h"
#include "value_text.h"

#include <QDateTime>
#include <QHash>

#include <algorithm>
#include <cmath>

namespace zreport {

QString runErrorsCaption()
{
    return QStringLiteral("Ошибка");
}

QString runErrorsText(const QStringList &errors)
{
    return QStringLiteral("Были обнаружены следующие ошибки:\n") + errors.join(QLatin1Char('\n'));
}

namespace {

// Comparisons of heights and free space: sums of millimetre conversions are not exact.
constexpr double kEpsilon = 1e-6;

QString normalizedText(const QString &text)
{
    if (!text.contains(QLatin1Char('\r')) && !text.endsWith(QLatin1Char('\n')))
        return text;
    return textParagraphs(text).join(QLatin1Char('\n'));
}

} // namespace

class ReportEngine::Run : public ExpressionHost {
public:
    Run(ReportEngine &engine)
        : m_engine(engine), m_report(engine.m_report), m_prepared(engine.m_prepared),
          m_expressions(*this)
    {}

    bool execute();

    // ExpressionHost
    ReportRows *datasetRows(QStringView userName, QString *canonicalUserName) override;
    QVariant systemValue(SystemVariable variable) const override;
    bool convertNulls() const override { return m_report.engineOptions.convertNulls; }
    QVariant aggregateValue(const AggregateCall &call) override;
    void addError(const QString &message) override;
    QString currentObjectName() const override { return m_currentObject; }

private:
    bool buildPages();
    ReportRows *openDataset(const TfrxDBDataset *dataset);
    void runPage(PageRun &page);
    void runMasterData(BandRun &band);
    void showBand(BandRun *band);
    void layoutBand(BandRun &band);
    void getData(MemoRun &memo);
    QString expandedText(MemoRun &memo);
    void ensureLines(MemoRun &memo);
    void outputBand(BandRun &band);
    void splitBand(BandRun &band);
    void newPage();
    void endPage();
    void addPreparedPage();
    const PageSettings &settingsOf(const PageRun &page) const
    {
        return m_engine.m_pageSettings ? *m_engine.m_pageSettings : page.page->settings;
    }
    double freeSpace() const { return m_pageHeight - footerHeight() - m_currentY; }
    double footerHeight() const;
    void addPreparedObject(PreparedPage &page, const MemoRun &memo, double top, double height,
                           size_t firstLine, size_t lineCount);
    void addPicture(BandRun &band, const TfrxPictureView &picture);
    void addPreparedPicture(PreparedPage &page, const PictureRun &picture, double top) const;
    PreparedBand preparedBand(const BandRun &band, const PreparedPage &page) const;
    void reportProgress();

    ReportEngine &m_engine;
    const TfrxReport &m_report;
    PreparedReport &m_prepared;
    Expressions m_expressions;

    std::vector<std::unique_ptr<PageRun>> m_pages;
    Aggregates m_aggregates;
    QHash<const TfrxDBDataset *, ReportRows *> m_opened;
    QDateTime m_started;

    PageRun *m_page = nullptr;
    double m_pageHeight = 0;
    double m_currentY = 0;
    std::vector<BandRun *> m_headerList;
    BandRun *m_currentBand = nullptr;
    BandRun *m_lastBandOnPage = nullptr;
    std::vector<const BandRun *> m_bandsOnPage;
    bool m_firstPage = false;
    bool m_lastPage = false;
    bool m_calledFromNewPage = false;
    bool m_freshPage = false; // nothing but reprinted headers on the page yet
    int m_line = 0;
    int m_lineThrough = 0;
    QString m_currentObject;
};

void ReportEngine::Run::addError(const QString &message)
{
    QStringList &errors = m_engine.m_errors;
    const auto less = [](const QString &a, const QString &b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    };
    const auto it = std::lower_bound(errors.begin(), errors.end(), message, less);
    if (it == errors.end() || *it != message)
        errors.insert(it, message);
}

ReportRows *ReportEngine::Run::openDataset(const TfrxDBDataset *dataset)
{
    if (ReportRows *rows = m_opened.value(dataset))
        return rows;
    ReportRows *rows =
        findDataSource(m_engine.m_sources,
                       dataset->dataSetRef.isEmpty() ? dataset->dataSource : dataset->dataSetRef);
    if (!rows || !rows->open())
        throw EvalError{QStringLiteral("Компонент %1 не подключен к данным").arg(dataset->name),
                        false};
    m_opened.insert(dataset, rows);
    return rows;
}

ReportRows *ReportEngine::Run::datasetRows(QStringView userName, QString *canonicalUserName)
{
    const TfrxDBDataset *dataset = m_report.findDataset(userName);
    if (!dataset)
        return nullptr;
    if (canonicalUserName)
        *canonicalUserName = dataset->userName;
    return openDataset(dataset);
}

QVariant ReportEngine::Run::systemValue(SystemVariable variable) const
{
    switch (variable) {
    case SystemVariable::Date:
        return m_started.date();
    case SystemVariable::Time:
        return m_started.time();
    case SystemVariable::Page:
    case SystemVariable::PageN:
        return m_prepared.pageCount();
    case SystemVariable::TotalPages:
    case SystemVariable::TotalPagesN:
        return 0; // single pass: not known
    case SystemVariable::Line:
        return m_line;
    case SystemVariable::LineN:
        return m_lineThrough;
    case SystemVariable::CopyName:
        break;
    }
    return QString();
}

QVariant ReportEngine::Run::aggregateValue(const AggregateCall &call)
{
    return m_aggregates.value(call, m_currentBand);
}

bool ReportEngine::Run::buildPages()
{
    bool ok = true;
    for (const TfrxReportPage *page : m_report.reportPages()) {
        auto run = std::make_unique<PageRun>();
        run->page = page;
        std::vector<const TfrxBand *> ordered;
        for (const auto &band : page->bands)
            ordered.push_back(band.get());
        std::stable_sort(ordered.begin(), ordered.end(), [](const TfrxBand *a, const TfrxBand *b) {
            return std::round(a->top * 100) < std::round(b->top * 100);
        });
        for (const TfrxBand *band : ordered) {
            auto b = std::make_unique<BandRun>();
            b->band = band;
            std::vector<ShiftRect> rects;
            for (const auto &view : band->objects) {
                const auto *memo = dynamic_cast<const TfrxMemoView *>(view.get());
                if (!memo) {
                    if (const auto *picture = dynamic_cast<const TfrxPictureView *>(view.get()))
                        addPicture(*b, *picture);
                    continue;
                }
                MemoRun m;
                m.memo = memo;
                m.textStyle = TextStyle::of(*memo);
                m.style = m_prepared.addStyle(m.textStyle);
                m.storedText = normalizedText(memo->text());
                b->memos.push_back(std::move(m));
                rects.push_back({memo->left, memo->top, memo->width, memo->height});
            }
            for (const PictureRun &p : b->pictures)
                rects.push_back(
                    {p.picture->left, p.picture->top, p.picture->width, p.picture->height, true});
            b->shiftTree = buildShiftTree(rects, band->left, band->top, band->width);
            run->bands.push_back(std::move(b));
        }
        const auto &bands = run->bands;
        for (size_t i = 0; i < bands.size(); ++i) {
            BandRun *b = bands[i].get();
            switch (b->band->kind()) {
            case BandKind::MasterData:
                if (i > 0 && bands[i - 1]->band->kind() == BandKind::Header) {
                    b->header = bands[i - 1].get();
                    b->header->dataBand = b;
                }
                if (i + 1 < bands.size() && bands[i + 1]->band->kind() == BandKind::Footer) {
                    b->footer = bands[i + 1].get();
                    b->footer->dataBand = b;
                }
                run->masterBands.push_back(b);
                break;
            case BandKind::ReportTitle:
                if (!run->title)
                    run->title = b;
                break;
            case BandKind::PageFooter:
                if (!run->pageFooter)
                    run->pageFooter = b;
                break;
            default:
                break;
            }
        }
        for (const auto &b : bands) {
            const BandKind kind = b->band->kind();
            if ((kind == BandKind::Header || kind == BandKind::Footer) && !b->dataBand) {
                addError(QStringLiteral("Не подключенный header/footer ") + b->band->name);
                ok = false;
            }
        }
        m_pages.push_back(std::move(run));
    }
    return ok;
}

void ReportEngine::Run::addPicture(BandRun &band, const TfrxPictureView &picture)
{
    const auto data = m_engine.m_images.constFind(picture.imageName);
    if (!picture.visible || data == m_engine.m_images.cend())
        return;
    const std::optional<quint32> image = m_prepared.addImage(*data);
    if (!image)
        return;
    PictureRun run;
    run.picture = &picture;
    run.image = *image;
    run.style = m_prepared.addStyle(TextStyle{});
    band.pictures.push_back(run);
}

bool ReportEngine::Run::execute()
{
    bool ok = true;
    for (const DatasetItem &item : m_report.datasets) {
        if (!item.dataSet) {
            addError(QStringLiteral("Набор данных \"%1\" не найден").arg(item.dataSetName));
            ok = false;
        }
    }
    if (!ok)
        return false;
    m_started = QDateTime::currentDateTime();
    if (!buildPages())
        return false;
    for (const auto &page : m_pages)
        m_aggregates.collect(*page);
    try {
        for (const auto &page : m_pages) {
            if (m_engine.isTerminated())
                break;
            runPage(*page);
        }
    } catch (const EvalError &error) {
        addError(error.objectPrefix ? m_currentObject + QStringLiteral(": ") + error.message
                                    : error.message);
    } catch (const RowsError &error) {
        addError(error.message);
    }
    for (auto it = m_opened.cbegin(); it != m_opened.cend(); ++it) {
        if (!it.key()->closeDataSource)
            continue;
        try {
            it.value()->close();
        } catch (const RowsError &error) {
            addError(error.message);
        }
    }
    return m_engine.m_errors.isEmpty();
}

void ReportEngine::Run::reportProgress()
{
    if (m_engine.m_progress)
        m_engine.m_progress(m_prepared.pageCount());
}

double ReportEngine::Run::footerHeight() const
{
    return m_page && m_page->pageFooter ? m_page->pageFooter->band->height : 0;
}

void ReportEngine::Run::addPreparedPage()
{
    m_prepared.addPage(settingsOf(*m_page));
    m_bandsOnPage.clear();
    m_currentY = 0;
    m_freshPage = true;
}

void ReportEngine::Run::runPage(PageRun &page)
{
    m_page = &page;
    m_headerList.clear();
    if (page.title)
        m_headerList.push_back(page.title);
    m_pageHeight = settingsOf(page).printableHeight();
    m_firstPage = true;
    addPreparedPage();
    m_calledFromNewPage = true;
    for (BandRun *band : std::vector<BandRun *>(m_headerList))
        showBand(band);
    m_calledFromNewPage = false;
    m_freshPage = m_prepared.pages().back().bands.empty();
    std::erase(m_headerList, page.title);
    for (BandRun *data : page.masterBands) {
        if (m_engine.isTerminated())
            break;
        reportProgress();
        runMasterData(*data);
    }
    m_lastPage = true;
    endPage();
    m_lastPage = false;
}

void ReportEngine::Run::runMasterData(BandRun &band)
{
    const auto *data = static_cast<const TfrxDataBand *>(band.band);
    ReportRows *rows = nullptr;
    int counter = 0;
    if (data->rowCount <= 0) {
        if (!data->dataSet)
            return;
        rows = openDataset(data->dataSet);
        rows->first();
    }
    const auto atEnd = [&] { return rows ? rows->eof() : counter >= data->rowCount; };
    band.lineNumber = 1;
    band.lineThrough = 1;
    int shown = 0;
    while (!atEnd() && !m_engine.isTerminated()) {
        if (shown == 0 && band.header) {
            const auto *header = static_cast<const TfrxHeader *>(band.header->band);
            if (header->reprintOnNewPage)
                m_headerList.push_back(band.header);
            showBand(band.header);
        }
        m_line = band.lineNumber;
        m_lineThrough = band.lineThrough;
        showBand(&band);
        ++band.lineNumber;
        ++band.lineThrough;
        if (rows)
            rows->next();
        else
            ++counter;
        ++shown;
    }
    if (shown > 0) {
        showBand(band.footer);
        std::erase(m_headerList, band.header);
    }
}

void ReportEngine::Run::showBand(BandRun *band)
{
    if (!band)
        return;
    layoutBand(*band);
    if (band->band->visible) {
        bool output = true;
        if (freeSpace() < band->height - kEpsilon) {
            const bool tallerThanPage = band->height > m_pageHeight - footerHeight() + kEpsilon;
            if (tallerThanPage || m_freshPage) {
                // A fresh page cannot offer more room: starting another one would never end.
                splitBand(*band);
                output = false;
            } else {
                newPage();
                m_currentBand = band;
            }
        }
        if (output) {
            const bool onPage =
                std::find(m_bandsOnPage.begin(), m_bandsOnPage.end(), band) != m_bandsOnPage.end();
            if (!(m_calledFromNewPage && onPage)) {
                outputBand(*band);
                m_currentY += band->height;
            }
        }
    }
    m_aggregates.reset(*band);
    if (band->isData()) {
        m_aggregates.addRow(*band, [this](const QString &memoName, const QString &expression) {
            m_currentObject = memoName;
            return m_expressions.calculate(expression);
        });
    }
}

void ReportEngine::Run::layoutBand(BandRun &band)
{
    m_currentBand = &band;
    const TfrxBand &b = *band.band;
    for (MemoRun &m : band.memos) {
        m.top = m.memo->top;
        m.height = m.memo->height;
        m.text = m.storedText;
        m.laidOut = false;
    }
    for (PictureRun &p : band.pictures)
        p.top = p.picture->top;
    band.height = b.height;
    if (!b.visible)
        return;
    for (MemoRun &m : band.memos) {
        if (m.memo->visible)
            getData(m);
    }
    std::vector<ShiftState> states(band.memos.size() + band.pictures.size());
    bool grew = false;
    for (size_t i = 0; i < band.memos.size(); ++i) {
        MemoRun &m = band.memos[i];
        states[i].mode = m.memo->shiftMode;
        if (!m.memo->visible || m.memo->stretchMode == StretchMode::smDontStretch)
            continue;
        ensureLines(m);
        const double needed = memoHeightFor(m.textStyle, int(m.lines.size()));
        if (needed > m.height) {
            states[i].shiftAmount = needed - m.height;
            m.height = needed;
            grew = true;
        }
    }
    if (grew) {
        for (size_t i = 0; i < band.memos.size(); ++i) {
            states[i].top = band.memos[i].top;
            states[i].height = band.memos[i].height;
        }
        for (size_t i = 0; i < band.pictures.size(); ++i) {
            ShiftState &state = states[band.memos.size() + i];
            state.mode = band.pictures[i].picture->shiftMode;
            state.top = band.pictures[i].top;
            state.height = band.pictures[i].picture->height;
        }
        applyShifts(band.shiftTree, states);
        for (size_t i = 0; i < band.memos.size(); ++i)
            band.memos[i].top = states[i].top;
        for (size_t i = 0; i < band.pictures.size(); ++i)
            band.pictures[i].top = states[band.memos.size() + i].top;
    }
    double contentBottom = 0;
    for (const MemoRun &m : band.memos)
        contentBottom = std::max(contentBottom, m.top + m.height);
    if (b.stretched)
        band.height = contentBottom;
    for (MemoRun &m : band.memos) {
        if (m.memo->visible && m.memo->stretchMode == StretchMode::smMaxHeight)
            m.height = contentBottom - m.top;
    }
}

void ReportEngine::Run::getData(MemoRun &m)
{
    const TfrxMemoView &memo = *m.memo;
    m_currentObject = memo.name;
    if (memo.isBound()) {
        ReportRows *rows = openDataset(memo.dataSet);
        if (m.boundField == -2)
            m.boundField = rows->fieldIndex(memo.dataField);
        if (m.boundField < 0) {
            addError(memo.name + QStringLiteral(": Поле не найдено: ") + memo.dataSet->userName +
                     QStringLiteral(".\"") + memo.dataField + QLatin1Char('"'));
            m.text.clear();
            return;
        }
        // The data layer shows numbers and dates as the desktop writes them; a form writes
        // them its own way, so only text is taken as the data layer shows it.
        if (memo.displayFormat.kind != FormatKind::fkText ||
            rows->fieldKind(m.boundField) != FieldKind::String)
            m.text = normalizedText(formatValue(rows->value(m.boundField), memo.displayFormat));
        else
            m.text = normalizedText(rows->displayText(m.boundField));
        return;
    }
    if (!memo.allowExpressions)
        return;
    if (!m.parsed) {
        QString open, close;
        expressionDelimiters(memo.expressionDelimiters, &open, &close);
        m.segments = splitBrackets(m.storedText, open, close);
        m.hasBrackets = std::any_of(m.segments.begin(), m.segments.end(),
                                    [](const MemoSegment &s) { return s.isExpression; });
        m.parsed = true;
    }
    if (m.hasBrackets)
        m.text = expandedText(m);
}

QString ReportEngine::Run::expandedText(MemoRun &m)
{
    QString text;
    for (const MemoSegment &segment : m.segments) {
        if (!segment.isExpression) {
            text += segment.text;
            continue;
        }
        const QVariant value = m_expressions.calculate(segment.text);
        text += formatValue(value, segment.formatOverride ? *segment.formatOverride
                                                          : m.memo->displayFormat);
    }
    return normalizedText(text);
}

void ReportEngine::Run::ensureLines(MemoRun &m)
{
    if (m.laidOut)
        return;
    const TextBox box = textBox(m.textStyle, m.memo->left, m.top, m.memo->width, m.height);
    layoutText(m.text, m.textStyle, box.width(), m.lines);
    m.laidOut = true;
}

PreparedBand ReportEngine::Run::preparedBand(const BandRun &band, const PreparedPage &page) const
{
    PreparedBand out;
    out.name = band.band->name;
    out.top = m_currentY;
    out.width = band.band->width;
    out.firstObject = quint32(page.objects.size());
    return out;
}

namespace {

// An object of the page at its place: the template's name and horizontal place, the run's top
// and height.
PreparedObject placed(const PreparedPage &page, const TfrxComponent &view, quint32 style,
                      double top, double height)
{
    PreparedObject object;
    object.name = view.name;
    object.style = style;
    object.left = view.left;
    object.top = top;
    object.width = view.width;
    object.height = height;
    object.firstLine = quint32(page.lines.size());
    return object;
}

} // namespace

void ReportEngine::Run::addPreparedObject(PreparedPage &page, const MemoRun &m, double top,
                                          double height, size_t firstLine, size_t lineCount)
{
    PreparedObject object = placed(page, *m.memo, m.style, top, height);
    object.text = m.text;
    object.lineCount = quint32(lineCount);
    const auto first = m.lines.begin() + std::ptrdiff_t(firstLine);
    page.lines.insert(page.lines.end(), first, first + std::ptrdiff_t(lineCount));
    page.objects.push_back(std::move(object));
}

void ReportEngine::Run::addPreparedPicture(PreparedPage &page, const PictureRun &p,
                                           double top) const
{
    PreparedObject object = placed(page, *p.picture, p.style, top, p.picture->height);
    object.image = qint32(p.image);
    object.keepAspect = p.picture->keepAspectRatio;
    page.objects.push_back(std::move(object));
}

void ReportEngine::Run::outputBand(BandRun &band)
{
    PreparedPage &page = m_prepared.pages().back();
    PreparedBand out = preparedBand(band, page);
    out.height = band.height;
    for (MemoRun &m : band.memos) {
        if (!m.memo->visible)
            continue;
        ensureLines(m);
        addPreparedObject(page, m, m.top, m.height, 0, m.lines.size());
    }
    for (const PictureRun &p : band.pictures)
        addPreparedPicture(page, p, p.top);
    out.objectCount = quint32(page.objects.size()) - out.firstObject;
    page.bands.push_back(std::move(out));
    m_bandsOnPage.push_back(&band);
    if (!m_calledFromNewPage)
        m_freshPage = false;
}

void ReportEngine::Run::splitBand(BandRun &band)
{
    if (band.isData() && band.lineNumber > 1 && !m_freshPage) {
        newPage();
        m_currentBand = &band;
    }
    struct Piece {
        MemoRun *memo; // null for a picture, which is never cut
        double top, height;
        size_t firstLine, lineCount;
        const PictureRun *picture = nullptr;
    };
    std::vector<Piece> remaining;
    for (MemoRun &m : band.memos) {
        if (!m.memo->visible)
            continue;
        ensureLines(m);
        remaining.push_back({&m, m.top, m.height, 0, m.lines.size()});
    }
    for (const PictureRun &p : band.pictures)
        remaining.push_back({nullptr, p.top, p.picture->height, 0, 0, &p});
    double remainingHeight = band.height;
    for (;;) {
        const double available = std::max(0.0, freeSpace());
        PreparedPage &page = m_prepared.pages().back();
        PreparedBand out = preparedBand(band, page);
        double used = 0;
        std::vector<Piece> next;
        std::sort(remaining.begin(), remaining.end(),
                  [](const Piece &a, const Piece &b) { return a.top < b.top; });
        for (size_t i = 0; i < remaining.size(); ++i) {
            Piece p = remaining[i];
            Piece placed = p;
            bool place = false;
            if (p.top + p.height <= available + kEpsilon) {
                place = true;
            } else if (p.picture && m_freshPage && p.top < kEpsilon) {
                place = true; // taller than a page: printed cut at its foot rather than never
            } else if (p.top < available - kEpsilon) {
                size_t fit = 0;
                if (p.memo) {
                    const TextStyle &style = p.memo->textStyle;
                    const double room = available - p.top - 2 * style.gapY;
                    fit = room > 0 ? size_t(room / lineHeight(style)) : 0;
                    if (fit == 0 && m_freshPage && p.top < kEpsilon)
                        fit = 1; // nothing larger will ever fit: cut it here
                    fit = std::min(fit, p.lineCount);
                }
                if (fit > 0) {
                    placed.height = available - p.top;
                    placed.lineCount = fit;
                    place = true;
                    p.firstLine += fit;
                    p.lineCount -= fit;
                    p.height -= placed.height;
                    p.top = available;
                    if (p.lineCount > 0 || p.height > kEpsilon)
                        next.push_back(p);
                } else {
                    // Moves whole to the next slice, and what lies below it with it.
                    const double delta = available - p.top;
                    for (size_t j = i + 1; j < remaining.size(); ++j)
                        remaining[j].top += delta;
                    remainingHeight += delta;
                    p.top = available;
                    next.push_back(p);
                }
            } else {
                next.push_back(p);
            }
            if (!place)
                continue;
            if (p.picture)
                addPreparedPicture(page, *p.picture, placed.top);
            else
                addPreparedObject(page, *p.memo, placed.top, placed.height, placed.firstLine,
                                  placed.lineCount);
            used = std::max(used, placed.top + placed.height);
        }
        const bool done = next.empty() && remainingHeight <= available + kEpsilon;
        out.height = done ? std::max(used, remainingHeight) : available;
        out.objectCount = quint32(page.objects.size()) - out.firstObject;
        page.bands.push_back(std::move(out));
        m_bandsOnPage.push_back(&band);
        m_freshPage = false;
        m_currentY += page.bands.back().height;
        if (done || m_engine.isTerminated())
            break;
        remainingHeight -= available;
        for (Piece &p : next)
            p.top -= available;
        remaining = std::move(next);
        reportProgress();
        newPage();
        m_currentBand = &band;
    }
}

void ReportEngine::Run::newPage()
{
    m_lastBandOnPage = m_currentBand;
    endPage();
    addPreparedPage();
    const bool wasCalledFromNewPage = m_calledFromNewPage;
    m_calledFromNewPage = true;
    const int line = m_line, lineThrough = m_lineThrough;
    for (BandRun *header : std::vector<BandRun *>(m_headerList)) {
        if (header == m_lastBandOnPage)
            continue;
        if (header->dataBand) {
            m_line = header->dataBand->lineNumber;
            m_lineThrough = header->dataBand->lineThrough;
        }
        showBand(header);
        m_line = line;
        m_lineThrough = lineThrough;
    }
    m_calledFromNewPage = wasCalledFromNewPage;
    m_lastBandOnPage = nullptr;
}

void ReportEngine::Run::endPage()
{
    if (BandRun *footer = m_page->pageFooter) {
        const auto *pf = static_cast<const TfrxPageFooter *>(footer->band);
        BandRun *current = m_currentBand;
        m_currentY = m_pageHeight - pf->height;
        layoutBand(*footer);
        const bool onPage =
            std::find(m_bandsOnPage.begin(), m_bandsOnPage.end(), footer) != m_bandsOnPage.end();
        const bool suppressed =
            (m_firstPage && !pf->printOnFirstPage) || (m_lastPage && !pf->printOnLastPage);
        if (pf->visible && !onPage && !suppressed) {
            const bool wasCalledFromNewPage = m_calledFromNewPage;
            m_calledFromNewPage = true; // the footer is no content of its own
            outputBand(*footer);
            m_calledFromNewPage = wasCalledFromNewPage;
            m_currentY += footer->height;
        }
        m_aggregates.reset(*footer);
        m_currentBand = current;
    }
    m_firstPage = false;
    reportProgress();
}

ReportEngine::ReportEngine(const TfrxReport &report, const DataSources &sources)
    : m_report(report), m_sources(sources), m_images(report.images)
{}

ReportEngine::~ReportEngine() = default;

bool ReportEngine::run()
{
    m_prepared.clear();
    m_errors.clear();
    m_terminated = false;
    Run run(*this);
    return run.execute();
}

const PreparedReport &ReportEngine::prepared() const
{
    return m_prepared;
}

PreparedReport &ReportEngine::prepared()
{
    return m_prepared;
}

const QStringList &ReportEngine::errors() const
{
    return m_errors;
}

void ReportEngine::setImages(QHash<QString, QByteArray> images)
{
    m_images = std::move(images);
}

void ReportEngine::terminate()
{
    m_terminated = true;
}

bool ReportEngine::isTerminated() const
{
    return m_terminated;
}

void ReportEngine::setProgressHandler(std::function<void(int)> handler)
{
    m_progress = std::move(handler);
}

} // namespace zreport
