#include "keyrig/MidiBeat.h"

#include "keyrig/VBMIDI.h"

namespace MidiBeat {
namespace {

int successorOf(int section)
{
    switch (section) {
    case Ending: return Stopped;
    default: return Main; // intro, fill and break lead into the groove, which repeats
    }
}

} // namespace

std::vector<Section> parsePattern(const QString& pattern)
{
    std::vector<Section> sections;
    for (const QString& sectionText : pattern.split(u';')) {
        Section section;
        for (const QString& stepText : sectionText.split(u'|')) {
            Step step;
            for (const QString& keyText : stepText.split(u',', Qt::SkipEmptyParts)) {
                bool ok = false;
                const int key = keyText.trimmed().toInt(&ok);
                if (ok && key >= 0 && key <= 127)
                    step.push_back(key);
            }
            section.push_back(std::move(step));
        }
        sections.push_back(std::move(section));
    }
    return sections;
}

std::vector<BeatStyle> InitBeats()
{
    return {
        {QStringLiteral("Disco"), 170,
         QStringLiteral("44,35,55|46|44,40,35|42;"
                        "44,35|46|44,40,35|42;"
                        "44,35|44,35,40|44,35,40|44,35,40|44,35,55|46|44,40,35|42;"
                        "44,35|44,40|44,40|44,35;"
                        "44,35,55")},
        {QStringLiteral("Rock"), 150,
         QStringLiteral("44,35,55||44||44,40||44|;"
                        "44,35||44,35||44,40||44||44,35||44||44,40||44|;"
                        "44,50,35|50|44,48,35|48|44,47,35|47|44,45,35|45|44,35,55||44||44,40||44|;"
                        "44,35||46||40,44||42|;"
                        "44||44||44||44,35,55")},
        {QStringLiteral("16 Beat"), 100,
         QStringLiteral("44|44|44|44|44|44|44|44;"
                        "44,35|44|44|44|44,40|44|44|44;"
                        "44,40|44,40|44,40|44,40|44,40|44,40|44,40|44,40|44,35,55|44|44|44|44,40|44|44|44;"
                        "44,35|44|44|46|40|42|44|44;"
                        "44,35,55")},
    };
}

BeatEngine::BeatEngine(VBMIDI& midi) : midi_(midi), Beats(InitBeats())
{
    for (const BeatStyle& style : Beats)
        parsed_.push_back(parsePattern(style.Pattern));
}

void BeatEngine::lblBeatCtrl_Click(int index)
{
    if (index < 0 || index > 4)
        return;
    PendingSection = requestOf(index);
    if (index <= 3 && CurrentSection < 0) {
        CurrentSection = PendingSection;
        PendingSection = NothingPending;
        StepIndex = 0;
    }
}

void BeatEngine::chooseStyle(int index)
{
    if (index < 0 || index >= static_cast<int>(Beats.size()))
        return;
    CurrentBeat = index;
    StepIndex = 0;
    CurrentSection = Intro;
}

void BeatEngine::stop()
{
    CurrentSection = Stopped;
    PendingSection = NothingPending;
}

void BeatEngine::tmrBeat_Timer(int velocity)
{
    if (CurrentSection < 0)
        return;
    const std::vector<Section>& sections = parsed_[CurrentBeat];
    if (CurrentSection >= static_cast<int>(sections.size())) {
        stop();
        return;
    }
    const Section& section = sections[CurrentSection];
    const int last = static_cast<int>(section.size()) - 1;
    if (StepIndex >= 0 && StepIndex <= last)
        for (int key : section[StepIndex])
            midi_.SendNoteOn(VBMIDI::PercussionChannel, key, velocity, VBMIDI::Ends::ByItself);
    ++StepIndex;
    if (StepIndex > last) {
        if (PendingSection >= Stopped) {
            CurrentSection = PendingSection;
            PendingSection = NothingPending;
        } else {
            CurrentSection = successorOf(CurrentSection);
        }
        StepIndex = 0;
    }
}

} // namespace MidiBeat
