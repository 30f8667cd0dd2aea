#pragma once

#include "page_settings.h"
#include "report_enums.h"

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// The template object tree: a report owns its pages, a page its bands, a band its memos.
// Every property starts at its class default; a template assigns only what differs.
namespace zreport {

struct ReportFont {
    QString name = QStringLiteral("Arial");
    int height = -13; // negative pixels at 96 dpi
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    QColor color = Qt::black;
    int charset = 1; // DEFAULT_CHARSET

    // Text is measured and drawn at whole points only.
    int pointSize() const;
    static int heightForPointSize(int points);
    bool operator==(const ReportFont &) const = default;
};

struct FrameLine {
    QColor color = Qt::black;
    FrameLineStyle style = FrameLineStyle::fsSolid;
    double width = 1;
    bool operator==(const FrameLine &) const = default;
};

struct Frame {
    unsigned typ = 0; // FrameSide bits
    double width = 1;
    FrameLineStyle style = FrameLineStyle::fsSolid;
    QColor color = Qt::black;
    bool dropShadow = false;
    double shadowWidth = 4;
    FrameLine leftLine, topLine, rightLine, bottomLine;

    // The frame's own colour, style and width are handed down to all four lines.
    void setWidth(double w);
    void setStyle(FrameLineStyle s);
    void setColor(const QColor &c);
    bool operator==(const Frame &) const = default;
};

struct DisplayFormat {
    FormatKind kind = FormatKind::fkText;
    QString formatStr;
    QString decimalSeparator;
    QString thousandSeparator;
    bool operator==(const DisplayFormat &) const = default;
};

class TfrxDBDataset;
class TfrxReport;

// A link to a report dataset as templates store it: by the dataset component's name
// (DataSet) or by its user name (DataSetName); bound once the whole template is read.
struct DataSetLink {
    QString dataSetRef;
    QString dataSetName;
    TfrxDBDataset *dataSet = nullptr;
};

// How a memo sets its text in its box; prepared pages keep it in their text styles.
struct TextFormat {
    HAlign hAlign = HAlign::haLeft;
    VAlign vAlign = VAlign::vaTop;
    double gapX = 2;
    double gapY = 1;
    double lineSpacing = 2;
    double paragraphGap = 0;
    double charSpacing = 0;
    bool wordWrap = true;
    bool clipped = true;
    bool wysiwyg = true;
    bool operator==(const TextFormat &) const = default;
};

class TfrxComponent {
public:
    virtual ~TfrxComponent() = default;
    virtual QString className() const = 0;

    // Assigns one stored property; false with a reason in *error when the name or value is bad.
    virtual bool setProperty(const QString &name, const QString &value, QString *error);

    QString name;
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    ReportFont font;
    bool parentFont = true;
    bool visible = true;
    TfrxComponent *parent = nullptr;
};

class TfrxReportComponent : public TfrxComponent {};

class TfrxView : public TfrxReportComponent, public DataSetLink {
public:
    bool setProperty(const QString &name, const QString &value, QString *error) override;

    QString dataField;
    Frame frame;
    ShiftMode shiftMode = ShiftMode::smAlways;
    QColor color; // invalid: transparent
    bool showHint = false;
};

class TfrxStretcheable : public TfrxView {
public:
    bool setProperty(const QString &name, const QString &value, QString *error) override;

    StretchMode stretchMode = StretchMode::smDontStretch;
};

class TfrxMemoView : public TfrxStretcheable, public TextFormat {
public:
    QString className() const override { return QStringLiteral("TfrxMemoView"); }
    bool setProperty(const QString &name, const QString &value, QString *error) override;

    bool isBound() const { return dataSet && !dataField.isEmpty(); }
    QString text() const { return memo.join(QStringLiteral("\r\n")); }

    QStringList memo;
    DisplayFormat displayFormat;
    bool allowExpressions = true;
    QString expressionDelimiters = QStringLiteral("[,]");
    int rotation = 0;
    bool hideZeros = false;
    bool suppressRepeated = false;
    bool autoWidth = false;
    bool allowHTMLTags = false;
    bool wordBreak = false;
    QString highlightCondition;
};

// A picture of the business (logo, stamp, signature) placed in its box; the box prints empty
// when no image of that name is given to the run.
class TfrxPictureView : public TfrxView {
public:
    QString className() const override { return QStringLiteral("TfrxPictureView"); }
    bool setProperty(const QString &name, const QString &value, QString *error) override;

    QString imageName;           // "logo", "stamp", "head", "accountant"; empty: none
    bool keepAspectRatio = true; // centred in the box; else stretched to fill it
};

enum class BandKind { ReportTitle, Header, MasterData, Footer, PageFooter };

class TfrxBand : public TfrxReportComponent {
public:
    bool setProperty(const QString &name, const QString &value, QString *error) override;
    virtual BandKind kind() const = 0;

    bool stretched = false;
    QString child;
    bool keepChild = false;
    bool printChildIfInvisible = false;
    bool startNewPage = false;
    bool allowSplit = false;
    std::vector<std::unique_ptr<TfrxView>> objects;
};

class TfrxReportTitle : public TfrxBand {
public:
    QString className() const override { return QStringLiteral("TfrxReportTitle"); }
    BandKind kind() const override { return BandKind::ReportTitle; }
};

class TfrxHeader : public TfrxBand {
public:
    QString className() const override { return QStringLiteral("TfrxHeader"); }
    BandKind kind() const override { return BandKind::Header; }
    bool setProperty(const QString &name, const QString &value, QString *error) override;

