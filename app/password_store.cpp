#include "password_store.h"

#include <QEventLoop>
#include <QTimer>

#include <qt6keychain/keychain.h>

namespace {

const QString kService = QStringLiteral("Zarnik");

// A keyring that does not answer must not hold the program for long.
constexpr int kKeyringTimeoutMs = 10000;

// Runs a keyring job to its end; true when it succeeded.
bool runJob(QKeychain::Job &job, const QString &key)
{
    job.setAutoDelete(false);
    // Without a keyring the library would otherwise fall back to a plain settings file.
    job.setInsecureFallback(false);
    job.setKey(key);
    QEventLoop loop;
    bool finished = false;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    QTimer::singleShot(kKeyringTimeoutMs, &loop, &QEventLoop::quit);
    job.start();
    if (!finished)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return finished && job.error() == QKeychain::NoError;
}

} // namespace

std::optional<QString> KeyringPasswordStore::read(const QString &key)
{
    QKeychain::ReadPasswordJob job(kService);
    if (!runJob(job, key))
        return std::nullopt;
    return job.textData();
}

bool KeyringPasswordStore::write(const QString &key, const QString &password)
{
    QKeychain::WritePasswordJob job(kService);
    job.setTextData(password);
    return runJob(job, key);
}

void KeyringPasswordStore::remove(const QString &key)
{
    QKeychain::DeletePasswordJob job(kService);
    runJob(job, key);
}

QString passwordKey(const QString &location, const QString &user)
{
    return user + u'@' + location;
}
