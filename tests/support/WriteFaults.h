#pragma once
// Real ways to make a save fail, for the tests that check that nothing is
// lost: a folder that takes no new files, and a write that breaks off
// part-way.  Both act on the real file system; nothing is simulated.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <csignal>
#include <utility>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace writefaults {

// Makes a folder read-only (mode 0555) while the guard lives.  Root passes
// permission bits through CAP_DAC_OVERRIDE, so the guard also takes that
// capability out of the effective set of the calling thread (it stays
// permitted and comes back at the end).  refusesNewFiles() tells whether the
// folder really refuses a new file, so a test never passes on a folder that
// was writable after all.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(QString path) : path_(std::move(path))
    {
        QFile::setPermissions(path_, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                                         QFile::ReadOther | QFile::ExeOther);
        if (syscall(SYS_capget, &header_, saved_) == 0) {
            __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
            lowered[CAP_TO_INDEX(CAP_DAC_OVERRIDE)].effective &= ~CAP_TO_MASK(CAP_DAC_OVERRIDE);
            lowered_ = syscall(SYS_capset, &header_, lowered) == 0;
        }
    }
    ~ReadOnlyFolder()
    {
        if (lowered_)
            syscall(SYS_capset, &header_, saved_);
        QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                         QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool refusesNewFiles() const
    {
        QFile probe(QDir(path_).filePath(QStringLiteral("probe.tmp")));
        if (!probe.open(QIODevice::WriteOnly))
            return true;
        probe.close();
        probe.remove();
        return false;
    }

private:
    QString path_;
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0}; // pid 0: this thread
    __user_cap_data_struct saved_[2]{};
    bool lowered_ = false;
};

// Caps the size of every file this process writes (RLIMIT_FSIZE) while the
// guard lives: a write that crosses `bytes` breaks off part-way with EFBIG,
// as a full disk or a quota would.  The signal that goes with it (SIGXFSZ)
// is ignored meanwhile.  Root is not exempt from this limit.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        active_ = getrlimit(RLIMIT_FSIZE, &saved_) == 0;
        if (active_) {
            rlimit limit = saved_;
            limit.rlim_cur = bytes;
            active_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
        }
    }
    ~FileSizeLimit()
    {
        if (active_)
            setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    // True when writing `bytes` to a new file in `folder` really fails now.
    bool stopsWriting(const QString& folder, const QByteArray& bytes) const
    {
        QFile probe(QDir(folder).filePath(QStringLiteral("limit-probe.tmp")));
        if (!probe.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const bool failed = probe.write(bytes) != bytes.size();
        probe.close();
        probe.remove();
        return failed;
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = SIG_DFL;
    bool active_ = false;
};

} // namespace writefaults
