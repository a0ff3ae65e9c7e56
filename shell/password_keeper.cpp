#include "shell/password_keeper.h"

#include <qt6keychain/keychain.h>

#include <QEventLoop>

namespace palisade {

namespace {

const QString kService = "Palisade Brindle";

// Runs a keyring job to its end; the keyring answers quickly or says it is missing.
bool finished(QKeychain::Job& job)
{
    job.setAutoDelete(false);
    job.setInsecureFallback(false);
    QEventLoop loop;
    bool done = false;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, [&] {
        done = true;
        loop.quit();
    });
    job.start();
    // A job without a keyring may end inside start().
    if (!done) loop.exec(QEventLoop::ExcludeUserInputEvents);
    return job.error() == QKeychain::NoError;
}

} // namespace

std::optional<QString> PasswordKeeper::read(const QString& address)
{
    QKeychain::ReadPasswordJob job(kService);
    job.setKey(address);
    if (!finished(job)) return std::nullopt;
    return job.textData();
}

bool PasswordKeeper::write(const QString& address, const QString& password)
{
    QKeychain::WritePasswordJob job(kService);
    job.setKey(address);
    job.setTextData(password);
    return finished(job);
}

void PasswordKeeper::forget(const QString& address)
{
    QKeychain::DeletePasswordJob job(kService);
    job.setKey(address);
    finished(job);
}

} // namespace palisade
