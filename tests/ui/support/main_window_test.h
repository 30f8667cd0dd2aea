#pragma once

#include "app/tfrm_main.h"
#include "core/work_session.h"
#include "window_test.h"

#include <memory>

// What printing the cash receipt order of the demo's invoice 1 (order № 1 of 02.03.2026 over
// 172 950,00, the Russian locale's group separator a non-breaking blank) asks while it is unpaid.
inline QString demoCashReceiptQuestion()
{
    return QStringLiteral("Записать оплату наличными по приходному кассовому ордеру № 1 от "
                          "02.03.2026 на сумму 172\u00A0950,00?");
}

// The document register (the main window) over a database; the window opens when a test
// has stored what it needs, and closes before the data module goes.
class MainWindowTest : public WindowTest {
protected:
    explicit MainWindowTest(TempDatabase::Content content) : WindowTest(content) {}

    void TearDown() override
    {
        window.reset();
        WindowTest::TearDown();
    }

    // shower: what the printing commands hand their reports to; none keeps the window's own.
    void openWindow(ReportShower shower = {})
    {
        window = std::make_unique<TfrmMain>(session, prompts);
        if (shower)
            window->setReportShower(std::move(shower));
        window->show();
    }

    WorkSession session{dm};
    std::unique_ptr<TfrmMain> window;
};
