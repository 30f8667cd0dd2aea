#pragma once

// Built-in templates run over the sample rows every form and listing reads.

#include "../report/report_fixture.h"
#include "sample_data.h"

#include "templates/template_loader.h"

#include <algorithm>
#include <cmath>

inline std::unique_ptr<zreport::TfrxReport> builtin(const QString &name)
{
    QString error;
    auto report = ztemplates::loadBuiltinTemplate(name, &error);
    EXPECT_TRUE(report) << error.toStdString();
    return report;
}

// "Band:memos" for each band of the first page; pictures beside the memos are not counted.
inline QStringList memoCounts(const zreport::TfrxReport &report)
{
    QStringList counts;
    for (const auto &band : report.reportPages().front()->bands) {
        const auto memos = std::count_if(band->objects.begin(), band->objects.end(), [](auto &v) {
            return dynamic_cast<const zreport::TfrxMemoView *>(v.get()) != nullptr;
        });
        counts << QStringLiteral("%1:%2").arg(band->name).arg(memos);
    }
    return counts;
}

// The rows every template of the main window and the reference books reads.
struct SampleData {
    explicit SampleData(int lines, int listRows = 3, const sample::DocumentKind &kind = {})
    {
        double total = 0;
        rekvizity = sample::rekvizity(kind);
        detail = lines > 0 ? sample::detail(lines, &total, kind) : sample::emptyDetail();
        document = sample::document(total, std::round(total * 12 / 112 * 100) / 100, lines, kind);
        knp = sample::knp(listRows);
        clients = sample::clients(listRows);
        goods = sample::goods(listRows);
    }
    zreport::DataSources sources() const
    {
        return {{"DM.DSRekvizity", rekvizity.get()}, {"DM.DSDocs", document.get()},
                {"DM.DSDetail", detail.get()},       {"DM.DSKNP", knp.get()},
                {"DM.DSClients", clients.get()},     {"DM.DSNomenkl", goods.get()}};
    }

    std::unique_ptr<zreport::MemoryRows> rekvizity, document, detail, knp, clients, goods;
};

// The rows the cash receipt order, the power of attorney and the payment order read.
struct OrderRows {
    OrderRows(const sample::OrderDocument &d, int lines)
    {
        double total = 0;
        detail = sample::orderDetail(lines, &total);
        sample::OrderDocument filled = d;
        if (filled.total == 0 && lines > 0) {
            filled.total = total;
            filled.vat = std::round(total * filled.rate / (filled.rate + 100) * 100) / 100;
        }
        document = sample::orderDocument(filled);
    }
    zreport::DataSources sources() const
    {
        return {{"DM.DSRekvizity", rekvizity.get()},
                {"DM.DSDocs", document.get()},
                {"DM.DSDetail", detail.get()}};
    }
    std::unique_ptr<zreport::MemoryRows> rekvizity = sample::orderRekvizity();
    std::unique_ptr<zreport::MemoryRows> document, detail;
};

inline ReportRun runBuiltin(const QString &name, const zreport::DataSources &sources,
                            QHash<QString, QByteArray> images = {})
{
    ReportRun run;
    run.report = builtin(name);
    run.engine = std::make_unique<zreport::ReportEngine>(*run.report, sources);
    run.engine->setImages(std::move(images));
    run.ok = run.engine->run();
    return run;
}

inline ReportRun runBuiltin(const QString &name, const SampleData &data,
                            QHash<QString, QByteArray> images = {})
{
    return runBuiltin(name, data.sources(), std::move(images));
}
