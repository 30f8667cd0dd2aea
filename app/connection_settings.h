#pragma once

#include "connection_dialog.h"

class PasswordStore;
class PromptService;
class QSettings;
class QWidget;

// What the program remembers of the database chosen in the connection window, and what it
// asks again at the next start.

// Keeps `choice` for the next start: the location and a server's user in the settings, the
// password in the keyring when the user asked for it (else none is kept). Says when there is
// no keyring to keep it in.
void rememberConnection(const ConnectionChoice &choice, QSettings &settings,
                        PasswordStore &passwords, PromptService &prompts, QWidget *parent);

// The user and password for a server's `location` at start-up. ISC_USER/ISC_PASSWORD, when
// set, are left to the data module; else the user kept for this location, with the password
// of the keyring or, without one, the password the user types. Empty for a file, and for a
// server whose user is not known (its opening then says what is missing).
database::Credentials startupCredentials(const QString &location, const QSettings &settings,
                                         PasswordStore &passwords, PromptService &prompts);

// What the connection window shows first for the database at `location`.
ConnectionChoice currentConnection(const QString &location,
                                   const database::Credentials &credentials,
                                   PasswordStore &passwords);
