#include "installation_check.h"

#include "data/dataset.h"
#include "data/tdm.h"
#include "tfrm_main.h"

#include <QTimer>

#include <cstdio>

namespace {

void print(const char *kind, const QString &text)
{
    std::fprintf(stderr, "%s: %s\n", kind, qPrintable(text));
}

} // namespace

bool StandardErrorPrompts::confirm(QWidget *, const QString &text)
{
    print("confirm (answered No)", text);
    return false;
}

void StandardErrorPrompts::inform(QWidget *, const QString &text)
{
    print("inform", text);
}

void StandardErrorPrompts::error(QWidget *, const QString &text, const QString &caption)
{
    print(qPrintable(QStringLiteral("error [%1]").arg(caption)), text);
}

std::function<void(TfrmMain &, TDM &)>
reportRegisterAndClose(std::function<void(TfrmMain &, TDM &)> first)
{
    return [first = std::move(first)](TfrmMain &window, TDM &dm) {
        if (first)
            first(window, dm);
        auto *grid = window.findChild<QWidget *>(QStringLiteral("dbgrSchets"));
        if (window.isVisible() && grid && grid->isVisible() && dm.DSetDocs->isActive()) {
            std::printf("register shown: %s; documents: %d\n", qPrintable(window.windowTitle()),
                        dm.DSetDocs->recordCount());
            std::fflush(stdout);
        }
        QTimer::singleShot(0, &window, &TfrmMain::close);
    };
}
