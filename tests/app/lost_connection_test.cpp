// The server goes away in the middle of work: the user is told, nothing stored is lost, and every
// window can still be closed.
#include "app/tfrm_main.h"
#include "core/work_session.h"
#include "data/fb_statement.h"
#include "data/tdm.h"
#include "editor/document_editor.h"
#include "scoped_locale.h"
#include "scripted_prompts.h"
#include "server_database.h"
#include "tcp_relay.h"
#include "ui/application_title.h"
#include "window_driver.h"

#include <QAbstractButton>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <memory>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace {

const QString kLost = QStringLiteral("Связь с сервером базы данных потеряна");

class LostConnection : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_SERVER(db);
        dm.DataModuleCreate(QStringLiteral("127.0.0.1/%1:%2").arg(relay.port()).arg(db.path()),
                            ServerDatabase::testUser());
    }

    // What the server holds, read past the relay.
    int storedDocuments(const QString &client)
    {
        TDM reader;
        reader.DataModuleCreate(db.location(), ServerDatabase::testUser());
        reader.TsnRW.start();
        const int count =
            FbStatement::scalar(reader.TsnRW, QStringLiteral("select count(*) from DOCS where "
                                                             "NAMEORG = '%1'")
                                                  .arg(client))
                .toInt();
        reader.DataModuleDestroy();
        return count;
    }

    ServerDatabase db{TempDatabase::Demo};
    TcpRelay relay{3050};
    TDM dm;
    WorkSession session{dm};
    ScriptedPrompts prompts;

private:
    ScopedLocale m_locale{QLocale(QLocale::Russian, QLocale::Kazakhstan)};
};

void press(const QWidget &window, const char *name)
{
    auto *button = child<QAbstractButton>(window, name);
    ASSERT_TRUE(button);
    button->click();
}

// The register and the editor of a new document with a line are open when the server goes:
// "ОК" says the connection is lost and keeps what was typed, "Отмена" and the register's
// closing still close, and the document stored before is on the server.
TEST_F(LostConnection, EveryWindowIsToldAndStillClosesAndNothingStoredIsLost)
{
    auto window = std::make_unique<TfrmMain>(session, prompts);
    bool editorClosed = false;
    int added = 0;
    window->setDocumentEditor([&](QWidget *parent, EditorMode mode) {
        return openDocumentEditor(dm, prompts, {}, mode, parent, [&](QDialog &editor) {
            editor.show();
            typeInto(editor, "dbNAMEORG_0", QStringLiteral("ТОО «Сохраненный»"));
            if (added++ == 0) {
                press(editor, "btnOk");
                return editor.result();
            }
            dm.DSetDetail->insert();
            dm.DSetDetail->setValue(QStringLiteral("NAME"), QStringLiteral("Бумага"));
            dm.DSetDetail->post();
            typeInto(editor, "dbNAMEORG_0", QStringLiteral("ТОО «Несохраненный»"));
            relay.cut();

            press(editor, "btnOk");
            EXPECT_TRUE(editor.isVisible());
            EXPECT_EQ(child<QLineEdit>(editor, "dbNAMEORG_0")->text(),
                      QStringLiteral("ТОО «Несохраненный»"));
            press(editor, "btnCancel");
            editorClosed = !editor.isVisible();
            return editor.result();
        });
    });
    window->show();
    click(*window, "btnAdd"); // stored and committed before the server goes

    for (int i = 0; i < 4; ++i)
        prompts.expectError({}, applicationTitle());
    click(*window, "btnAdd");
    EXPECT_TRUE(editorClosed);
    window->close();
    window.reset();
    prompts.verify();
    for (const auto &shown : prompts.shown())
        EXPECT_TRUE(shown.text.startsWith(kLost)) << shown.text.toStdString();

    EXPECT_EQ(storedDocuments(QStringLiteral("ТОО «Сохраненный»")), 1);
    EXPECT_EQ(storedDocuments(QStringLiteral("ТОО «Несохраненный»")), 0);
}

// A network that goes silent (a cable pulled, a VPN dropped) answers nothing, not even a reset:
// the connection to the server gives up unanswered data and probes within seconds, not after
// TCP's quarter of an hour.
TEST_F(LostConnection, ASilentNetworkIsGivenUpWithinSeconds)
{
    int checked = 0;
    for (int fd = 0; fd < 1024; ++fd) {
        sockaddr_in peer{};
        socklen_t length = sizeof peer;
        if (::getpeername(fd, reinterpret_cast<sockaddr *>(&peer), &length) != 0 ||
            peer.sin_family != AF_INET || ntohs(peer.sin_port) != relay.port())
            continue;
        unsigned unansweredMs = 0;
        int idleSeconds = 0;
        socklen_t size = sizeof unansweredMs;
        ASSERT_EQ(::getsockopt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &unansweredMs, &size), 0);
        size = sizeof idleSeconds;
        ASSERT_EQ(::getsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idleSeconds, &size), 0);
        EXPECT_GT(unansweredMs, 0u);
        EXPECT_LE(unansweredMs, 15000u);
        EXPECT_LE(idleSeconds, 10);
        ++checked;
    }
    EXPECT_GE(checked, 1) << "no connection to the server found";
}

} // namespace
