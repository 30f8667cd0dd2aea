#include "database_location.h"

#include "database_file.h"
#include "db_error.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace database {

namespace {

const QString kLocationKey = QStringLiteral("database/location");
const QString kUserKey = QStringLiteral("database/user");
const QString kNoticeKey = QStringLiteral("database/dataFolderNoticeShown");

// A relative file name is taken from the working folder; anything with a colon may be a
// server's connection string and is passed on as written.
QString fromOption(const QString &option, const QString &currentFolder)
{
    if (option.contains(u':') || QFileInfo(option).isAbsolute())
        return option;
    return QDir::cleanPath(QDir(currentFolder).absoluteFilePath(option));
}

} // namespace

Location chooseLocation(const LocationInputs &inputs)
{
    if (!inputs.option.isEmpty())
        return {fromOption(inputs.option, inputs.currentFolder), LocationSource::Option};
    if (!inputs.saved.isEmpty())
        return {inputs.saved, LocationSource::Settings};
    const QString here = inputs.currentFolder + u'/' + fileName();
    if (QFileInfo(here).isFile())
        return {here, LocationSource::CurrentFolder};
    return {inputs.dataFolder + u'/' + fileName(), LocationSource::DataFolder};
}

QString settingsOrganisation()
{
    return QStringLiteral("zarnik");
}

QString settingsApplication()
{
    return QStringLiteral("zarnik");
}

QString savedLocation(const QSettings &settings)
{
    return settings.value(kLocationKey).toString().trimmed();
}

QString savedUser(const QSettings &settings)
{
    return settings.value(kUserKey).toString().trimmed();
}

void saveLocation(QSettings &settings, const QString &location, const QString &user)
{
    settings.setValue(kLocationKey, location);
    if (user.isEmpty())
        settings.remove(kUserKey);
    else
        settings.setValue(kUserKey, user);
    settings.sync();
}

LocationInputs currentInputs(const QString &option)
{
    const QSettings settings(settingsOrganisation(), settingsApplication());
    LocationInputs inputs;
    inputs.option = option;
    inputs.saved = savedLocation(settings);
    inputs.currentFolder = QDir::currentPath();
    inputs.dataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                        QStringLiteral("/zarnik");
    return inputs;
}

bool ensureDataFolderDatabase(const QString &path)
{
    if (QFileInfo::exists(path))
        return false;
    const QString folder = QFileInfo(path).path();
    if (!QDir().mkpath(folder))
        throw DbError(QStringLiteral("Не удалось создать папку %1 для базы данных.").arg(folder));
    create(path);
    return true;
}

QString dataFolderNotice(const QString &path, const QString &backupFolder)
{
    return QStringLiteral("Документы хранятся в файле базы данных\n%1\n\n"
                          "Раз в день, при закрытии программы, копия базы данных записывается "
                          "в папку\n%2")
        .arg(path, backupFolder);
}

bool dataFolderNoticeShown(const QSettings &settings)
{
    return settings.value(kNoticeKey, false).toBool();
}

void rememberDataFolderNoticeShown(QSettings &settings)
{
    settings.setValue(kNoticeKey, true);
    settings.sync();
}

} // namespace database
