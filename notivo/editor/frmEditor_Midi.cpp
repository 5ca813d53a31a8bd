#include <QComboBox>
#include <QMenu>

#include "notivo/score/InstrumentNames.h"
#include "notivo/editor/NoDeviceMessage.h"
#include "notivo/editor/Scheduler.h"
#include "notivo/editor/frmEditor.h"
#include "platform/chrome/MessageBox.h"

// The "Midi Device" menu, the device search at start-up and the instrument list.
namespace notivo {
namespace {
constexpr int PreviewMs = 250;

QString deviceCaption(const std::string& productName, const QString& fallback)
{
    // A product name is shown as it is, not read as a menu mnemonic.
    return productName.empty() ? fallback : QString::fromStdString(productName).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QString plainCaption(const QAction* item) { return item->text().replace(QStringLiteral("&&"), QStringLiteral("&")); }
} // namespace

bool frmEditor::startMidi()
{
    const EditorMidi::DeviceNames names = Midi.deviceNames();
    Device[0]->setText(deviceCaption(names.mapper, QStringLiteral("Midi Mapper")));
    for (std::size_t i = 0; i < names.devices.size(); ++i) {
        const int index = static_cast<int>(i) + 1;
        QAction* item = mnuDevice->addAction(deviceCaption(names.devices[i], QStringLiteral("Device %1").arg(i)));
        item->setObjectName(QStringLiteral("Device_%1").arg(index));
        item->setCheckable(true);
        item->setChecked(false);
        item->setVisible(true);
        connect(item, &QAction::triggered, this, [this, index] { Device_Click(index); });
        Device.push_back(item);
    }

    if (!Midi.openFirstDevice()) {
        platform::showMessage(this, QString::fromLatin1(NoDeviceMessage));
        return false;
    }
    for (std::size_t i = 0; i < Device.size(); ++i)
        Device[i]->setChecked(static_cast<int>(i) == Midi.MidiDevice + 1);

    fillInstrumentList();
    Combo1->setCurrentIndex(0);
    Combo1_Click(0);
    return true;
}

void frmEditor::fillInstrumentList()
{
    const QSignalBlocker quiet(Combo1);
    Combo1->clear();
    Combo1->addItems(instrumentList());
}

void frmEditor::Device_Click(int Index)
{
    if (Index < 0 || Index >= static_cast<int>(Device.size()))
        return;
    const int previous = Midi.MidiDevice;
    const int result = Midi.switchDevice(Index - 1);
    // Exactly one item carries the check mark: the device actually in use.
    for (std::size_t i = 0; i < Device.size(); ++i)
        Device[i]->setChecked(static_cast<int>(i) == Midi.MidiDevice + 1);
    if (result != 0) {
        platform::showMessage(this, QStringLiteral("The MIDI device \"%1\" could not be opened (error %2).\r\n"
                                                   "\"%3\" stays in use.")
                                        .arg(plainCaption(Device[Index]))
                                        .arg(result)
                                        .arg(plainCaption(Device[previous + 1])));
        return;
    }
    // A newly opened device starts on its default sound: give it the chosen instrument.
    if (Combo1->currentIndex() >= 0)
        SetInstrument(Combo1->currentIndex());
}

void frmEditor::NoteOn(int v, NoteHolder holder) { Midi.NoteOn(v, holder); }

void frmEditor::NoteOff(int v, NoteHolder holder) { Midi.NoteOff(v, holder); }

void frmEditor::SetInstrument(int p) { Midi.SetInstrument(p); }

void frmEditor::previewNote(int v, int milliseconds)
{
    // Each preview is a timeline of its own: its note-off ends only its note.
    const NoteHolder preview = newNoteHolder();
    NoteOn(v, preview);
    PlaybackTiming->after(std::chrono::milliseconds(milliseconds), [this, v, preview] { NoteOff(v, preview); });
}

void frmEditor::Combo1_Click(int)
{
    const int p = Combo1->currentIndex();
    if (p < 0)
        return;
    SetInstrument(p);
    previewNote(EditorMidi::PreviewPitch, PreviewMs);
}

} // namespace notivo
