#pragma once

#include "scripted_prompts.h"
#include "tdm.h"
#include "temp_database.h"

#include <QLocale>

#include <gtest/gtest.h>

// A window's test: a data module over a database of its own, a prompt service the test
// answers, and the Russian locale of Kazakhstan (comma decimals, dd.MM.yyyy dates).
class WindowTest : public ::testing::Test {
protected:
    explicit WindowTest(TempDatabase::Content content) : db(content) {}

    void SetUp() override
    {
        m_savedLocale = QLocale();
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Kazakhstan));
        dm.DataModuleCreate(db.path());
    }
    void TearDown() override { QLocale::setDefault(m_savedLocale); }

    TempDatabase db;
    TDM dm;
    ScriptedPrompts prompts;

private:
    QLocale m_savedLocale;
};
