#include "temp_database.h"

#include "database_file.h"
#include "demo_data.h"
#include "tdm.h"

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
