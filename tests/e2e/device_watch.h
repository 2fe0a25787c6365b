#pragma once

// What the program does to the thing behind a COM entry, seen from outside as the system shows
// it: each open of it, and each lock file taken for it, which the serial-port layer makes in the
// system's lock folder for every device it opens and removes at the close.

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <array>
#include <cstddef>

#include <sys/inotify.h>
#include <unistd.h>

namespace varnet::testing {

// The name of the lock file for `path`: a device's name under /dev, any other path whole, each
// '/' as '_'.
inline QString lockFileName(QString path)
{
    if (path.startsWith("/dev/"))
        path.remove(0, 5);
    return "LCK.." + path.replace('/', '_');
}

// The folders a lock file may be made in.
inline QStringList lockFolders()
{
    return {"/var/lock", "/etc/locks", "/var/spool/locks", "/var/spool/uucp", "/tmp",
            "/var/tmp", "/var/lock/lockdev", "/run/lock", QDir::tempPath()};
}

// The folder that holds the lock file of `path` now (while it is open), or empty.
inline QString lockFolderHolding(const QString& path)
{
    for (const QString& folder : lockFolders())
        if (QFile::exists(folder + "/" + lockFileName(path)))
            return folder;
    return {};
}

// Whether a lock file of `path` names process `pid` as its holder (on its first line), in any of
// the folders: one that the process left behind when it ended stays until another opens `path`.
inline bool lockedBy(const QString& path, qint64 pid)
{
    for (const QString& folder : lockFolders()) {
        QFile lock(folder + "/" + lockFileName(path));
        if (lock.open(QIODevice::ReadOnly) && lock.readLine().trimmed() == QByteArray::number(pid))
            return true;
    }
    return false;
}

class DeviceWatch {
public:
    // Counts the opens of `path` and the lock files for it made in `lockFolder`.
    DeviceWatch(const QString& path, const QString& lockFolder)
        : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)), lockName_(lockFileName(path).toLocal8Bit())
    {
        opensWatch_ = inotify_add_watch(fd_, QFile::encodeName(path).constData(), IN_OPEN);
        lockWatch_ = inotify_add_watch(fd_, QFile::encodeName(lockFolder).constData(), IN_CREATE);
    }
    ~DeviceWatch() { ::close(fd_); }
    DeviceWatch(const DeviceWatch&) = delete;
    DeviceWatch& operator=(const DeviceWatch&) = delete;

    bool watching() const { return opensWatch_ >= 0 && lockWatch_ >= 0; }
    int opens() { return take(), opens_; }
    int locks() { return take(), locks_; }

private:
    void take()
    {
        alignas(inotify_event) std::array<char, 8192> buffer;
        for (ssize_t n; (n = ::read(fd_, buffer.data(), buffer.size())) > 0;) {
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
                if (event->wd == opensWatch_ && (event->mask & IN_OPEN))
                    ++opens_;
                if (event->wd == lockWatch_ && event->len > 0 && lockName_ == event->name)
                    ++locks_;
                at += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
    }

    int fd_;
    QByteArray lockName_;
    int opensWatch_ = -1, lockWatch_ = -1;
    int opens_ = 0, locks_ = 0;
};

} // namespace varnet::testing
