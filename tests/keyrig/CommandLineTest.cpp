#include <gtest/gtest.h>

#include "keyrig/CommandLine.h"

using CommandLine::Action;

TEST(CommandLine, AnswersHelpAndVersionAndRejectsEverythingElse)
{
    const struct {
        QStringList arguments;
        Action action;
        const char* shows;
    } cases[] = {
        {{}, Action::Run, ""},
        {{"--help"}, Action::Help, "--version"},
        {{"-h"}, Action::Help, "Usage: keyrig"},
        {{"--version"}, Action::Version, "keyrig " PROGRAM_VERSION "\n"},
        {{"-v"}, Action::Version, PROGRAM_VERSION},
        {{"song.txt", "--version"}, Action::Version, PROGRAM_VERSION},
        {{"--help", "--version"}, Action::Help, "--help"},
        {{"--bogus"}, Action::Error, "unknown argument '--bogus'"},
        {{"song.txt"}, Action::Error, "keyrig --help"},
        {{"--"}, Action::Error, "'--'"},
        {{"--midi-log"}, Action::Error, "'--midi-log'"},
        {{"--midi-log", "/tmp/sent.log", "x"}, Action::Error, "'x'"},
        {{"--midi-log", "/tmp/sent.log"}, Action::Run, ""},
    };
    for (const auto& c : cases) {
        const auto request = CommandLine::read(c.arguments);
        const std::string name = c.arguments.join(' ').toStdString();
        EXPECT_EQ(request.action, c.action) << name;
        EXPECT_TRUE(request.text.contains(QString::fromUtf8(c.shows))) << name << ": " << request.text.toStdString();
    }
}

TEST(CommandLine, TakesTheFileOfTheMidiLog)
{
    EXPECT_EQ(CommandLine::read({"--midi-log", "/tmp/sent.log"}).midiLog, "/tmp/sent.log");
    EXPECT_TRUE(CommandLine::read({}).midiLog.isEmpty());
}
