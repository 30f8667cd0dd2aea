#include "tdm.h"
#include "temp_database.h"

#include <QProcess>
#include <QThread>

#include <csignal>

#include <gtest/gtest.h>

// Logging out sends SIGTERM: the program must close as by "Выход", letting go of its file.
TEST(Termination, ASignalClosesTheProgramInOrder)
{
    TempDatabase db(TempDatabase::Demo);
    // Once during start-up (the database opening), once in the running program.
    for (int delayMs : {700, 2500}) {
        QProcess zarnik;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        zarnik.setProcessEnvironment(env);
        zarnik.setWorkingDirectory(db.folder());
        zarnik.start(QStringLiteral(ZARNIK_EXECUTABLE), {});
        ASSERT_TRUE(zarnik.waitForStarted());
        QThread::msleep(static_cast<unsigned long>(delayMs));
        ::kill(static_cast<pid_t>(zarnik.processId()), SIGTERM);
        ASSERT_TRUE(zarnik.waitForFinished(30000)) << "still running after SIGTERM";
        EXPECT_EQ(zarnik.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(zarnik.exitCode(), 0);

        TDM dm;
        EXPECT_NO_THROW(dm.DataModuleCreate(db.path())) << "the file is still held";
    }
}
