#pragma once

#include "data/tdm.h"
#include "scoped_locale.h"
#include "temp_database.h"

#include <QLocale>

#include <gtest/gtest.h>

// A data module over a new database with its nine datasets open, under the Russian locale
// of Kazakhstan (comma decimals, dd.MM.yyyy dates).
class DataModuleTest : public ::testing::Test {
protected:
    explicit DataModuleTest(TempDatabase::Content content = TempDatabase::Empty) : db(content) {}

    void SetUp() override
    {
        dm.DataModuleCreate(db.path());
        for (Dataset *d : dm.mainDatasets())
            d->open();
    }

    TempDatabase db;
    TDM dm;

private:
    ScopedLocale m_locale{QLocale(QLocale::Russian, QLocale::Kazakhstan)};
};
