#pragma once

#include "app/tfrm_main.h"
#include "core/work_session.h"
#include "window_test.h"

#include <memory>

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
