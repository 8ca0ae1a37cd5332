// The replay store as a folder of .ruvo-replay files.
// SPDX-License-Identifier: MIT
#include "platform/desktop/qt_replays.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

#include "replay/replay_file.h"

namespace ruvo {
namespace {

const QString kExtension =
    QString::fromLatin1(kReplayExtension.data(), static_cast<qsizetype>(kReplayExtension.size()));

} // namespace

QtReplayStore::QtReplayStore()
    : QtReplayStore(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/replays"))
{
}

QtReplayStore::QtReplayStore(const QString& folder) : folder_(folder) {}

QString QtReplayStore::PathOf(std::string_view name) const
{
    if (name.empty())
        return {};
    for (const char ch : name)
        if (!((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '-'))
            return {};
    return folder_ + QLatin1Char('/') + QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())) +
           kExtension;
}

std::vector<std::string> QtReplayStore::List()
{
    std::vector<std::string> names;
    const QStringList files = QDir(folder_).entryList({QStringLiteral("*") + kExtension}, QDir::Files);
    for (const QString& file : files) {
        const std::string name = file.chopped(kExtension.size()).toStdString();
        if (!PathOf(name).isEmpty())
            names.push_back(name);
    }
    return names;
}

bool QtReplayStore::Read(std::string_view name, std::string& text)
{
    QFile file(PathOf(name));
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    text.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return file.error() == QFileDevice::NoError;
}

bool QtReplayStore::Write(std::string_view name, std::string_view text)
{
    const QString path = PathOf(name);
    if (path.isEmpty() || !QDir().mkpath(folder_))
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size()) &&
           file.commit();
}

bool QtReplayStore::Remove(std::string_view name)
{
    const QString path = PathOf(name);
    return !path.isEmpty() && QFile::remove(path);
}

} // namespace ruvo
