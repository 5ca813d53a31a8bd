#pragma once
#include <QString>
#include <QStringList>
#include <vector>

namespace notivo {

// One part of the --help text: a heading (may be empty) and its lines.
struct HelpSection {
    QString heading;
    QStringList lines;
};

// The sections of the --help text, in order; a new topic is one more section.
std::vector<HelpSection> helpSections();

// The whole text, sections separated by an empty line.
QString helpText();

// "notivo <version>".
QString versionText();

} // namespace notivo
