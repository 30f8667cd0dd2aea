#include "auto_copies.h"

#include "data/database_location.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>

namespace zbackup {

namespace {

const QString kStampFormat = QStringLiteral("yyyy-MM-dd-HHmm");

const QRegularExpression &copyName()
{
    static const QRegularExpression pattern(
        QStringLiteral("^Zarnik-.*-(\\d{4}-\\d{2}-\\d{2}-\\d{4})\\.fbk$"));
    return pattern;
}

struct Copy {
    QString name;
    QDateTime made;
};

std::vector<Copy> copiesIn(const QString &folder)
{
    std::vector<Copy> copies;
    const QStringList names =
        QDir(folder).entryList({QStringLiteral("Zarnik-*.fbk")}, QDir::Files | QDir::Hidden);
    for (const QString &name : names) {
        const QRegularExpressionMatch match = copyName().match(name);
        if (!match.hasMatch())
            continue;
        const QDateTime made = QDateTime::fromString(match.captured(1), kStampFormat);
        if (made.isValid())
            copies.push_back({name, made});
    }
    std::sort(copies.begin(), copies.end(), [](const Copy &a, const Copy &b) {
        return a.made != b.made ? a.made < b.made : a.name < b.name;
    });
    return copies;
}

} // namespace

QString backupFileName(const QString &businessName, const QDateTime &when)
{
    QString name = businessName.simplified();
    static const QRegularExpression unsafe(QStringLiteral("[/\\\\:*?\"<>|\\x00-\\x1f]"));
    name.replace(unsafe, QStringLiteral("_"));
    name.replace(u' ', u'_');
    if (name.isEmpty())
        name = QStringLiteral("база");
    return QStringLiteral("Zarnik-%1-%2.fbk").arg(name.left(80), when.toString(kStampFormat));
}

AutoCopySettings autoCopySettings()
{
    const QSettings settings(database::settingsOrganisation(), database::settingsApplication());
    AutoCopySettings result;
    const QString defaultFolder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
        QStringLiteral("/zarnik/backups");
    result.folder = settings.value(QStringLiteral("backup/folder"), defaultFolder).toString();
    bool ok = false;
    const int keep = settings.value(QStringLiteral("backup/keep"), 10).toInt(&ok);
    result.keep = ok && keep > 0 ? keep : 10;
    return result;
}

QStringList autoCopies(const QString &folder)
{
    QStringList paths;
    for (const Copy &copy : copiesIn(folder))
        paths << QDir(folder).filePath(copy.name);
    return paths;
}

bool autoCopyDue(const QString &folder, const QDateTime &now)
{
    const std::vector<Copy> copies = copiesIn(folder);
    return std::none_of(copies.begin(), copies.end(),
                        [&now](const Copy &copy) { return copy.made.date() == now.date(); });
}

void removeOldCopies(const QString &folder, int keep)
{
    const std::vector<Copy> copies = copiesIn(folder);
    const std::size_t excess = copies.size() > std::size_t(keep) ? copies.size() - keep : 0;
    for (std::size_t i = 0; i < excess; ++i)
        QFile::remove(QDir(folder).filePath(copies[i].name));
}

Result makeAutoCopy(const QString &location, const QString &businessName,
                    const AutoCopySettings &settings, const QDateTime &now)
{
    if (!autoCopyDue(settings.folder, now))
        return {};
    if (!QDir().mkpath(settings.folder))
        return {Outcome::Failed,
                QStringLiteral("Не удалось создать папку автоматических копий «%1».")
                    .arg(settings.folder)};
    const Result result =
        backupDatabase(location, QDir(settings.folder).filePath(backupFileName(businessName, now)));
    if (result.done())
        removeOldCopies(settings.folder, settings.keep);
    return result;
}

} // namespace zbackup
