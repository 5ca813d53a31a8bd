#include "platform/midi/SynthTrace.h"

#include <QFile>

#include "platform/midi/SteadyTime.h"

#include <atomic>
#include <cstdio>
#include <mutex>

namespace platform::midi::SynthTrace {

namespace {

std::atomic<bool> enabled{false};
std::mutex fileMutex;
std::FILE* file = nullptr;

} // namespace

QString takeOption(QStringList& arguments)
{
    static const QString name = QStringLiteral("--synth-trace");
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--"))
            break;
        if (arguments[i].startsWith(name + QLatin1Char('='))) {
            const QString path = arguments.takeAt(i).mid(name.size() + 1);
            return path;
        }
        if (arguments[i] == name && i + 1 < arguments.size()) {
            arguments.removeAt(i);
            return arguments.takeAt(i);
        }
    }
    return {};
}

bool start(const QString& path)
{
    std::lock_guard lock(fileMutex);
    if (file)
        std::fclose(file);
    file = std::fopen(QFile::encodeName(path).constData(), "w");
    enabled = file != nullptr;
    if (!file)
        std::fprintf(stderr, "cannot write the synthesiser trace %s\n", qPrintable(path));
    return file != nullptr;
}

bool on() { return enabled.load(std::memory_order_relaxed); }

void write(const char* event, Clock::time_point time, std::initializer_list<long long> values)
{
    if (!on())
        return;
    std::lock_guard lock(fileMutex);
    if (!file)
        return;
    std::fprintf(file, "%s %lld", event, steadyMicros(time));
    for (long long value : values)
        std::fprintf(file, " %lld", value);
    std::fputc('\n', file);
    // Written through at once: a program ended by a signal keeps its trace.
    std::fflush(file);
}

} // namespace platform::midi::SynthTrace
