#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "platform/midi/OfflineRender.h"
#include "tests/support/ExternalReaders.h"

using platform::midi::OfflineRender;
using platform::midi::TimedMessage;

namespace {

// The time of the first sample above the dither of 16-bit output, as sox reads the file.
double firstSoundSeconds(const QString& path)
{
    constexpr double Silence = 0.002;
    const readers::ToolRun run = readers::runTool(QStringLiteral("sox"), {path, QStringLiteral("-t"), QStringLiteral("dat"), QStringLiteral("-")});
    for (const QByteArray& line : run.out.split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (line.startsWith(';') || f.size() < 3)
            continue;
        if (std::abs(f[1].toDouble()) > Silence || std::abs(f[2].toDouble()) > Silence)
            return f[0].toDouble();
    }
    return -1;
}

TEST(OfflineRender, EachMessageSoundsWithinAMillisecondOfItsTime)
{
    const std::vector<std::string> types = platform::midi::writableAudioFileTypes();
    ASSERT_NE(std::find(types.begin(), types.end(), "wav"), types.end());
    // The sample's own attack takes a moment to rise: every hit is measured
    // against the one at the very start.
    double attack = -1;
    for (std::int64_t onset : {0, 250'000, 333'333, 1'000'700}) {
        SCOPED_TRACE(onset);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("hit.wav"));
        // A side stick on the drum channel, released 100 ms later.
        OfflineRender render({{onset, 0x7F2599}, {onset + 100'000, 0x2589}}, 0, path.toStdString(), {});
        ASSERT_TRUE(render.ok()) << render.error();
        while (render.renderSome(500'000)) {
        }
        ASSERT_TRUE(render.finished()) << render.error();
        render.close();
        const double heard = firstSoundSeconds(path) - onset / 1e6;
        if (attack < 0)
            attack = heard;
        EXPECT_GE(attack, 0.0);
        EXPECT_LT(attack, 0.005);
        EXPECT_NEAR(heard, attack, 0.001);
        // The tail is kept until the voice falls silent, never beyond 2 s.
        const double length = readers::soxInfo(path, "-D").toDouble();
        EXPECT_GT(length, onset / 1e6 + 0.1);
        EXPECT_LE(length, onset / 1e6 + 2.1);
    }
}

TEST(OfflineRender, UnknownFileTypeOrUnwritablePathIsRefused)
{
    QTemporaryDir folder;
    OfflineRender::Settings settings;
    settings.fileType = "mp3";
    OfflineRender unknown({}, 0, folder.filePath(QStringLiteral("a.mp3")).toStdString(), settings);
    EXPECT_FALSE(unknown.ok());
    EXPECT_FALSE(unknown.renderSome(1'000'000));
    OfflineRender unwritable({}, 0, folder.filePath(QStringLiteral("no/such/a.wav")).toStdString(), {});
    EXPECT_FALSE(unwritable.ok());
    EXPECT_FALSE(unwritable.error().empty());
}

} // namespace
