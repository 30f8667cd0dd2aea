// The document editor on the large file: the number buttons, and opening the editor on a
// document with 1,000 lines.

#include "bench_database.h"
#include "core/auto_number.h"
#include "data/tdm.h"
#include "editor/document_pickers.h"
#include "editor/tfrm_schet.h"
#include "ui/prompt_service.h"

#include "widget_bench_main.h"
#include <QApplication>
#include <QTableView>
#include <QToolButton>

#include <benchmark/benchmark.h>

namespace {

// No message is expected; one that comes anyway fails the benchmark.
class NoPrompts : public PromptService {
public:
    bool confirm(QWidget *, const QString &text) override { return fail(text); }
    void inform(QWidget *, const QString &text) override { fail(text); }
    void error(QWidget *, const QString &text, const QString &) override { fail(text); }

private:
    static bool fail(const QString &text)
    {
        qFatal("unexpected message: %s", qPrintable(text));
        return false;
    }
};

struct Data {
    TDM dm;
    NoPrompts prompts;
    Data()
    {
        dm.DataModuleCreate(benchDatabase());
        dm.TsnRW.start();
        for (Dataset *dataset : dm.mainDatasets())
            dataset->open();
    }
    ~Data()
    {
        // The proposals written while measuring are not kept.
        dm.DSetDocs->cancel();
        dm.closeAllDatasets();
    }
    // The register's view of every document, on the one with KOD kod.
    void showDocument(int kod)
    {
        dm.DSetDocs->close();
        dm.DSetDocs->setSelectSql(QStringLiteral("select * from DOCS order by NUMSCH"));
        dm.DSetDocs->open();
        if (!dm.DSetDocs->locate(kod))
            qFatal("document %d is missing", kod);
    }
};

Data &data()
{
    static Data d;
    return d;
}

const char *const kNumberButtons[] = {"btnNumSch",  "btnNumSchF", "btnNumAct", "btnNumNakl",
                                      "btnNumPrix", "btnNumDov",  "btnNumPlat"};

// One press of a number button on a document being edited: the largest stored number of
// that form is found among 100,001 documents.
void NumberButton(benchmark::State &state)
{
    Data &d = data();
    d.showDocument(1);
    TfrmSchet editor(d.dm, d.prompts, {}, EditorMode::Current);
    editor.show();
    auto *button = editor.findChild<QToolButton *>(QLatin1String(kNumberButtons[state.range(0)]));
    for (auto _ : state)
        button->click();
    state.SetLabel(kNumberButtons[state.range(0)]);
    // The long document holds the largest number of every form.
    const int form = int(state.range(0)) + 1;
    if (d.dm.DSetDocs->asInteger(numberColumn(form)) != kLongDocument + form + 1)
        state.SkipWithError("a wrong number was proposed");
    editor.reject();
}
BENCHMARK(NumberButton)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

// From "Изменить" to the window on the screen: the lines read, the window built and laid
// out, its first page and the visible lines painted; closed with "Отмена" in between.
void OpenEditorOnThousandLines(benchmark::State &state)
{
    Data &d = data();
    d.showDocument(kLongDocument);
    for (auto _ : state) {
        d.dm.DSetDetail->close();
        d.dm.DSetDetail->open();
        TfrmSchet editor(d.dm, d.prompts, {}, EditorMode::Current);
        editor.show();
        QApplication::processEvents();
        editor.grab();
        state.PauseTiming();
        editor.reject();
        d.dm.DSetDocs->cancel();
        state.ResumeTiming();
    }
    if (d.dm.DSetDetail->recordCount() != kLongDocumentLines)
        state.SkipWithError("the long document does not have its lines");
}
BENCHMARK(OpenEditorOnThousandLines)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv, false);
}
