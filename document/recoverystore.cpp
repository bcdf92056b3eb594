#include "recoverystore.h"

#include "safefilewriter.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <algorithm>
#include <optional>

namespace blikon {

namespace {

// A kept text's file: one line of JSON with the key, the time and the file name, then
// the code text in UTF-8.
const QString kSuffix = QStringLiteral(".kod");
constexpr qint64 kLongestHeader = 64 * 1024;

RecoveryStore* g_shared = nullptr;

QString userFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/obnova");
}

}  // namespace

RecoveryStore::RecoveryStore(QString folder)
    : folder_(std::move(folder))
{
}

RecoveryStore& RecoveryStore::shared()
{
    if (g_shared)
        return *g_shared;
    static RecoveryStore user(userFolder());
    return user;
}

void RecoveryStore::setShared(RecoveryStore* store) { g_shared = store; }

QString RecoveryStore::pathOf(const QString& key) const { return folder_ + QLatin1Char('/') + key + kSuffix; }

bool RecoveryStore::keep(const QString& key, const QString& fileName, const QByteArray& utf8Text)
{
    if (!QDir().mkpath(folder_))
        return false;
    std::vector<Header> all = headers();
    std::erase_if(all, [&key](const Header& header) { return header.key == key; });
    QDateTime time = QDateTime::currentDateTimeUtc();
    for (const Header& header : all)
        if (header.time >= time)
            time = header.time.addMSecs(1);

    const QJsonObject header{{QStringLiteral("key"), key},
                             {QStringLiteral("time"), time.toString(Qt::ISODateWithMs)},
                             {QStringLiteral("file"), fileName}};
    const QByteArray bytes = QJsonDocument(header).toJson(QJsonDocument::Compact) + '\n' + utf8Text;
    if (writeFileSafely(pathOf(key), bytes))
        return false;

    // `all` is newest first: the new text goes before all of it.
    for (std::size_t k = kKept - 1; k < all.size(); ++k)
        QFile::remove(pathOf(all[k].key));
    return true;
}

void RecoveryStore::drop(const QString& key) { QFile::remove(pathOf(key)); }

std::vector<RecoveryStore::Header> RecoveryStore::headers() const
{
    std::vector<Header> all;
    const QDir dir(folder_);
    for (const QString& name : dir.entryList({QLatin1Char('*') + kSuffix}, QDir::Files)) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QJsonObject header = QJsonDocument::fromJson(file.readLine(kLongestHeader)).object();
        Header read{header.value(QStringLiteral("key")).toString(),
                    QDateTime::fromString(header.value(QStringLiteral("time")).toString(), Qt::ISODateWithMs),
                    header.value(QStringLiteral("file")).toString()};
        if (read.key + kSuffix == name && read.time.isValid())
            all.push_back(std::move(read));
    }
    std::sort(all.begin(), all.end(), [](const Header& a, const Header& b) {
        return a.time != b.time ? a.time > b.time : a.key < b.key;
    });
    return all;
}

std::vector<KeptText> RecoveryStore::list() const
{
    std::vector<KeptText> texts;
    for (const Header& header : headers()) {
        QFile file(pathOf(header.key));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        file.readLine(kLongestHeader);
        texts.push_back({header.key, header.time, header.fileName, QString::fromUtf8(file.readAll())});
    }
    return texts;
}

}  // namespace blikon
