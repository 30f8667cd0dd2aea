#include "connection_settings.h"

#include "data/database_location.h"
#include "password_store.h"
#include "ui/prompt_service.h"

#include <QSettings>

void rememberConnection(const ConnectionChoice &choice, QSettings &settings,
                        PasswordStore &passwords, PromptService &prompts, QWidget *parent)
{
    const QString user = choice.credentials.user;
    database::saveLocation(settings, choice.location, user);
    if (user.isEmpty())
        return;
    const QString key = passwordKey(choice.location, user);
    if (!choice.rememberPassword) {
        passwords.remove(key);
        return;
    }
    if (!passwords.write(key, choice.credentials.password))
        prompts.inform(parent, QStringLiteral("Пароль не удалось запомнить: на этом компьютере "
                                              "нет хранилища паролей. Программа будет "
                                              "спрашивать его при каждом запуске."));
}

database::Credentials startupCredentials(const QString &location, const QSettings &settings,
                                         PasswordStore &passwords, PromptService &prompts)
{
    if (!database::isServerLocation(location) || !database::environmentCredentials().isEmpty() ||
        database::savedLocation(settings) != location)
        return {};
    const QString user = database::savedUser(settings);
    if (user.isEmpty())
        return {};
    if (const auto kept = passwords.read(passwordKey(location, user)))
        return {user, *kept};
    const auto typed = prompts.askPassword(
        nullptr, QStringLiteral("Пароль пользователя %1 для базы данных %2:").arg(user, location));
    return {user, typed.value_or(QString())};
}

ConnectionChoice currentConnection(const QString &location,
                                   const database::Credentials &credentials,
                                   PasswordStore &passwords)
{
    ConnectionChoice current{location, credentials, false};
    if (!credentials.isEmpty())
        current.rememberPassword =
            passwords.read(passwordKey(location, credentials.user)).has_value();
    return current;
}
