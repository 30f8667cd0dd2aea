#include "data/server_address.h"

#include <gtest/gtest.h>

namespace {

using database::ServerAddress;

TEST(ServerAddress, ReadsEveryFormOfConnectionString)
{
    const struct {
        const char *location;
        const char *host;
        int port;
        const char *database;
    } cases[] = {
        {"office:/var/db/ZNDB1.2.GDB", "office", 3050, "/var/db/ZNDB1.2.GDB"},
        {"192.168.1.10/3051:zarnik", "192.168.1.10", 3051, "zarnik"},
        {"[::1]/3052:zarnik", "::1", 3052, "zarnik"},
        {"inet://office/zarnik", "office", 3050, "zarnik"},
        {"inet://office:3053//var/db/z.gdb", "office", 3053, "/var/db/z.gdb"},
        {"INET4://10.0.0.2/C:\\db\\z.gdb", "10.0.0.2", 3050, "C:\\db\\z.gdb"},
    };
    for (const auto &c : cases) {
        const auto address = database::parseServerAddress(QString::fromUtf8(c.location));
        ASSERT_TRUE(address) << c.location;
        EXPECT_EQ(address->host.toStdString(), c.host) << c.location;
        EXPECT_EQ(address->port, c.port) << c.location;
        EXPECT_EQ(address->database.toStdString(), c.database) << c.location;
    }
}

TEST(ServerAddress, AFileOfThisComputerIsNoServer)
{
    for (const char *file : {"/home/shop/ZNDB1.2.GDB", "ZNDB1.2.GDB", "C:\\shop\\ZNDB1.2.GDB"})
        EXPECT_FALSE(database::parseServerAddress(QString::fromUtf8(file))) << file;
}

// What the connection window writes is read back into the same boxes.
TEST(ServerAddress, WritesTheShortestFormAndReadsItBack)
{
    const struct {
        ServerAddress address;
        const char *location;
    } cases[] = {
        {{"office", 3050, "/var/db/ZNDB1.2.GDB"}, "office:/var/db/ZNDB1.2.GDB"},
        {{" office ", 3051, " zarnik "}, "office/3051:zarnik"},
        {{"fe80::1", 3050, "zarnik"}, "[fe80::1]:zarnik"},
    };
    for (const auto &c : cases) {
        const QString location = database::connectionString(c.address);
        EXPECT_EQ(location.toStdString(), c.location);
        const auto back = database::parseServerAddress(location);
        ASSERT_TRUE(back) << c.location;
        EXPECT_EQ(back->host, c.address.host.trimmed());
        EXPECT_EQ(back->port, c.address.port);
        EXPECT_EQ(back->database, c.address.database.trimmed());
    }
}

} // namespace
