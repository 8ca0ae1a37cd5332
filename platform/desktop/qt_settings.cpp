// The settings store on QSettings.
// SPDX-License-Identifier: MIT
#include "platform/desktop/qt_settings.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>

#include <cstdio>
#include <limits>
#include <optional>
#include <utility>

#include "platform/kit/stored_number.h"

namespace ruvo {
namespace {

QString KeyName(std::string_view name)
{
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

// A file the game did not write is refused before QSettings reads it: one
// past the size limit, one that is no plain file (a pipe would hang the read,
// a device never end it), or one with a value QSettings decodes with
// QDataStream (@Variant, @DateTime), which trusts the counts it reads: a few
// bytes can make it reserve gigabytes. Such a file is moved aside, kept for
// the player, and the game starts from its first values. A folder where the
// file should be is left to QSettings, which reads nothing from it.
// Returns the path QSettings may read.
QString Vetted(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return path;
    QString why;
    if (!info.isFile()) {
        why = QStringLiteral("not a plain file");
    } else if (info.size() > kSettingsMaxBytes) {
        why =
            QStringLiteral("%1 bytes, where a settings file holds at most %2").arg(info.size()).arg(kSettingsMaxBytes);
    } else {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return path; // unreadable: QSettings reads nothing either
        const QByteArray bytes = file.read(kSettingsMaxBytes + 1);
        if (bytes.size() > kSettingsMaxBytes)
            why = QStringLiteral("more than %1 bytes").arg(kSettingsMaxBytes);
        else if (bytes.contains("@Variant(") || bytes.contains("@DateTime("))
            why = QStringLiteral("a value of a kind the game never writes (@Variant or @DateTime)");
    }
    if (why.isEmpty())
        return path;
    const QString aside = path + QStringLiteral(".refused");
    QFile::remove(aside);
    const bool moved = QFile::rename(path, aside);
    std::fprintf(stderr, "ruvo: %s: refused: %s; %s\n", qPrintable(path), qPrintable(why),
                 moved ? qPrintable(QStringLiteral("kept as ") + aside) : "left where it is, unread");
    // Left in place, it must not be read: a path in a folder that does not
    // exist reads as empty, and saving there fails as a store that cannot be
    // written does.
    return moved ? path : aside + QStringLiteral(".d/unread");
}

} // namespace

QString UserSettingsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Tolp/Ruvo.conf");
}

struct QtSettingsStore::State {
    std::unique_ptr<QSettings> settings;
    std::optional<ViewChoice> view;

    explicit State(std::unique_ptr<QSettings> s) : settings(std::move(s))
    {
        // Saving writes a new file beside the old one and renames it over it,
        // so that a crash mid-save leaves the old table, never a torn one.
        settings->setAtomicSyncRequired(true);
        // The game's own key only: no values from an organisation-wide or a
        // system-wide file.
        settings->setFallbacksEnabled(false);
    }
};

// On Linux the native format is an INI file at UserSettingsPath().
QtSettingsStore::QtSettingsStore() : QtSettingsStore(UserSettingsPath().toStdString()) {}

QtSettingsStore::QtSettingsStore(const std::string& iniPath)
    : state_(std::make_unique<State>(
          std::make_unique<QSettings>(Vetted(QString::fromStdString(iniPath)), QSettings::IniFormat)))
{
}

QtSettingsStore::~QtSettingsStore() = default;

bool QtSettingsStore::QueryDword(std::string_view name, std::uint32_t& value)
{
    const QVariant stored = state_->settings->value(KeyName(name));
    switch (stored.typeId()) {
    case QMetaType::QString:
        // Our own writes store plain decimal text in a file.
        return ParseStoredNumber(stored.toString().toStdString(), value);
    case QMetaType::Int:
        // The registry hands a 32-bit value back as a signed int: its bits are the number.
        value = static_cast<std::uint32_t>(stored.toInt());
        return true;
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: {
        bool ok = false;
        const qlonglong number = stored.toLongLong(&ok);
        if (!ok || number < 0 || number > static_cast<qlonglong>(std::numeric_limits<std::uint32_t>::max()))
            return false;
        value = static_cast<std::uint32_t>(number);
        return true;
    }
    default:
        return false;
    }
}

bool QtSettingsStore::QueryString(std::string_view name, std::string& text, std::size_t maxBytes)
{
    const QVariant stored = state_->settings->value(KeyName(name));
    if (stored.typeId() != QMetaType::QString)
        return false;
    const QByteArray utf8 = stored.toString().toUtf8();
    if (static_cast<std::size_t>(utf8.size()) > maxBytes)
        return false;
    text.assign(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    return true;
}

void QtSettingsStore::Refresh()
{
    state_->settings->sync();
}

bool QtSettingsStore::Create()
{
    return state_->settings->isWritable();
}

void QtSettingsStore::SetDword(std::string_view name, std::uint32_t value)
{
    // An unsigned int: a 32-bit value in the registry, plain decimal in a file.
    state_->settings->setValue(KeyName(name), QVariant::fromValue(static_cast<uint>(value)));
}

void QtSettingsStore::SetString(std::string_view name, std::string_view text)
{
    state_->settings->setValue(KeyName(name), QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

// A save that cannot be written leaves the old table; the game says nothing.
void QtSettingsStore::Close()
{
    {
        // A game killed between creating the lock file and writing its owner
        // into it leaves an empty lock, which QSettings would wait on for 30 s.
        // A save takes milliseconds, so a lock older than a second is stale.
        QLockFile lock(state_->settings->fileName() + QStringLiteral(".lock"));
        lock.setStaleLockTime(1000);
        if (lock.tryLock(2000))
            lock.unlock();
    }
    if (state_->view)
        WriteViewChoice(*this, *state_->view);
    state_->settings->sync();
}

void QtSettingsStore::KeepViewChoice(const ViewChoice& choice)
{
    state_->view = choice;
}

} // namespace ruvo
