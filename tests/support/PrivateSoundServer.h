#pragma once
#include <QByteArray>
#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

// A PulseAudio daemon of a test's own: one null sink, anonymous access
// through its own socket, no session bus and no hardware.  While it lives,
// PULSE_SERVER points at it, so whatever the test opens plays into the null
// sink; it ends with the object and PULSE_SERVER is restored.
class PrivateSoundServer {
public:
    PrivateSoundServer()
    {
        const QString runtime = folder_.filePath(QStringLiteral("pulse"));
        const QString socket = runtime + QStringLiteral("/native");
        for (const char* sub : {"pulse", "home", "xdg"})
            QDir(folder_.path()).mkdir(QString::fromLatin1(sub));

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        env.insert(QStringLiteral("HOME"), folder_.filePath(QStringLiteral("home")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder_.filePath(QStringLiteral("xdg")));
        env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), runtime);
        daemon_.setProcessEnvironment(env);
        daemon_.setProcessChannelMode(QProcess::MergedChannels);
        // It also runs as root (with a warning), which containers need.
        daemon_.start(QStringLiteral("pulseaudio"),
                      {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--system=false"),
                       QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--use-pid-file=no"),
                       QStringLiteral("--realtime=false"), QStringLiteral("--high-priority=false"),
                       QStringLiteral("--log-target=stderr"), QStringLiteral("--log-level=info"),
                       QStringLiteral("-L"),
                       QStringLiteral("module-native-protocol-unix socket=%1 auth-anonymous=1").arg(socket),
                       QStringLiteral("-L"), QStringLiteral("module-null-sink sink_name=test rate=48000")});
        // Up once it says so; a daemon that ends or stays silent has failed.
        const QDeadlineTimer deadline(20000);
        while (!log_.contains("Daemon startup complete.") && daemon_.state() != QProcess::NotRunning &&
               !deadline.hasExpired()) {
            daemon_.waitForReadyRead(int(deadline.remainingTime()));
            log_ += daemon_.readAll();
        }
        started_ = log_.contains("Daemon startup complete.");
        if (!started_)
            return;
        saved_ = qgetenv("PULSE_SERVER");
        hadSaved_ = qEnvironmentVariableIsSet("PULSE_SERVER");
        qputenv("PULSE_SERVER", ("unix:" + socket).toUtf8());
    }
    ~PrivateSoundServer()
    {
        if (started_) {
            if (hadSaved_)
                qputenv("PULSE_SERVER", saved_);
            else
                qunsetenv("PULSE_SERVER");
        }
        daemon_.terminate();
        if (!daemon_.waitForFinished(10000))
            daemon_.kill();
        daemon_.waitForFinished();
    }
    PrivateSoundServer(const PrivateSoundServer&) = delete;
    PrivateSoundServer& operator=(const PrivateSoundServer&) = delete;

    bool started() const { return started_; }
    // What the daemon said up to its start (or its failure).
    QString log() const { return QString::fromLocal8Bit(log_); }

private:
    QTemporaryDir folder_;
    QProcess daemon_;
    QByteArray log_;
    QByteArray saved_;
    bool hadSaved_ = false;
    bool started_ = false;
};
