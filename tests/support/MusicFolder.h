#pragma once
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QtGlobal>

// While it lives, the desktop's music folder is `music`: a user-dirs.dirs in
// `configHome`, read as xdg-user-dir reads it, says so, and XDG_CONFIG_HOME
// points there.  Without `music` no folder is named and the desktop's default
// applies.  XDG_CONFIG_HOME is restored afterwards.
class MusicFolder {
public:
    explicit MusicFolder(const QString& configHome, const QString& music = QString())
        : wasSet_(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")), saved_(qgetenv("XDG_CONFIG_HOME"))
    {
        if (!music.isEmpty()) {
            QFile dirs(QDir(configHome).filePath(QStringLiteral("user-dirs.dirs")));
            ready_ = QDir().mkpath(configHome) && dirs.open(QIODevice::WriteOnly)
                     && dirs.write("XDG_MUSIC_DIR=\"" + music.toUtf8() + "\"\n") > 0 && dirs.flush();
        }
        qputenv("XDG_CONFIG_HOME", configHome.toUtf8());
    }

    ~MusicFolder()
    {
        if (wasSet_)
            qputenv("XDG_CONFIG_HOME", saved_);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }

    MusicFolder(const MusicFolder&) = delete;
    MusicFolder& operator=(const MusicFolder&) = delete;

    // False when user-dirs.dirs could not be written.
    bool ready() const { return ready_; }

private:
    bool wasSet_;
    QByteArray saved_;
    bool ready_ = true;
};
