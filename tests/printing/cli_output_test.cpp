// Where zarnik-cli render writes: every kind of target a user may name, for each format,
// checked by exit code, message and what is left on disk; and the export formats it writes.

#include "cli_run.h"
#include "param_names.h"
#include "temp_database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

enum class Target {
    NewFile,
    ExistingFile,
    LinkToAFile,
    NullDevice, // a device node that takes everything (root only)
    FullDevice, // a device node whose every write fails for want of space (root only)
    Folder,
    UnwritableFolder, // a new file in a folder this user may not write
    FullFileSystem,   // a new file on a file system with no room (needs a tmpfs mount)
    ExistingOnFullFileSystem,
    StandardOutput,
};

enum class Format { Json, Pdf, Png };

struct Case {
    Target target;
    Format format;
    int exitCode;
    const char *message; // a part of standard error; empty when it does not matter
};

const char *targetName(Target t)
{
    switch (t) {
    case Target::NewFile:
        return "NewFile";
    case Target::ExistingFile:
        return "ExistingFile";
    case Target::LinkToAFile:
        return "LinkToAFile";
    case Target::NullDevice:
        return "NullDevice";
    case Target::FullDevice:
        return "FullDevice";
    case Target::Folder:
        return "Folder";
    case Target::UnwritableFolder:
        return "UnwritableFolder";
    case Target::FullFileSystem:
        return "FullFileSystem";
    case Target::ExistingOnFullFileSystem:
        return "ExistingOnFullFileSystem";
    case Target::StandardOutput:
        return "StandardOutput";
    }
    return "";
}

const char *formatName(Format f)
{
    return f == Format::Json ? "Json" : f == Format::Pdf ? "Pdf" : "Png";
}

void PrintTo(const Case &c, std::ostream *os)
{
    *os << targetName(c.target) << ' ' << formatName(c.format);
}

// What a complete file of the format starts with.
QByteArray signature(Format f)
{
    return f == Format::Json  ? QByteArray("{")
           : f == Format::Pdf ? QByteArray("%PDF-")
                              : QByteArray("\x89PNG");
}

const QByteArray kOldContent = "the user's old file";

class CliOutput : public ::testing::TestWithParam<Case> {
protected:
    static void SetUpTestSuite() { s_db = new TempDatabase(TempDatabase::Demo); }
    static void TearDownTestSuite()
    {
        delete s_db;
        s_db = nullptr;
    }

    void TearDown() override
    {
        if (!m_mount.isEmpty())
            QProcess::execute(QStringLiteral("umount"), {m_mount});
    }

    bool mountTinyFileSystem(const QString &folder)
    {
        QDir().mkpath(folder);
        if (QProcess::execute(QStringLiteral("mount"),
                              {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                               QStringLiteral("size=4k"), QStringLiteral("tmpfs"), folder}) != 0)
            return false;
        m_mount = folder;
        return true;
    }

    static TempDatabase *s_db;
    QTemporaryDir m_dir;
    QString m_mount;
};

TempDatabase *CliOutput::s_db = nullptr;

