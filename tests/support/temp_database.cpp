#include "temp_database.h"

#include "data/database_file.h"
#include "data/demo_data.h"
#include "data/tdm.h"

TempDatabase::TempDatabase(Content content) : m_path(m_dir.path() + QStringLiteral("/ZNDB1.2.GDB"))
{
    database::create(m_path);
    if (content == Demo) {
        TDM dm;
        dm.DataModuleCreate(m_path);
        fillDemoData(dm);
        dm.DataModuleDestroy();
    }
}
