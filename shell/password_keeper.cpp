#include "shell/password_keeper.h"

#include <qt6keychain/keychain.h>

namespace palisade {

namespace {

const QString kService = "Palisade Brindle";

// Never the plain file QtKeychain could fall back to.
template <typename JobType> JobType* newJob(const QString& address)
{
    auto* job = new JobType(kService);
    job->setInsecureFallback(false);
    job->setAutoDelete(true);
    job->setKey(address);
    return job;
}

} // namespace

void PasswordKeeper::read(const QString& address, QObject* context,
                          std::function<void(std::optional<QString>)> done)
{
    auto* job = newJob<QKeychain::ReadPasswordJob>(address);
    QObject::connect(job, &QKeychain::Job::finished, context, [job, done = std::move(done)] {
        done(job->error() == QKeychain::NoError ? std::optional(job->textData()) : std::nullopt);
    });
    job->start();
}

void PasswordKeeper::write(const QString& address, const QString& password, QObject* context,
                           std::function<void(bool)> done)
{
    auto* job = newJob<QKeychain::WritePasswordJob>(address);
    job->setTextData(password);
    QObject::connect(job, &QKeychain::Job::finished, context,
                     [job, done = std::move(done)] { done(job->error() == QKeychain::NoError); });
    job->start();
}

void PasswordKeeper::forget(const QString& address)
{
    newJob<QKeychain::DeletePasswordJob>(address)->start();
}

} // namespace palisade
