#include <QPushButton>
#include <QStringList>
#include <QToolButton>
#include <QVariant>

#include "notivo/editor/frmEditor.h"
#include "notivo/widgets/BalloonWindow.h" // completes the tip window Tooltip points to
#include "notivo/widgets/Tooltip.h"
#include "platform/raster/PictureBox.h"

namespace notivo {
namespace {

// The long explanation of a control is kept in its "Tag" property, the
// title in its tool tip, as the form was designed.
const char* const TagProperty = "Tag";

QString lines(std::initializer_list<const char*> parts)
{
    QStringList text;
    for (const char* part : parts)
        text << QString::fromLatin1(part);
    return text.join(QStringLiteral("\r\n"));
}

void describe(QWidget* control, const char* title, const QString& text)
{
    control->setToolTip(QString::fromLatin1(title));
    control->setProperty(TagProperty, text);
}

} // namespace

void frmEditor::assignControlTips()
{
    describe(Picture11, "Time Elapsed", lines({"Displays the time elapsed when playing"}));
    describe(Check5, "Delete a gap/note",
             lines({"Delete a gap or a note in the pentagram", "(This will move the notes after the point you",
                    "delete them at the space of the deleted note)"}));
    describe(Check4, "Insert Gap",
             lines({"Insert Gap at a part of the song to seperate", "the two notes between. You can Inset notes",
                    "to that gap later."}));
    describe(Command2, "Step", lines({"Plays the song step by step", "Click to play the next note"}));
    describe(Command1, "Stop", lines({"Stops the playing of the current pentagram."}));
    describe(Check2[0], "Sharp",
             lines({"Sharp increases the pitch of a note", "In notes Mi and Ti (E,B) the note",
                    "played under the sharp effect is", "Fa and Do (F and C respectively)"}));
    describe(Check2[1], "Flat",
             lines({"Flat decreases the pitch of a note", "In notes Fa and Do (F,C) the note",
                    "played under the sharp effect is", "Mi and Ti (E and B respectively)"}));
    describe(Check1, "Select",
             lines({"Selection mode allows you to drag the mouse", "over a range of notes to let you cut or copy",
                    "them so you can later paste them. You can ", "also replace, delete or transpose them as well."}));
    describe(Command5, "Play/Pause", lines({"Plays or Pauses the notes in the current", "pentagram"}));
    describe(Option1[10], "Quarter Pause",
             lines({"Quarter Pause is a short pause that", "can be placed on the pentagram.",
                    "Use it to pause the song for some miliseconds."}));
    describe(Option1[11], "Quaver Pause",
             lines({"Quaver Pause is the shortest pause that", "can be placed on the pentagram.",
                    "Use it to pause the song for a few miliseconds"}));
    describe(Option1[5], "Whole",
             lines({"Whole note is the largest durocity", "in selections usually used at the", "end of the song"}));
    describe(Option1[4], "Half", lines({"Half is quite long-lengthed", "and used in slower songs", "Value: 1/2 of whole note"}));
    describe(Option1[3], "Quarter",
             lines({"Quarter note is the most common speed", "but can be altered by changing the tempo",
                    "Value: 1/4 of whole note"}));
    describe(Option1[2], "Quaver", lines({"Quaver is a very short note", "Value: 1/8 of whole note"}));
    describe(Option1[1], "Semiquaver",
             lines({"A semi quaver is one of the shortest", "in length and is used for quick songs",
                    "To convert it to demi-semiquaver", "increase the tempo", "Value: 1/16 of whole note"}));
}

// Every control with both a title and a text gets a balloon tip in place of
// its plain tool tip.
void frmEditor::CoolTips()
{
    for (QWidget* control : findChildren<QWidget*>()) {
        const QString tag = control->property(TagProperty).toString();
        if (tag.isEmpty() || control->toolTip().isEmpty())
            continue;
        auto* tip = new Tooltip(this);
        tip->setParentControl(control);
        tip->setStyle(Tooltip::BalloonStyle);
        tip->Create();
        tip->setTipText(tag);
        tip->setTitle(control->toolTip());
        tip->setIcon(Tooltip::InfoIcon);
        control->setToolTip(QString());
        Tips.push_back(tip);
    }
}

} // namespace notivo
