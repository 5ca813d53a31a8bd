#include "platform/midi/SoundFontSearch.h"

#include <QCoreApplication>
#include <QDir>

#include "platform/chrome/ProgramFolder.h"
#include "platform/midi/SynthEngine.h"

namespace platform::midi {

std::vector<std::string> soundFontCandidates()
{
    std::vector<std::string> candidates;
    // Without an application object there is no program folder to look in.
    if (QCoreApplication::instance()) {
        for (const QString& path : {platform::programFolder(), platform::installedDataFolder()}) {
            const QDir folder(path);
            const QStringList fonts = folder.entryList({QStringLiteral("*.sf2"), QStringLiteral("*.SF2")},
                                                       QDir::Files | QDir::Readable, QDir::Name);
            for (const QString& name : fonts)
                candidates.push_back(folder.filePath(name).toStdString());
        }
    }
    for (const char* system : {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2",
                               "/usr/share/sounds/sf2/TimGM6mb.sf2"})
        candidates.emplace_back(system);
    return candidates;
}

std::string findGmSoundFont()
{
    for (const std::string& path : soundFontCandidates())
        if (SynthEngine::isSoundFont(path))
            return path;
    return {};
}

} // namespace platform::midi