TEST_P(CliOutput, WritesCompletelyOrSaysWhyAndLeavesNothingHalfWritten)
{
    const Case &c = GetParam();
    const bool root = ::getuid() == 0;
    QString folder = m_dir.path();
    // The name the user gives: PNG takes a prefix and writes PREFIX-1.png.
    QString prefix = folder + QStringLiteral("/out");
    auto fileOf = [&](const QString &p) {
        return c.format == Format::Png ? p + QStringLiteral("-1.png") : p;
    };
    QString file = fileOf(prefix);
    QString linkTarget;
    QString database = s_db->path();
    bool asNobody = false;

    switch (c.target) {
    case Target::NewFile:
    case Target::StandardOutput:
        break;
    case Target::ExistingFile: {
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(kOldContent);
        break;
    }
    case Target::LinkToAFile: {
        linkTarget = folder + QStringLiteral("/real");
        QFile old(linkTarget);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(kOldContent);
        ASSERT_TRUE(QFile::link(linkTarget, file));
        break;
    }
    case Target::NullDevice:
    case Target::FullDevice:
        if (!root)
            GTEST_SKIP() << "only root can make a device node with mknod";
        ASSERT_EQ(::mknod(QFile::encodeName(file).constData(), S_IFCHR | 0666,
                          makedev(1, c.target == Target::NullDevice ? 3 : 7)),
                  0);
        break;
    case Target::Folder:
        ASSERT_TRUE(QDir().mkpath(file));
        break;
    case Target::UnwritableFolder: {
        // Root may write into any folder: it runs the program as the user nobody instead,
        // on a copy of the database that nobody may write.
        if (root) {
            if (QProcess::execute(QStringLiteral("setpriv"), {QStringLiteral("--version")}) != 0)
                GTEST_SKIP() << "root may write into any folder, and setpriv is missing";
            ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755);
            const QString own = m_dir.path() + QStringLiteral("/nobody");
            QDir().mkpath(own);
            database = own + QStringLiteral("/ZNDB1.2.GDB");
            ASSERT_TRUE(QFile::copy(s_db->path(), database));
            for (const QString &path : {own, database})
                ASSERT_EQ(::chown(QFile::encodeName(path).constData(), 65534, 65534), 0);
            asNobody = true;
        }
        folder += QStringLiteral("/locked");
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                          QFile::ExeOther);
        prefix = folder + QStringLiteral("/out");
        file = fileOf(prefix);
        break;
    }
    case Target::FullFileSystem:
    case Target::ExistingOnFullFileSystem:
        folder += QStringLiteral("/tiny");
        if (!mountTinyFileSystem(folder))
            GTEST_SKIP() << "no tmpfs could be mounted to fill up (needs root)";
        prefix = folder + QStringLiteral("/out");
        file = fileOf(prefix);
        if (c.target == Target::ExistingOnFullFileSystem) {
            QFile old(file);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write(kOldContent);
        }
        break;
    }
    const QStringList before =
        QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);

    const QString option = c.format == Format::Json  ? QStringLiteral("--json")
                           : c.format == Format::Pdf ? QStringLiteral("--pdf")
                                                     : QStringLiteral("--png");
    const QString name = c.target == Target::StandardOutput ? QStringLiteral("-") : prefix;
    QStringList args{QStringLiteral("render"),
                     QStringLiteral("--db"),
                     database,
                     QStringLiteral("--template"),
                     QStringLiteral("repKNP"),
                     option,
                     name,
                     QStringLiteral("--dpi"),
                     QStringLiteral("30")};
    QString program = QStringLiteral(ZARNIK_CLI);
    QProcess cli;
    if (asNobody) {
        args = QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                           QStringLiteral("--clear-groups"), program} +
               args;
        program = QStringLiteral("setpriv");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *variable : {"FIREBIRD_LOCK", "XDG_RUNTIME_DIR"})
            env.remove(QLatin1String(variable));
        env.insert(QStringLiteral("HOME"), QStringLiteral("/nonexistent"));
        cli.setProcessEnvironment(env);
    }
    cli.start(program, args);
    ASSERT_TRUE(cli.waitForFinished(60000));
    const QByteArray out = cli.readAllStandardOutput();
    const QString err = QString::fromUtf8(cli.readAllStandardError());
    SCOPED_TRACE("stderr: " + err.toStdString());
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), c.exitCode);
    EXPECT_TRUE(err.contains(QString::fromUtf8(c.message)));

    const QStringList after =
        QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    auto contents = [](const QString &path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    struct stat node;
    switch (c.target) {
    case Target::NewFile:
    case Target::ExistingFile:
        EXPECT_TRUE(contents(file).startsWith(signature(c.format)));
        EXPECT_EQ(after, QStringList{QFileInfo(file).fileName()}) << "no temporary file is left";
        break;
    case Target::LinkToAFile:
        EXPECT_TRUE(QFileInfo(file).isSymLink()) << "the link stays a link";
        EXPECT_TRUE(contents(linkTarget).startsWith(signature(c.format)));
        EXPECT_EQ(after, before);
        break;
    case Target::NullDevice:
    case Target::FullDevice:
        ASSERT_EQ(::lstat(QFile::encodeName(file).constData(), &node), 0);
        EXPECT_TRUE(S_ISCHR(node.st_mode)) << "the device node is still a device node";
        EXPECT_EQ(after, before);
        break;
    case Target::Folder:
        EXPECT_TRUE(QFileInfo(file).isDir());
        EXPECT_TRUE(QDir(file).isEmpty());
        EXPECT_EQ(after, before);
        break;
    case Target::UnwritableFolder:
    case Target::FullFileSystem:
        EXPECT_TRUE(after.isEmpty()) << "nothing half-written: " << after.join(u' ').toStdString();
        break;
    case Target::ExistingOnFullFileSystem:
        EXPECT_EQ(contents(file), kOldContent) << "the old file is kept whole";
        EXPECT_EQ(after, before);
        break;
    case Target::StandardOutput:
        if (c.exitCode == 0) {
            EXPECT_TRUE(out.startsWith(signature(c.format)));
        } else {
            EXPECT_TRUE(out.isEmpty());
        }
        EXPECT_TRUE(after.isEmpty());
        break;
    }
}

