#pragma once

// Small templates written inline for engine tests, and their runs.

#include "report/prepared_io.h"
#include "report/prepared_report.h"
#include "report/report_engine.h"
#include "report/report_output.h"
#include "report/report_rows.h"
#include "templates/template_loader.h"

#include <QBuffer>
#include <QLocale>

#include <gtest/gtest.h>

#include <memory>

// What one of the engine's writers puts out for the prepared pages, in memory:
// written(report, zreport::writePreparedJson).
inline QByteArray written(const zreport::PreparedReport &report,
                          bool (*write)(const zreport::PreparedReport &, QIODevice &))
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(write(report, buffer));
    return buffer.data();
}

inline std::unique_ptr<zreport::TfrxReport> reportFromXml(const QString &xml)
{
    QByteArray bytes = xml.toUtf8();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QString error;
    auto report = ztemplates::loadTemplate(buffer, QStringLiteral("test.xml"), &error);
    EXPECT_TRUE(report) << error.toStdString();
    return report;
}

// A report over the dataset "D" (data source "src") on a page `paperHeightMm` high and
// 100 mm wide without margins; `bands` is the XML of its bands.
inline QString reportXml(const QString &bands, double paperHeightMm = 100)
{
    return QStringLiteral(R"(<TfrxReport Name="r">
  <Datasets><Item DataSet="D" DataSetName="D"/></Datasets>
  <TfrxDBDataset Name="D" UserName="D" DataSource="src"/>
  <TfrxReportPage Name="Page1" PaperWidth="100" PaperHeight="%1">%2</TfrxReportPage>
</TfrxReport>)")
        .arg(paperHeightMm)
        .arg(bands);
}

// A data band "B" over the dataset "D", `height` units high, as wide as the test page; its
// objects take the place of %1.
inline QString masterDataXml(double height, bool stretched = false)
{
    return QStringLiteral(R"(<TfrxMasterData Name="B" Width="377.953" Height="%1" DataSet="D"%2>)")
               .arg(height)
               .arg(stretched ? QStringLiteral(R"( Stretched="True")") : QString()) +
           QStringLiteral("%1</TfrxMasterData>");
}

inline QString memoXml(const QString &name, const QString &attributes, const QString &text)
{
    QString escaped = text.toHtmlEscaped();
    escaped.replace(QLatin1String("&quot;"), QLatin1String("\""));
    return QStringLiteral(R"(<TfrxMemoView Name="%1" ParentFont="False" %2 Memo='%3'/>)")
        .arg(name, attributes, escaped);
}

// Sets a fixed locale for the lifetime of a test.
class RussianLocale {
public:
    RussianLocale() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    ~RussianLocale() { QLocale::setDefault(m_previous); }

private:
    QLocale m_previous;
};

struct ReportRun {
    std::unique_ptr<zreport::TfrxReport> report;
    std::unique_ptr<zreport::ReportEngine> engine;
    bool ok = false;

    const zreport::PreparedReport &prepared() const { return engine->prepared(); }
    const QStringList &errors() const { return engine->errors(); }

    // Texts of the objects named `name`, in output order over all pages.
    QStringList texts(const QString &name) const
    {
        QStringList out;
        for (const auto &page : prepared().pages())
            for (const auto &object : page.objects)
                if (object.name == name)
                    out << object.text;
        return out;
    }
    // Band names of one page, in output order.
    QStringList bands(int page) const
    {
        QStringList out;
        for (const auto &band : prepared().pages().at(size_t(page)).bands)
            out << band.name;
        return out;
    }
    const zreport::PreparedBand &band(int page, int index) const
    {
        return prepared().pages().at(size_t(page)).bands.at(size_t(index));
    }
};

inline ReportRun runReport(const QString &xml, zreport::DataSources sources,
                           QHash<QString, QByteArray> images = {})
{
    ReportRun run;
    run.report = reportFromXml(xml);
    if (!run.report)
        return run;
    run.engine = std::make_unique<zreport::ReportEngine>(*run.report, sources);
    run.engine->setImages(std::move(images));
    run.ok = run.engine->run();
    return run;
}

inline std::unique_ptr<zreport::MemoryRows> numberRows(const QList<QVariant> &values)
{
    auto rows = std::make_unique<zreport::MemoryRows>(QList<zreport::MemoryRows::Column>{
        {"N", zreport::FieldKind::Numeric}, {"S", zreport::FieldKind::String}});
    for (const QVariant &v : values)
        rows->addRow({v, QStringLiteral("row %1").arg(v.toString())});
    return rows;
}
