#include "dialogs/CPublishKeyring.h"

#include <QEventLoop>
#include <qt6keychain/keychain.h>

namespace {

// Runs job to its end; the error as QtKeychain reports it.
QKeychain::Error RunJob(QKeychain::Job& job, const QString& target, QString& problem)
{
    job.setAutoDelete(false);
    job.setInsecureFallback(false);
    job.setKey(target);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
    if (job.error() != QKeychain::NoError && job.error() != QKeychain::EntryNotFound)
        problem = job.errorString().isEmpty() ? QStringLiteral("the keyring cannot be reached")
                                              : job.errorString();
    return job.error();
}

} // namespace

std::optional<QString> CPublishKeyring::Read(const QString& target, QString& problem)
{
    QKeychain::ReadPasswordJob job(QString::fromLatin1(kService));
    if (RunJob(job, target, problem) != QKeychain::NoError)
        return std::nullopt;
    return job.textData();
}

bool CPublishKeyring::Write(const QString& target, const QString& secret, QString& problem)
{
    QKeychain::WritePasswordJob job(QString::fromLatin1(kService));
    job.setTextData(secret);
    return RunJob(job, target, problem) == QKeychain::NoError;
}

bool CPublishKeyring::Remove(const QString& target, QString& problem)
{
    // Whether there was one is asked first: the keyrings answer a deletion
    // of nothing differently.
    if (!Read(target, problem))
        return false;
    QKeychain::DeletePasswordJob job(QString::fromLatin1(kService));
    return RunJob(job, target, problem) == QKeychain::NoError;
}

QString CPublishKeyring::JoinAccessKey(const QString& keyId, const QString& secret)
{
    return keyId + QLatin1Char('\n') + secret;
}

bool CPublishKeyring::SplitAccessKey(const QString& joined, QString& keyId, QString& secret)
{
    const qsizetype lf = joined.indexOf(QLatin1Char('\n'));
    if (lf <= 0 || lf + 1 >= joined.size())
        return false;
    keyId = joined.left(lf);
    secret = joined.mid(lf + 1);
    return true;
}