std::vector<Case> cases()
{
    std::vector<Case> all;
    for (Format f : {Format::Json, Format::Pdf, Format::Png}) {
        all.push_back({Target::NewFile, f, 0, ""});
        all.push_back({Target::ExistingFile, f, 0, ""});
        all.push_back({Target::LinkToAFile, f, 0, ""});
        all.push_back({Target::NullDevice, f, 0, ""});
        all.push_back({Target::FullDevice, f, 1, "No space left on device"});
        all.push_back({Target::Folder, f, 1, "это папка"});
        all.push_back({Target::UnwritableFolder, f, 1, "Не удалось записать файл"});
        all.push_back({Target::FullFileSystem, f, 1, "Не удалось записать файл"});
        all.push_back({Target::ExistingOnFullFileSystem, f, 1, "Не удалось записать файл"});
        if (f == Format::Png)
            all.push_back({Target::StandardOutput, f, 2, "cannot write to \"-\""});
        else
            all.push_back({Target::StandardOutput, f, 0, ""});
    }
    return all;
}

INSTANTIATE_TEST_SUITE_P(TargetsAndFormats, CliOutput, ::testing::ValuesIn(cases()),
                         [](const auto &info) {
                             return std::string(targetName(info.param.target)) +
                                    formatName(info.param.format);
                         });

// The preview's export formats written by render: each file is whole and holds the invoice's
// total; a path that cannot be written is refused and leaves nothing.
struct ExportCase {
    const char *option;   // also the file's extension
    const char *mainPart; // the zip member with the text; null for a plain file
};

void PrintTo(const ExportCase &c, std::ostream *os)
{
    *os << c.option;
}

class CliExport : public ::testing::TestWithParam<ExportCase> {
protected:
    static void SetUpTestSuite() { s_db = new TempDatabase(TempDatabase::Demo); }
    static void TearDownTestSuite()
    {
        delete s_db;
        s_db = nullptr;
    }

    CliRun render(const QString &path) const
    {
        return runCli({QStringLiteral("render"), QStringLiteral("--db"), s_db->path(),
                       QStringLiteral("--template"), QStringLiteral("repSchet"),
                       QStringLiteral("--") + QLatin1String(GetParam().option), path});
    }

    static TempDatabase *s_db;
    QTemporaryDir m_dir;
};

TempDatabase *CliExport::s_db = nullptr;

// The demo invoice's total, as every format spells it.
const QString kInvoiceTotal = QStringLiteral("172950,00");

TEST_P(CliExport, WritesAWholeFileHoldingTheTotal)
{
    const ExportCase &c = GetParam();
    const QString file = m_dir.filePath(QStringLiteral("invoice.") + QLatin1String(c.option));
    const CliRun result = render(file);
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QFileInfo(file).fileName()})
        << "no temporary file is left";
    QFile in(file);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    QByteArray text = in.readAll();
    if (c.mainPart) {
        ASSERT_TRUE(text.startsWith("PK\x03\x04")) << "a zip package";
        if (QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty())
            GTEST_SKIP() << "unzip is not installed";
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"),
                    {QStringLiteral("-p"), file, QLatin1String(c.mainPart)});
        ASSERT_TRUE(unzip.waitForFinished(60000));
        ASSERT_EQ(unzip.exitCode(), 0) << c.mainPart << " is missing or damaged";
        text = unzip.readAllStandardOutput();
    }
    EXPECT_TRUE(QString::fromUtf8(text).contains(kInvoiceTotal)) << text.left(400).toStdString();
}

TEST_P(CliExport, UnwritablePathSaysWhyAndLeavesNoFile)
{
    const QString file = m_dir.filePath(QStringLiteral("no-such-folder/invoice.") +
                                        QLatin1String(GetParam().option));
    const CliRun result = render(file);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains(QStringLiteral("Не удалось записать файл «") + file))
        << result.err.toStdString();
    EXPECT_TRUE(QDir(m_dir.path()).isEmpty());
}

const ExportCase kExportCases[] = {
    {"xlsx", "xl/sharedStrings.xml"},
    {"docx", "word/document.xml"},
    {"odt", "content.xml"},
    {"html", nullptr},
    {"rtf", nullptr},
    {"csv", nullptr},
    {"txt", nullptr},
};

INSTANTIATE_TEST_SUITE_P(Formats, CliExport, ::testing::ValuesIn(kExportCases),
                         [](const auto &info) { return std::string(info.param.option); });

} // namespace