    bool reprintOnNewPage = false;
};

class TfrxDataBand : public TfrxBand, public DataSetLink {
public:
    bool setProperty(const QString &name, const QString &value, QString *error) override;

    int rowCount = 0;
    bool footerAfterEach = false;
    bool keepFooter = false;
    bool keepHeader = false;
    bool keepTogether = false;
    bool printIfDetailEmpty = false;
};

class TfrxMasterData : public TfrxDataBand {
public:
    QString className() const override { return QStringLiteral("TfrxMasterData"); }
    BandKind kind() const override { return BandKind::MasterData; }
};

class TfrxFooter : public TfrxBand {
public:
    QString className() const override { return QStringLiteral("TfrxFooter"); }
    BandKind kind() const override { return BandKind::Footer; }
};

class TfrxPageFooter : public TfrxBand {
public:
    QString className() const override { return QStringLiteral("TfrxPageFooter"); }
    BandKind kind() const override { return BandKind::PageFooter; }
    bool setProperty(const QString &name, const QString &value, QString *error) override;

    bool printOnFirstPage = true;
    bool printOnLastPage = true;
};

class TfrxPage : public TfrxComponent {};

class TfrxReportPage : public TfrxPage {
public:
    QString className() const override { return QStringLiteral("TfrxReportPage"); }
    bool setProperty(const QString &name, const QString &value, QString *error) override;

    void setPaperSize(int code);
    void setPaperWidth(double mm);
    void setPaperHeight(double mm);
    void setOrientation(PageOrientation o);

    PageSettings settings;
    bool titleBeforeHeader = true;
    bool printIfEmpty = true;
    int pageCount = 1;
    std::vector<std::unique_ptr<TfrxBand>> bands;
};

class TfrxDataPage : public TfrxPage {
public:
    TfrxDataPage()
    {
        width = 1000;
        height = 1000;
    }
    QString className() const override { return QStringLiteral("TfrxDataPage"); }
};

// The named wrapper through which a template reads one dataset of the data module.
class TfrxDBDataset : public TfrxComponent {
public:
    QString className() const override { return QStringLiteral("TfrxDBDataset"); }
    bool setProperty(const QString &name, const QString &value, QString *error) override;

    QString userName;
    QString dataSource; // e.g. "DM.DSDocs"
    QString dataSetRef; // a direct dataset reference; wins over dataSource
    bool closeDataSource = false;
    bool bcdToCurrency = false;
    bool enabled = true;
    QString rangeBegin;
    QString rangeEnd;
};

// An item of the report's Datasets list.
using DatasetItem = DataSetLink;

struct PreviewOptions {
    QStringList buttons{"pbPrint", "pbLoad", "pbSave",      "pbExport",
                        "pbZoom",  "pbFind", "pbOutline",   "pbPageSetup",
                        "pbTools", "pbEdit", "pbNavigator", "pbExportQuick"};
    double zoom = 1.0;
    QString zoomMode = QStringLiteral("zmDefault");
    bool allowEdit = true;
    bool maximized = true;
    bool modal = true;
    bool mdiChild = false;
    bool showCaptions = false;
    bool doubleBuffered = true;
    int pagesInCache = 50;
};

struct PrintOptions {
    QString printer = QStringLiteral("По умолчанию");
    int copies = 1;
    bool collate = true;
    bool showDialog = true;
    int printOnSheet = 0;
};

struct EngineOptions {
    bool convertNulls = true;
    bool doublePass = false;
    bool printIfEmpty = true;
};

class TfrxReport : public TfrxComponent {
public:
    QString className() const override { return QStringLiteral("TfrxReport"); }
    bool setProperty(const QString &name, const QString &value, QString *error) override;

    // Case-insensitive, among the items of Datasets whose dataset is assigned.
    TfrxDBDataset *findDataset(QStringView userName) const;
    std::vector<TfrxReportPage *> reportPages() const;

    // After loading: binds DataSet/DataSetName references and hands fonts down to children.
    void resolveReferences();

    std::vector<DatasetItem> datasets;
    PreviewOptions previewOptions;
    PrintOptions printOptions;
    EngineOptions engineOptions;
    QString scriptLanguage = QStringLiteral("PascalScript");
    QStringList scriptText{"begin", "", "end."};
    QString version = QStringLiteral("4.15");
    bool dotMatrixReport = false;
    QString iniFile;
    // What the printed document is called ("Счет № 7 от 01.12.2026 — ТОО «Заря»"), given by
    // whoever prints it; it names the print job. Not part of the template.
    QString documentTitle;
    // The images of the business that its pictures show, by image name, as their files hold
    // them; given by whoever prints it, like the title. Not part of the template.
    QHash<QString, QByteArray> images;
    std::vector<std::unique_ptr<TfrxPage>> pages;
    // The report datasets of the window that owns the template; the template file carries them.
    std::vector<std::unique_ptr<TfrxDBDataset>> windowDatasets;

private:
    void bind(DataSetLink &link) const;
    TfrxDBDataset *windowDatasetByName(QStringView componentName) const;
    TfrxDBDataset *windowDatasetByUserName(QStringView userName) const;
};

} // namespace zreport
