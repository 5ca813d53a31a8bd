#include <QScrollBar>

#include "notivo/widgets/BalloonWindow.h"
#include "notivo/widgets/Tooltip.h"
#include "tests/notivo/editor/play_window_fixture.h"

using namespace notivo;
using namespace notivo::playtest;

namespace {

using CoolTipsTest = EditorRig;

const Tooltip* tipOf(frmEditor& e, const QWidget* control)
{
    for (const Tooltip* tip : EditorProbe(e).tips())
        if (tip->ParentControl() == control)
            return tip;
    return nullptr;
}

TEST_F(CoolTipsTest, SixteenControlsGetABalloonWithTheirTitleAndLines)
{
    struct Expected { QWidget* control; const char* title; std::vector<const char*> lines; };
    const Expected expected[] = {
        {e().Picture11, "Time Elapsed", {"Displays the time elapsed when playing"}},
        {e().Check5, "Delete a gap/note",
         {"Delete a gap or a note in the pentagram", "(This will move the notes after the point you",
          "delete them at the space of the deleted note)"}},
        {e().Check4, "Insert Gap",
         {"Insert Gap at a part of the song to seperate", "the two notes between. You can Inset notes",
          "to that gap later."}},
        {e().Command2, "Step", {"Plays the song step by step", "Click to play the next note"}},
        {e().Command1, "Stop", {"Stops the playing of the current pentagram."}},
        {e().Check2[0], "Sharp",
         {"Sharp increases the pitch of a note", "In notes Mi and Ti (E,B) the note",
          "played under the sharp effect is", "Fa and Do (F and C respectively)"}},
        {e().Check2[1], "Flat",
         {"Flat decreases the pitch of a note", "In notes Fa and Do (F,C) the note",
          "played under the sharp effect is", "Mi and Ti (E and B respectively)"}},
        {e().Check1, "Select",
         {"Selection mode allows you to drag the mouse", "over a range of notes to let you cut or copy",
          "them so you can later paste them. You can ", "also replace, delete or transpose them as well."}},
        {e().Command5, "Play/Pause", {"Plays or Pauses the notes in the current", "pentagram"}},
        {e().Option1[10], "Quarter Pause",
         {"Quarter Pause is a short pause that", "can be placed on the pentagram.",
          "Use it to pause the song for some miliseconds."}},
        {e().Option1[11], "Quaver Pause",
         {"Quaver Pause is the shortest pause that", "can be placed on the pentagram.",
          "Use it to pause the song for a few miliseconds"}},
        {e().Option1[5], "Whole",
         {"Whole note is the largest durocity", "in selections usually used at the", "end of the song"}},
        {e().Option1[4], "Half", {"Half is quite long-lengthed", "and used in slower songs", "Value: 1/2 of whole note"}},
        {e().Option1[3], "Quarter",
         {"Quarter note is the most common speed", "but can be altered by changing the tempo",
          "Value: 1/4 of whole note"}},
        {e().Option1[2], "Quaver", {"Quaver is a very short note", "Value: 1/8 of whole note"}},
        {e().Option1[1], "Semiquaver",
         {"A semi quaver is one of the shortest", "in length and is used for quick songs",
          "To convert it to demi-semiquaver", "increase the tempo", "Value: 1/16 of whole note"}},
    };
    EXPECT_EQ(probe().tips().size(), 16u);
    for (const Expected& x : expected) {
        SCOPED_TRACE(x.title);
        const Tooltip* tip = tipOf(e(), x.control);
        ASSERT_NE(tip, nullptr);
        QStringList lines;
        for (const char* line : x.lines)
            lines << QString::fromLatin1(line);
        EXPECT_EQ(tip->Title(), QString::fromLatin1(x.title));
        EXPECT_EQ(tip->TipText(), lines.join(QStringLiteral("\r\n")));
        EXPECT_EQ(tip->Style(), Tooltip::BalloonStyle);
        EXPECT_EQ(tip->Icon(), Tooltip::InfoIcon);
        EXPECT_FALSE(tip->Centered());
        ASSERT_NE(tip->tipWindow(), nullptr);
        EXPECT_EQ(tip->tipWindow()->content().title, QString::fromLatin1(x.title));
        EXPECT_EQ(tip->tipWindow()->content().icon, Tooltip::InfoIcon);
        EXPECT_TRUE(tip->tipWindow()->content().balloon);
        EXPECT_EQ(tip->tipWindow()->content().text.split(QStringLiteral("\r\n")).size(), lines.size());
    }
}

TEST_F(CoolTipsTest, NoPlainTooltipIsLeftAndUntaggedControlsGetNoBalloon)
{
    for (const QWidget* control : e().findChildren<QWidget*>())
        if (control != e().NoteContainerPbx)
            EXPECT_TRUE(control->toolTip().isEmpty()) << control->objectName().toStdString();
    EXPECT_EQ(tipOf(e(), e().Check3), nullptr);
    EXPECT_EQ(tipOf(e(), e().HScroll1), nullptr);
    EXPECT_EQ(tipOf(e(), e().HScroll2), nullptr);
    EXPECT_EQ(tipOf(e(), e().Option3[0]), nullptr);
}

} // namespace
