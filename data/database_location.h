#pragma once

#include <QString>

class QSettings;

// Which database the programs open. The first of these that gives one wins: the option
// --database, the location kept in the settings, a ZNDB1.2.GDB already in the current folder,
// else the file in the user's data folder. A program started from the desktop's menu runs in
// the home folder; the last rule keeps it from making a database there.
namespace database {

enum class LocationSource { Option, Settings, CurrentFolder, DataFolder };

struct LocationInputs {
    QString option;        // --database as given, or empty
    QString saved;         // the settings' database/location, or empty
    QString currentFolder; // the working folder
    QString dataFolder;    // the program's folder in the user's data folder
};

struct Location {
    QString path;
    LocationSource source = LocationSource::DataFolder;
};

Location chooseLocation(const LocationInputs &inputs);

// The inputs of this process: its settings, working folder and XDG data folder.
LocationInputs currentInputs(const QString &option);

// The settings file of the programs (~/.config/zarnik/zarnik.conf).
QString settingsOrganisation();
QString settingsApplication();
QString savedLocation(const QSettings &settings);
// The user name kept beside a server's location; never its password.
QString savedUser(const QSettings &settings);
// Keeps the location chosen in the connection window, with the user name of a server.
void saveLocation(QSettings &settings, const QString &location, const QString &user);

// The database of the data folder, made empty with its folder when missing. True when it was
// made now. DbError with the reason when the folder or the file cannot be made.
bool ensureDataFolderDatabase(const QString &path);

// The user is told once where the data folder's database is, and where its automatic copies
// go; the settings remember it.
QString dataFolderNotice(const QString &path, const QString &backupFolder);
bool dataFolderNoticeShown(const QSettings &settings);
void rememberDataFolderNoticeShown(QSettings &settings);

} // namespace database
