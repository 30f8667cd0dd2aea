#pragma once

// Built-in templates run over the sample rows every form and listing reads.

#include "../report/report_fixture.h"
#include "sample_data.h"

#include "templates/template_loader.h"

#include <cmath>

inline std::unique_ptr<zreport::TfrxReport> builtin(const QString &name)
{
    QString error;
    auto report = ztemplates::loadBuiltinTemplate(name, &error);
    EXPECT_TRUE(report) << error.toStdString();
    return report;
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

inline ReportRun runBuiltin(const QString &name, const SampleData &data,
                            QHash<QString, QByteArray> images = {})
{
    ReportRun run;
    run.report = builtin(name);
    run.engine = std::make_unique<zreport::ReportEngine>(*run.report, data.sources());
    run.engine->setImages(std::move(images));
    run.ok = run.engine->run();
    return run;
}
