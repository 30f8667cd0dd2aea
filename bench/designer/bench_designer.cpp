// The template designer: one step of dragging the logo over the invoice's page (the mouse
// move and the page's repaint that follows it), and opening the designer on the largest form
// until its page is painted. Run from build/bin:
//   build/bin/bench_designer

#include "report/designer/design_view.h"
#include "report/designer/designer_window.h"
#include "report/report_units.h"
#include "templates/template_loader.h"

#include "widget_bench_main.h"
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QWindow>

using namespace zreport;
using namespace zdesigner;

namespace {

std::unique_ptr<TfrxReport> builtin(const QString &name)
{
    QString error;
    auto report = ztemplates::loadBuiltinTemplate(name, &error);
    if (!report)
        qFatal("%s", qPrintable(error));
    return report;
}

DesignerServices quietServices()
{
    DesignerServices services;
    services.save = [](const QByteArray &, QString *) { return true; };
    services.ask = [](QWidget *, const QString &) { return QMessageBox::No; };
    services.message = [](QWidget *, const QString &text) { qWarning("%s", qPrintable(text)); };
    return services;
}

// Shown, and on the screen: a window is painted once its platform window is exposed.
void showExposed(QWidget &window)
{
    window.show();
    while (!window.windowHandle() || !window.windowHandle()->isExposed())
        QApplication::processEvents();
}

void sendMouse(QWidget *widget, QEvent::Type type, QPointF at)
{
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// The logo held by the mouse and moved back and forth by 4 mm; each step is the move and the
// repaint of the whole page at 100 %.
void dragRepaint(benchmark::State &state)
{
    const auto report = builtin(QStringLiteral("repSchet"));
    DesignerWindow window(*report, quietServices());
    window.resize(1280, 1000);
    showExposed(window);
    DesignView *view = window.view();
    TfrxView *logo = nullptr;
    for (TfrxView *object : window.document().allObjects()) {
        if (object->name == QLatin1String("PicLogo"))
            logo = object;
    }
    const QPointF from = view->toWidget(window.document().rectOnPage(logo).center());
    sendMouse(view, QEvent::MouseButtonPress, from);
    int step = 0;
    for (auto _ : state) {
        const double dx = (++step % 2 ? 4 : 0) * kUnitsPerMm;
        sendMouse(view, QEvent::MouseMove, from + QPointF(dx + 5, 0));
        view->repaint();
    }
    sendMouse(view, QEvent::MouseButtonRelease, from);
    if (window.document().undoStack().count() != 1)
        state.SkipWithError("the logo was not dragged");
}

// From the call until the designer's page is painted on the screen, on the form with the most
// objects and the longest template (the portrait waybill).
void openLargest(benchmark::State &state)
{
    const auto report = builtin(QStringLiteral("repNaklAlb"));
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        DesignerWindow window(*report, quietServices());
        window.resize(1280, 1000);
        showExposed(window);
        window.repaint();
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
    }
}

} // namespace

BENCHMARK(dragRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(openLargest)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv, true);
}
