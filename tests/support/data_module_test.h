#pragma once

#include "tdm.h"
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
        m_savedLocale = QLocale();
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Kazakhstan));
        dm.DataModuleCreate(db.path());
        for (Dataset *d : dm.mainDatasets())
            d->open();
    }
    void TearDown() override { QLocale::setDefault(m_savedLocale); }

    TempDatabase db;
    TDM dm;

private:
    QLocale m_savedLocale;
};
