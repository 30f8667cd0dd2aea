#pragma once

#include "data/tdm.h"
#include "scoped_locale.h"
#include "scripted_prompts.h"
#include "temp_database.h"

#include <QLocale>

#include <gtest/gtest.h>

// A window's test: a data module over a database of its own, a prompt service the test
// answers, and the Russian locale of Kazakhstan (comma decimals, dd.MM.yyyy dates).
class WindowTest : public ::testing::Test {
protected:
    explicit WindowTest(TempDatabase::Content content) : db(content) {}

    void SetUp() override { dm.DataModuleCreate(db.path()); }

    TempDatabase db;
    TDM dm;
    ScriptedPrompts prompts;

private:
    ScopedLocale m_locale{QLocale(QLocale::Russian, QLocale::Kazakhstan)};
};
