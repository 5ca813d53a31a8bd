#include "keyrig/frmPiano.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "keyrig/ConfigFile.h"
#include "keyrig/InstrumentNames.h"
#include "keyrig/KeyPositions.h"
#include "keyrig/KeyTables.h"
#include "keyrig/PanelLabel.h"
#include "keyrig/SliderMath.h"
#include "keyrig/VBMIDI.h"
#include "platform/chrome/MessageBox.h"
#include "platform/chrome/ProgramFolder.h"
#include "platform/chrome/Rounding.h"
#include "platform/chrome/WindowChrome.h"
#include "platform/input/HeldKeys.h"
#include "platform/midi/SynthTrace.h"
#include "platform/raster/RatioPicture.h"

namespace {

constexpr double TwipsPerPixel = 15.0;
constexpr double FormWidth = 5640, FormHeight = 1815;
constexpr double KeyTop = 769, WhiteKeyHeight = 855, BlackKeyHeight = 495, KeyWidth = 255;
constexpr double PadSize = 135;

const QColor Grey(128, 128, 128);
const QColor LightGrey(192, 192, 192);
const QColor Yellow(255, 255, 0);
const QColor PressedWhite(200, 200, 200);
const QColor PressedBlack(100, 100, 100);

const char* const BaseKeyCaptions[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
const char* const BeatSymbols[] = {"beat_intro", "beat_fill", "beat_pause", "beat_ending", "beat_stop"};
const char* const BeatTips[] = {"Intro", "Fill", "Pause", "Ending", "Stop"};

int px(double twips) { return static_cast<int>(platform::roundHalfEven(twips / TwipsPerPixel)); }

QRect twipRect(double left, double top, double width, double height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

double whiteKeyLeft(int whiteIndex) { return 285 + 240.0 * whiteIndex; }

QFont smallFont(int pixels, bool bold = false)
{
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// The key at that place on a US keyboard (0 for keys that do nothing here),
// with what tells its repeats apart.
KeyRepeatFilter::KeyEvent keyEventOf(const QKeyEvent* event)
{
    return {KeyPositions::virtualKey(event->nativeScanCode(), event->key(),
                                     event->modifiers().testFlag(Qt::KeypadModifier)),
            event->nativeScanCode(), static_cast<unsigned long>(event->timestamp()), event->isAutoRepeat()};
}

// Menu captions treat "&" as a mnemonic marker.
QString menuCaption(const QString& text)
{
    QString caption = text;
    return caption.replace(u'&', QStringLiteral("&&"));
}

} // namespace

frmPiano::frmPiano(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setWindowTitle(QStringLiteral("keyrig"));
    setFocusPolicy(Qt::StrongFocus);
    createControls();
    createMenus();
    keys_.onKeyChanged = [this](int i, bool down) { showKey(i, down); };
    keys_.onPadChanged = [this](int p, bool down) { showPad(p, down); };
    tmrBeat.onTick = [this] { tmrBeat_Timer(); };
    repeats_.isHeld = &platform::input::isKeyHeld;
    // Followed from the first message on, so a take starts with the sounds in use.
    midi_.onSent = [this](std::uint32_t packed) { recorder_.take(packed); };
    midi_.onFailure = [this](const QString& message) { platform::showMessage(this, message); };
    recorder_.onFull = [this] { QTimer::singleShot(0, this, [this] { saveRecording(); }); };
    Form_Load();
}

frmPiano::~frmPiano()
{
    tmrBeat.stop();
    // No box can be shown for a window going away.
    midi_.onFailure = nullptr;
}

void frmPiano::createControls()
{
    setFixedSize(px(FormWidth), px(FormHeight));
    background_ = platform::raster::stretchedPicture(QStringLiteral(":/images/background.png"), size(),
                                                     devicePixelRatio());

    createReadouts();
    createCornerButtons();
    createBankButtons();
    createVolumeSlider();
    createBeatControls();
    createRateSlider();
    createDrumPads();
    connectPopUpLabels();

    for (int i = 0; i < 36; ++i)
        keyColours_[i] = KeyTables::isBlackKey(i) ? Qt::black : Qt::white;
    padColours_.fill(LightGrey);
}

PanelLabel* frmPiano::panelLabel(const char* name, const QRect& geometry)
{
    auto* l = new PanelLabel(this);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(geometry);
    l->setTextFormat(Qt::PlainText);
    return l;
}

// The instrument, beat and base-key readouts along the top.
void frmPiano::createReadouts()
{
    lblInstrument = panelLabel("lblInstrument", twipRect(293, 191, 1890, 210));
    lblBeat = panelLabel("lblBeat", twipRect(2723, 191, 1170, 210));
    lblBaseKey = panelLabel("lblBaseKey", twipRect(4088, 191, 240, 210));
    for (PanelLabel* l : {lblInstrument, lblBeat, lblBaseKey}) {
        l->setFont(smallFont(9));
        l->setIndent(2);
    }
    lblInstrument->setBackColour(Grey);
    lblInstrument->setTextColour(QColor(224, 224, 224));
    lblBeat->setBackColour(Grey);
    lblBeat->setTextColour(QColor(224, 224, 224));
    lblBaseKey->setBackColour(LightGrey);
    lblBaseKey->setTextColour(QColor(0, 0, 192));
    lblBaseKey->setIndent(0);
    lblBaseKey->setText(QStringLiteral(" C"));
}

// The device and exit symbols in the top right corner.
void frmPiano::createCornerButtons()
{
    lblDevice = panelLabel("lblDevice", twipRect(4853, 146, 255, 315));
    lblDevice->setSymbol(QStringLiteral(":/images/device.png"));
    lblDevice->setTextColour(LightGrey);
    lblExit = panelLabel("lblExit", twipRect(5108, 146, 255, 315));
    lblExit->setSymbol(QStringLiteral(":/images/exit.png"));
    lblExit->setTextColour(LightGrey);
}

void frmPiano::createBankButtons()
{
    for (int i = 0; i < 4; ++i) {
        PanelLabel* l = panelLabel("lblBank", twipRect(293 + 240.0 * i, 431, 210, 210));
        l->setObjectName(QStringLiteral("lblBank_%1").arg(i));
        l->setFont(smallFont(10, true));
        l->setAlignment(Qt::AlignCenter);
        l->setBackColour(Grey);
        l->setTextColour(QColor(128, 255, 128));
        l->setText(QString::number(i + 1));
        connect(l, &PanelLabel::mouseDown, this, [this, i](Qt::MouseButton b) { lblBank_MouseDown(i, b); });
        connect(l, &PanelLabel::mouseUp, this, [this, i] { lblBank_MouseUp(i); });
        lblBank[i] = l;
    }
}

void frmPiano::createVolumeSlider()
{
    Label2 = panelLabel("Label2", twipRect(1328, 506, 855, 45));
    Label2->setBackColour(LightGrey);
    lblVolumePtr = panelLabel("lblVolumePtr", twipRect(2048, 461, 135, 135));
    lblVolumePtr->setBackColour(Grey);
    lblVolume = panelLabel("lblVolume", twipRect(SliderMath::VolumeTrack.start, 461, 855, 135));
    connect(lblVolume, &PanelLabel::mouseDown, this,
            [this](Qt::MouseButton, QPointF pos) { lblVolume_MouseDown(pos.x() * TwipsPerPixel); });
    connect(lblVolume, &PanelLabel::mouseMove, this,
            [this](QPointF pos) { lblVolume_MouseMove(pos.x() * TwipsPerPixel); });
    connect(lblVolume, &PanelLabel::mouseUp, this, [this] { lblVolume_MouseUp(); });
}

void frmPiano::createBeatControls()
{
    const double beatLefts[] = {2723, 2963, 3203, 3443, 3683};
    for (int i = 0; i < 5; ++i) {
        PanelLabel* l = panelLabel("lblBeatCtrl", twipRect(beatLefts[i], 431, 210, 210));
        l->setObjectName(QStringLiteral("lblBeatCtrl_%1").arg(i));
        l->setBackColour(Grey);
        l->setTextColour(QColor(192, 0, 0));
        l->setSymbol(QStringLiteral(":/images/%1.png").arg(QLatin1String(BeatSymbols[i])));
        l->setToolTip(QString::fromLatin1(BeatTips[i]));
        connect(l, &PanelLabel::mouseDown, this, [l] { l->setBackColour(Yellow); });
        connect(l, &PanelLabel::mouseUp, this, [l] { l->setBackColour(Grey); });
        connect(l, &PanelLabel::clicked, this, [this, i] { lblBeatCtrl_Click(i); });
        lblBeatCtrl[i] = l;
    }
}

void frmPiano::createRateSlider()
{
    Label1 = panelLabel("Label1", twipRect(3953, 191, 60, 465));
    Label1->setBackColour(LightGrey);
    lblRatePtr = panelLabel("lblRatePtr", twipRect(3923, 341, 135, 135));
    lblRatePtr->setBackColour(Grey);
    lblRate = panelLabel("lblRate", twipRect(3960, SliderMath::RateTrack.start, 75, 450));
    // The knob is wider than the track; what lands on it works the track.
    // Knob and track are siblings: map through the window they share.
    auto rateY = [this](PanelLabel* from, QPointF pos) {
        return lblRate->mapFrom(this, from->mapTo(this, pos)).y() * TwipsPerPixel;
    };
    for (PanelLabel* source : {lblRate, lblRatePtr}) {
        connect(source, &PanelLabel::mouseDown, this,
                [=, this](Qt::MouseButton, QPointF pos) { lblRate_MouseDown(rateY(source, pos)); });
        connect(source, &PanelLabel::mouseMove, this,
                [=, this](QPointF pos) { lblRate_MouseMove(rateY(source, pos)); });
        connect(source, &PanelLabel::mouseUp, this, [this] { lblRate_MouseUp(); });
    }
}

void frmPiano::createDrumPads()
{
    for (int p = 0; p < 12; ++p) {
        PanelLabel* l = panelLabel("lblDrums", padRect(p));
        l->setObjectName(QStringLiteral("lblDrums_%1").arg(p));
        connect(l, &PanelLabel::clicked, this, [this, p] { lblDrums_Click(p); });
        lblDrums[p] = l;
    }
}

// The readouts and the device symbol open their menus.
void frmPiano::connectPopUpLabels()
{
    connect(lblInstrument, &PanelLabel::clicked, this, [this] {
        lblInstrument->setBackColour(Yellow);
        popUp(0);
        lblInstrument->setBackColour(Grey);
    });
    connect(lblBeat, &PanelLabel::clicked, this, [this] {
        lblBeat->setBackColour(Yellow);
        popUp(2);
        lblBeat->setBackColour(Grey);
    });
    connect(lblDevice, &PanelLabel::clicked, this, [this] {
        lblDevice->setTextColour(Yellow);
        popUp(3);
        lblDevice->setTextColour(LightGrey);
    });
    connect(lblBaseKey, &PanelLabel::clicked, this, [this] { popUp(4); });
    connect(lblExit, &PanelLabel::clicked, this, [this] { lblExit_Click(); });
}

void frmPiano::createMenus()
{
    const char* captions[] = {"Piano", "Drum", "Beat", "Device", "Key"};
    for (int entry = 0; entry < 5; ++entry) {
        mnuMain[entry] = new QMenu(QString::fromLatin1(captions[entry]), this);
        mnuMain[entry]->setObjectName(QStringLiteral("mnuMain_%1").arg(entry));
    }
    auto addEntry = [this](int entry, std::vector<QAction*>& items, void (frmPiano::*handler)(int)) {
        const int index = static_cast<int>(items.size());
        QAction* action = mnuMain[entry]->addAction(mnuMain[entry]->title());
        connect(action, &QAction::triggered, this, [this, handler, index] { (this->*handler)(index); });
        items.push_back(action);
    };
    // Entry 0 of each list exists from the start; the others as needed.
    for (int i = 0; i < InstrumentNames::ProgramCount; ++i)
        addEntry(0, mnuPiano, &frmPiano::mnuPiano_Click);
    for (int i = 0; i < InstrumentNames::DrumCount; ++i)
        addEntry(1, mnuDrum, &frmPiano::mnuDrum_Click);
    for (std::size_t i = 0; i < beat_.styles().size(); ++i)
        addEntry(2, mnuBeat, &frmPiano::mnuBeat_Click);
    addEntry(3, mnuDevice, &frmPiano::mnuDevice_Click);
    for (int i = 0; i < 12; ++i) {
        addEntry(4, mnuBaseKey, &frmPiano::mnuBaseKey_Click);
        mnuBaseKey[i]->setText(menuCaption(QString::fromLatin1(BaseKeyCaptions[i])));
    }
}

void frmPiano::Form_Load()
{
    // The outermost top row and left column stay outside the shape.
    platform::chrome::setWindowShape(this, platform::chrome::roundRectRegion(1, 1, width(), height(), 50, 30));

    KeyrigSettings settings;
    ConfigFile::read(ConfigFile::readPath(), settings);
    midi_.setPortDevice(settings.PortDevice);
    Banks = settings.Banks;
    keys_.DrumNotes = settings.DrumNotes;

    midi_.OpenMidiOut();
    fillDeviceMenu();

    for (std::size_t i = 0; i < beat_.styles().size(); ++i)
        mnuBeat[i]->setText(menuCaption(beat_.styles()[i].Name));
    tmrBeat.start(beat_.styles()[0].Interval);
    mnuBeat_Click(0);
    beat_.stop();

    fillNameMenus();
    keys_.KeyVelocity = 127;
    mnuPiano_Click(Banks[0]);
}

void frmPiano::fillDeviceMenu()
{
    const int count = platform::midi::MidiOut::deviceCount();
    for (int i = 0; i < count; ++i) {
        if (i >= static_cast<int>(mnuDevice.size())) {
            QAction* action = mnuMain[3]->addAction(QString());
            connect(action, &QAction::triggered, this, [this, i] { mnuDevice_Click(i); });
            mnuDevice.push_back(action);
        }
        std::string name = platform::midi::MidiOut::productName(i);
        name = name.substr(0, name.find('\0')).substr(0, 31);
        mnuDevice[i]->setText(menuCaption(QString::fromStdString(name)));
    }
}

void frmPiano::fillNameMenus()
{
    const InstrumentNames names = InstrumentNames::read(platform::programFile(QStringLiteral("instrument.txt")));
    for (int i = 0; i < InstrumentNames::ProgramCount; ++i)
        mnuPiano[i]->setText(menuCaption(names.Programs[i]));
    for (int i = 0; i < InstrumentNames::DrumCount; ++i)
        mnuDrum[i]->setText(menuCaption(names.Drums[i]));
}

void frmPiano::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    tmrBeat.stop();
    releaseKeys();
    midi_.CloseForExit(); // ends what still sounds there
    KeyrigSettings settings;
    settings.PortDevice = midi_.PortDevice();
    settings.Banks = Banks;
    settings.DrumNotes = keys_.DrumNotes;
    ConfigFile::write(ConfigFile::writePath(), settings);
}

void frmPiano::closeEvent(QCloseEvent* event)
{
    // A take that cannot be written keeps the window open once, with the
    // reason shown, so the player can make room and press F12 again.
    if (!unloaded_ && !finishRecordingForExit()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

// ---- keys ----

void frmPiano::keyPressEvent(QKeyEvent* event)
{
    const KeyRepeatFilter::KeyEvent key = keyEventOf(event);
    if (key.key == 0)
        return QWidget::keyPressEvent(event);
    switch (repeats_.press(key)) {
    case KeyRepeatFilter::Action::ReleaseThenPress:
        Form_KeyUp(key.key);
        [[fallthrough]];
    case KeyRepeatFilter::Action::Press:
        // The moment the key reached the window, for measuring key to sound.
        platform::midi::SynthTrace::write("key", platform::midi::SynthTrace::Clock::now());
        Form_KeyDown(key.key);
        break;
    default:
        break; // a held key repeating
    }
}

void frmPiano::keyReleaseEvent(QKeyEvent* event)
{
    const KeyRepeatFilter::KeyEvent key = keyEventOf(event);
    if (key.key == 0)
        return QWidget::keyReleaseEvent(event);
    if (repeats_.release(key) == KeyRepeatFilter::Action::Release)
        Form_KeyUp(key.key);
}

void frmPiano::Form_KeyDown(int keyCode)
{
    const PlayingKeys::KeyDownResult result = keys_.Form_KeyDown(keyCode);
    if (result.command == PlayingKeys::Command::Bank) {
        lblBank_MouseDown(result.index, Qt::LeftButton);
        lblBank[result.index]->setBackColour(Grey); // a key has no mouse-up
    } else if (result.command == PlayingKeys::Command::Beat) {
        lblBeatCtrl_Click(result.index);
    } else if (result.command == PlayingKeys::Command::Record) {
        toggleRecording();
    }
}

void frmPiano::Form_KeyUp(int keyCode) { keys_.Form_KeyUp(keyCode); }

void frmPiano::focusOutEvent(QFocusEvent* event)
{
    releaseKeys();
    QWidget::focusOutEvent(event);
}

void frmPiano::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        releaseKeys();
    QWidget::changeEvent(event);
}

void frmPiano::releaseKeys()
{
    repeats_.clear();
    keys_.releaseAll();
}

void frmPiano::showKey(int index, bool down)
{
    const bool black = KeyTables::isBlackKey(index);
    if (down)
        keyColours_[index] = black ? PressedBlack : PressedWhite;
    else
        keyColours_[index] = black ? QColor(Qt::black) : QColor(Qt::white);
    update(keyRect(index));
}

void frmPiano::showPad(int pad, bool down)
{
    padColours_[pad] = down ? Grey : LightGrey;
    update(padRect(pad));
}

void frmPiano::mnuBaseKey_Click(int index)
{
    if (index < 0 || index > 11)
        return;
    keys_.BaseKey = index;
    lblBaseKey->setText(QString::fromLatin1(BaseKeyCaptions[index]));
    midi_.CloseMidiOut();
    midi_.OpenMidiOut();
}

// ---- beat ----

void frmPiano::lblBeatCtrl_Click(int index) { beat_.lblBeatCtrl_Click(index); }

void frmPiano::mnuBeat_Click(int index)
{
    if (index < 0 || index >= static_cast<int>(beat_.styles().size()))
        return;
    beat_.chooseStyle(index);
    const MidiBeat::BeatStyle& style = beat_.styles()[index];
    lblBeat->setText(style.Name);
    RateBase = style.Interval;
    tmrBeat.setInterval(style.Interval);
}

void frmPiano::tmrBeat_Timer() { beat_.tmrBeat_Timer(keys_.KeyVelocity); }

// ---- sliders ----

void frmPiano::lblVolume_MouseDown(double xTwips)
{
    VolumeDragging = true;
    lblVolume_MouseMove(xTwips);
}

void frmPiano::lblVolume_MouseMove(double xTwips)
{
    if (!VolumeDragging)
        return;
    const double x = SliderMath::knobOffset(SliderMath::VolumeTrack, xTwips);
    lblVolumePtr->move(px(SliderMath::VolumeTrack.start + x), lblVolumePtr->y());
    keys_.KeyVelocity = SliderMath::velocityAt(x);
}

void frmPiano::lblVolume_MouseUp() { VolumeDragging = false; }

void frmPiano::lblRate_MouseDown(double yTwips)
{
    RateDragging = true;
    lblRate_MouseMove(yTwips);
}

void frmPiano::lblRate_MouseMove(double yTwips)
{
    if (!RateDragging)
        return;
    const double y = SliderMath::knobOffset(SliderMath::RateTrack, yTwips);
    lblRatePtr->move(lblRatePtr->x(), px(SliderMath::RateTrack.start + y));
    tmrBeat.setInterval(SliderMath::intervalAt(y, RateBase));
}

void frmPiano::lblRate_MouseUp() { RateDragging = false; }

// ---- instruments, banks, pads, device ----

void frmPiano::mnuPiano_Click(int index)
{
    if (index < 0 || index >= InstrumentNames::ProgramCount)
        return;
    CurrentInstrument = index;
    if (!PianoMenuTag.isEmpty())
        Banks[PianoMenuTag.toInt()] = index;
    midi_.SendProgram(VBMIDI::KeyboardChannel, index);
    QString name = mnuPiano[index]->text();
    lblInstrument->setText(name.replace(QStringLiteral("&&"), QStringLiteral("&")));
}

void frmPiano::lblBank_MouseDown(int index, Qt::MouseButton button)
{
    lblBank[index]->setBackColour(Yellow);
    if (button == Qt::RightButton) {
        PianoMenuTag = QString::number(index);
        popUp(0);
        PianoMenuTag.clear();
        lblBank[index]->setBackColour(Grey);
    } else {
        mnuPiano_Click(Banks[index]);
    }
}

void frmPiano::lblBank_MouseUp(int index) { lblBank[index]->setBackColour(Grey); }

void frmPiano::lblDrums_Click(int index)
{
    SelectedPad = index;
    popUp(1);
}

void frmPiano::mnuDrum_Click(int index)
{
    if (index >= 0 && index < InstrumentNames::DrumCount)
        keys_.DrumNotes[SelectedPad] = index + InstrumentNames::FirstDrumKey;
}

void frmPiano::mnuDevice_Click(int index)
{
    midi_.CloseMidiOut();
    midi_.setPortDevice(index);
    midi_.OpenMidiOut();
    mnuPiano_Click(CurrentInstrument);
}

void frmPiano::lblExit_Click() { close(); }

void frmPiano::popUp(int entry) { mnuMain[entry]->exec(QCursor::pos()); }

// ---- drawing and dragging ----

QRect frmPiano::keyRect(int index) const
{
    int white = 0;
    for (int i = 0; i < index; ++i)
        if (!KeyTables::isBlackKey(i))
            ++white;
    if (KeyTables::isBlackKey(index))
        return twipRect(whiteKeyLeft(white - 1) + 120, KeyTop, KeyWidth, BlackKeyHeight);
    return twipRect(whiteKeyLeft(white), KeyTop, KeyWidth, WhiteKeyHeight);
}

QRect frmPiano::padRect(int pad) const
{
    const double lefts[] = {2273, 2393, 2513};
    const double tops[] = {161, 281, 401, 521};
    return twipRect(lefts[pad % 3], tops[pad / 3], PadSize, PadSize);
}

void frmPiano::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, background_);

    // White keys first: the black ones lie on top of them.
    for (bool black : {false, true}) {
        for (int i = 0; i < 36; ++i) {
            if (KeyTables::isBlackKey(i) != black)
                continue;
            const QRect r = keyRect(i);
            p.fillRect(r, keyColours_[i]);
            p.setPen(Grey);
            p.drawRect(r.adjusted(0, 0, -1, -1));
        }
    }

    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(70, 70, 70), 1));
    for (int pad = 0; pad < 12; ++pad) {
        p.setBrush(padColours_[pad]);
        p.drawEllipse(QRectF(padRect(pad)).adjusted(0.5, 0.5, -0.5, -0.5));
    }

    if (recorder_.isRecording()) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(230, 0, 0));
        p.drawEllipse(QRectF(recordingDotRect()));
    }
}

void frmPiano::mousePressEvent(QMouseEvent* event)
{
    // The background (and the keys drawn on it) moves the window.
    platform::chrome::startWindowDrag(this, event->globalPosition().toPoint());
}
