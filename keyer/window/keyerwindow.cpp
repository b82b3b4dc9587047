// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/keyerwindow.h"

#include "common/spokennotice.h"
#include "core/monotonicclock.h"
#include "core/morseplan.h"
#include "dialogue/keyer.h"
#include "keys/eventstamp.h"
#include "keys/keyadapter.h"
#include "keys/keyinput.h"
#include "sound/player.h"
#include "window/banddialog.h"
#include "window/bandwords.h"
#include "window/fisttimeline.h"
#include "window/fistwords.h"
#include "window/keyarea.h"
#include "window/reviewlist.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int reviewBoxHeight = 10; // lines of text: two long reviews, or four right ones
constexpr int spareKeyHeight = 60; // pixels the key area can give to wrapped texts

} // namespace

KeyerWindow::KeyerWindow(Keyer &keyer, Player &player, KeyInput &keys, const QString &device, QWidget *parent)
    : QWidget(parent)
    , m_keyer(keyer)
    , m_player(player)
    , m_keys(keys)
    , m_device(device)
    , m_line(new QLabel(this))
    , m_mode(new QLabel(this))
    , m_speed(new QLabel(this))
    , m_pause(new QLabel(this))
    , m_fist(new QLabel(tr("nothing keyed yet"), this))
    , m_band(new QComboBox(this))
    , m_bandSettings(new QPushButton(tr("Se&ttings..."), this))
    , m_bandCaption(new QLabel(tr("&Band:"), this))
    , m_plays(new QLabel(this))
    , m_bandNotice(new SpokenNotice(this))
    , m_keyboardHint(new QLabel(tr("Key the groups back in this window. If the key area does not light up when you "
                                   "press the space bar, click this window once."),
                                this))
    , m_reviews(new ReviewList(this))
    , m_timeline(new FistTimeline(this))
    , m_playBack(new QPushButton(tr("&Play back"), this))
    , m_saveTiming(new QPushButton(tr("&Save timing..."), this))
    , m_key(new KeyArea(this))
    , m_tone(new QSpinBox(this))
    , m_volume(new QSlider(Qt::Horizontal, this))
    , m_sound(new QLabel(this))
{
    setWindowTitle(tr("Vestranoli keyer"));
    m_line->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_tone->setRange(200, 2000);
    m_tone->setSingleStep(10);
    m_tone->setSuffix(tr(" Hz"));
    m_tone->setValue(int(player.frequency()));
    m_volume->setRange(0, 100);
    m_volume->setValue(int(player.volume() * 100));

    auto *form = new QFormLayout;
    form->addRow(tr("Line:"), m_line);
    // The mode takes two lines whatever it says, so that a long one neither
    // moves the rows below nor is cut; its caption stands at its first line.
    auto *modeCaption = new QLabel(tr("Mode:"), this);
    const int accents
        = qMax(0, -fontMetrics().tightBoundingRect(QStringLiteral("ÁÉÖÜ")).top() - fontMetrics().ascent());
    for (QLabel *twoLines : {modeCaption, m_mode}) {
        twoLines->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        twoLines->setMinimumHeight(2 * fontMetrics().lineSpacing() + accents);
    }
    form->addRow(modeCaption, m_mode);
    form->addRow(tr("Speed:"), m_speed);
    form->addRow(tr("Pause:"), m_pause);
    form->addRow(tr("Your keying:"), m_fist);
    // The band in one row: a preset, its settings, and what plays.
    for (const QString &preset : bandPresetNames())
        m_band->addItem(BandWords::presetTitle(preset), preset);
    m_band->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto *bandRow = new QHBoxLayout;
    bandRow->addWidget(m_band);
    bandRow->addWidget(m_bandSettings);
    bandRow->addWidget(m_plays, 1);
    m_bandCaption->setBuddy(m_band);
    form->addRow(m_bandCaption, bandRow);
    form->addRow(tr("Tone:"), m_tone);
    form->addRow(tr("Volume:"), m_volume);
    form->addRow(tr("Sound:"), m_sound);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_key, 1);
    auto *keysLegend = new QLabel(tr("Space bar, or the mouse on the key: straight key\n"
                                     "Left Ctrl or [: dot paddle; right Ctrl or ]: dash paddle\n"
                                     ". and -: a dot and a dash"),
                                  this);
    // Beside the legend, where they take no height of their own.
    auto *legendRow = new QHBoxLayout;
    legendRow->addWidget(keysLegend, 1);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_playBack);
    buttons->addWidget(m_saveTiming);
    legendRow->addLayout(buttons);
    layout->addLayout(legendRow);
    m_keyboardHint->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold"));
    m_keyboardHint->hide();
    layout->addWidget(m_keyboardHint);
    // The reviews scroll in a box of their own, the newest at its top: five
    // long ones would otherwise push the window past the screen's bottom.
    m_reviews->setFixedHeight(reviewBoxHeight * fontMetrics().lineSpacing());
    layout->addWidget(m_reviews);
    layout->addWidget(m_timeline);
    m_playBack->setToolTip(
        tr("Plays the last group as you keyed it, then as it should sound at your speed, when no group sounds"));
    m_band->setObjectName(QStringLiteral("band"));
    m_bandSettings->setObjectName(QStringLiteral("bandSettings"));
    m_playBack->setObjectName(QStringLiteral("playBack"));
    m_playBack->setEnabled(false);
    m_saveTiming->setToolTip(tr("Saves the timing of every group keyed back, a row each, as CSV"));
    m_saveTiming->setObjectName(QStringLiteral("saveTiming"));
    m_saveTiming->setEnabled(false);
    // The dots of "Ö" and "Ü" rise above the font's ascent, where a label
    // one line high would cut them: room for them on top of every label.
    for (QLabel *label : findChildren<QLabel *>())
        label->setContentsMargins(0, accents, 0, 0);
    // Long texts wrap rather than widen the window past the screen's edge.
    for (QLabel *wrapped : {m_line, m_mode, m_speed, m_pause, m_fist, m_plays, m_sound, m_keyboardHint}) {
        wrapped->setWordWrap(true);
        wrapped->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }

    connect(&keyer, &Keyer::stateChanged, this, &KeyerWindow::showState);
    connect(&keyer, &Keyer::echoRunStarted, this, &KeyerWindow::takeKeyboard);
    connect(&keyer, &Keyer::groupReviewed, this, &KeyerWindow::reviewed);
    connect(&keyer, &Keyer::bandChanged, this, &KeyerWindow::showBand);
    connect(m_band, &QComboBox::activated, this, &KeyerWindow::choosePreset);
    connect(m_bandSettings, &QPushButton::clicked, this, &KeyerWindow::openBandSettings);
    connect(m_playBack, &QPushButton::clicked, this, &KeyerWindow::playBack);
    connect(m_saveTiming, &QPushButton::clicked, this, &KeyerWindow::saveTiming);
    connect(&player, &Player::soundStateChanged, this, &KeyerWindow::showSound);
    connect(m_tone, &QSpinBox::valueChanged, this, [this](int hz) { m_player.setFrequency(hz); });
    connect(m_volume, &QSlider::valueChanged, this, [this](int v) { m_player.setVolume(v / 100.0); });
    connect(m_key, &KeyArea::pressed, &keys, [&keys](qint64 atNs) { keys.straightKeyAt(true, atNs); });
    connect(m_key, &KeyArea::pressed, this, &KeyerWindow::keyedHere);
    connect(m_key, &KeyArea::released, &keys, [&keys](qint64 atNs) { keys.straightKeyAt(false, atNs); });
    connect(&keys, &KeyInput::keyed, m_key, &KeyArea::setLit);
    connect(&keys, &KeyInput::keyed, this, [this](bool down) {
        m_keyLit = down;
        showSound();
    });
    // The classifier's view changes with each character; once a group has
    // been timed, the session's changes with each review alone.
    connect(&keys, &KeyInput::report, this, [this](char letter) {
        if (letter == 'V' && m_fistSession.groups() == 0)
            showFist();
    });

    // Names for a screen reader. The lines above are read as shown, each
    // value after its caption.
    m_tone->setAccessibleName(tr("Tone"));
    m_volume->setAccessibleName(tr("Volume"));
    m_key->setAccessibleName(tr("Key"));
    m_band->setAccessibleName(tr("Band"));
    m_bandSettings->setAccessibleName(tr("Band settings"));
    m_bandSettings->setToolTip(tr("Every setting of the band: noise, filter, fading, crashes, other stations, a "
                                  "hand's fist"));
    // Tab goes down the window: the band, tone, volume, the key, the
    // reviews.
    setTabOrder(m_band, m_bandSettings);
    setTabOrder(m_bandSettings, m_tone);
    setTabOrder(m_tone, m_volume);
    setTabOrder(m_volume, m_key);
    setTabOrder(m_key, m_reviews);
    setTabOrder(m_reviews, m_playBack);
    setTabOrder(m_playBack, m_saveTiming);

    // The keys work wherever the focus is in this window.
    qApp->installEventFilter(this);
    m_key->setFocus();
    showState();
    showSound();

    // The window keeps the size it opens with, whatever it shows: the key
    // area gives up its spare height to a text that wraps or to the hint,
    // and the trainee may make the window larger but not smaller.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    // What plays is measured as the clean band's line, whatever the band at
    // start: a longer text is cut to the room it has (showPlays).
    m_keyboardHint->show();
    m_plays->setText(BandWords(locale()).plays(BandConditions{}));
    const int openWidth = qMax(sizeHint().width(), 480);
    const int openHeight = layout->totalHeightForWidth(openWidth) + spareKeyHeight;
    m_keyboardHint->hide();
    showBand();
    setMinimumSize(openWidth, openHeight);
    resize(minimumSize());
    // The top right corner, leaving room for a window frame: a window
    // manager that centres new windows would put the trainer's over this one.
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect free = screen->availableGeometry();
        move(free.right() - width() - 12, free.top());
    }
}

KeyerWindow::~KeyerWindow()
{
    qApp->removeEventFilter(this);
}

void KeyerWindow::showState()
{
    if (m_keyer.connected())
        m_line->setText(tr("%1, trainer connected").arg(m_device));
    else if (m_keyer.lineOpen())
        m_line->setText(tr("%1, open; waiting for the trainer's answer").arg(m_device));
    else
        m_line->setText(tr("%1, waiting for the trainer").arg(m_device));
    switch (m_keyer.mode()) {
    case Keyer::Mode::None:
        m_mode->setText(tr("no run yet"));
        break;
    case Keyer::Mode::Copy:
        m_mode->setText(m_keyer.copyRunOver() ? tr("copy: the run is over") : tr("copy: listen and write down"));
        break;
    case Keyer::Mode::Echo:
        m_mode->setText(m_keyer.groupSounding()  ? tr("echo: listen to the group")
                        : m_keyer.countingKeys() ? tr("echo: key the group back")
                                                 : tr("echo: the next group comes after a breath"));
        break;
    }
    if (m_keyer.characterSpeed() > m_keyer.speed()) {
        m_speed->setText(tr("characters at %1, groups at %2 letters per minute (Farnsworth; dot %3 ms)")
                             .arg(m_keyer.characterSpeed())
                             .arg(m_keyer.speed())
                             .arg(dotMilliseconds(m_keyer.characterSpeed()), 0, 'f', 0));
    } else {
        m_speed->setText(tr("%1 letters per minute (dot %2 ms)")
                             .arg(m_keyer.speed())
                             .arg(dotMilliseconds(m_keyer.speed()), 0, 'f', 0));
    }
    if (m_keyer.unusedCharacterSpeed() > 0)
        m_speed->setText(m_speed->text()
                         + tr("; characters at %1 asked for: below it, not used").arg(m_keyer.unusedCharacterSpeed()));
    m_pause->setText(tr("%1 s after each group").arg(locale().toString(m_keyer.pause() / 100.0, 'f', 2)));
    m_key->setStateText(m_mode->text());
    showKeyboardHint();
    showSound();
}

void KeyerWindow::showBand()
{
    const BandConditions &band = m_keyer.band();
    const QString preset = bandPresetName(band);
    // "custom" is there only while the band is no preset.
    const int custom = m_band->findData(QString());
    if (preset.isEmpty() && custom < 0)
        m_band->addItem(BandWords::presetTitle(QString()), QString());
    else if (!preset.isEmpty() && custom >= 0)
        m_band->removeItem(custom);
    m_band->setCurrentIndex(m_band->findData(preset));
    const QString plays = BandWords(locale()).plays(band);
    m_plays->setToolTip(plays);
    showPlays();
    // Qt 6.4 gives Orca no value for a combo box, which Orca names by its
    // label: the label's name carries the band chosen, the combo box's
    // description what plays, and a change is said.
    if (!m_bandCaption->accessibleName().isEmpty())
        m_bandNotice->say(plays);
    m_bandCaption->setAccessibleName(tr("Band: %1").arg(m_band->currentText()));
    m_band->setAccessibleDescription(plays);
    if (m_bandDialog && m_bandDialog->band() != band)
        m_bandDialog->setBand(band);
}

void KeyerWindow::showPlays()
{
    // Two lines beside the band's controls at most, cut at a word: the
    // window keeps its height. The whole is in the tool tip.
    const QString plays = m_plays->toolTip();
    const QFontMetrics metrics = m_plays->fontMetrics();
    const auto fits = [&](const QString &text) {
        const QRect room(0, 0, m_plays->contentsRect().width(), 2 * metrics.lineSpacing());
        return metrics.boundingRect(room.adjusted(0, 0, 0, 1000), Qt::TextWordWrap, text).height() <= room.height();
    };
    QString shown = plays;
    for (qsizetype cut = plays.size(); !fits(shown) && (cut = plays.lastIndexOf(QLatin1Char(' '), cut - 1)) > 0;)
        shown = plays.left(cut).chopped(plays.at(cut - 1) == QLatin1Char(',') ? 1 : 0) + QChar(0x2026);
    m_plays->setText(shown);
}

void KeyerWindow::choosePreset(int index)
{
    // "custom" is what plays already.
    if (const std::optional<BandConditions> band = bandPreset(m_band->itemData(index).toString()))
        m_keyer.setBand(*band);
}

void KeyerWindow::openBandSettings()
{
    if (!m_bandDialog) {
        m_bandDialog = new BandDialog(this);
        m_bandDialog->setBand(m_keyer.band());
        connect(m_bandDialog, &BandDialog::bandEdited, &m_keyer, &Keyer::setBand);
    }
    m_bandDialog->show();
    m_bandDialog->raise();
    m_bandDialog->activateWindow();
}

void KeyerWindow::showSound()
{
    switch (m_player.soundState()) {
    case SoundState::Playing:
        // The output runs between tones too: "playing" is for a tone heard.
        m_sound->setText(m_keyer.groupSounding() || m_keyLit ? tr("playing") : tr("ready"));
        break;
    case SoundState::Resting:
        m_sound->setText(tr("resting; ready again at the next key or group"));
        break;
    case SoundState::Silent:
        m_sound->setText(tr("no sound output: playing silently, looking for it again"));
        break;
    }
}

void KeyerWindow::takeKeyboard()
{
    m_keyedHere = false;
    show();
    raise();
    activateWindow();
    m_key->setFocus();
    // Where the window manager does not hand the keyboard over, the task bar
    // at least shows the window wants attention.
    QApplication::alert(this);
}

void KeyerWindow::showKeyboardHint()
{
    // Only a key that reaches this window shows it has the keyboard: where
    // the window manager refuses to hand the keyboard over (GNOME's mutter,
    // KWin), Qt 6.4 still takes this window for the active one.
    // A key on an adapter needs no keyboard.
    const bool adapterKeys = m_adapter && m_adapter->isOpen();
    m_keyboardHint->setVisible(m_keyer.mode() == Keyer::Mode::Echo && !adapterKeys
                               && (!m_keyedHere || !isActiveWindow()));
}

void KeyerWindow::keyedHere()
{
    if (!m_keyedHere) {
        m_keyedHere = true;
        showKeyboardHint();
    }
}

void KeyerWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange) {
        showKeyboardHint();
        // With the keyboard here the trainee may key at any moment.
        m_player.setKeepReady(isActiveWindow());
    }
    QWidget::changeEvent(event);
}

void KeyerWindow::showFist()
{
    // What the classifier has learnt, until a group has been timed.
    if (m_fistSession.groups() > 0) {
        m_fist->setText(FistWords(locale()).session(m_fistSession));
        return;
    }
    const KeyingClassifier &fist = m_keys.classifier();
    m_fist->setText(tr("%1 letters per minute, dash %2 dots")
                        .arg(qRound(fist.lettersPerMinute()))
                        .arg(locale().toString(fist.dashRatio(), 'f', 1)));
}

void KeyerWindow::reviewed(const GroupReview &review)
{
    const std::optional<FistTiming> timing = measureFist(review, m_keyer.speed());
    m_reviews->addReview(review, timing);
    if (!timing)
        return;
    m_fistSession.add(review, *timing);
    const FistWords words(locale());
    showFist();
    m_lastTimed = review;
    m_lastTimedDotMs = dotMilliseconds(1) / timing->lettersPerMinute.keyed;
    const QList<KeyedMark> keyed = countedMarks(review);
    m_timeline->setGroup(keyed, idealMarks(countedCharacters(review), m_lastTimedDotMs, keyed.first().from),
                         (QStringList{words.measures(*timing)} + words.faults(*timing)).join(QLatin1String("; ")));
    // Both stay in the Tab order from now on; a play back asked for while a
    // group sounds is not played over it.
    m_playBack->setEnabled(true);
    m_saveTiming->setEnabled(true);
}

void KeyerWindow::playBack()
{
    m_keyer.playBack(playBackSegments(m_lastTimed, m_lastTimedDotMs, m_player.sampleRate() / 1000.0));
}

void KeyerWindow::saveTiming()
{
    const QString path = QFileDialog::getSaveFileName(this, tr("Save the timing"),
                                                      QDir::home().filePath(QStringLiteral("vestranoli-timing.csv")),
                                                      tr("CSV files (*.csv)"));
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    const QByteArray csv = m_fistSession.csv().toUtf8();
    showFist();
    if (file.open(QIODevice::WriteOnly) && file.write(csv) == csv.size() && file.commit())
        m_fist->setText(m_fist->text() + tr("; saved to %1").arg(QDir::toNativeSeparators(path)));
    else
        m_fist->setText(m_fist->text()
                        + tr("; could not save %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
}

void KeyerWindow::showKeyAdapter(const KeyAdapter &adapter)
{
    const KeyLineMap &map = adapter.map();
    QString keys
        = map.paddles
              ? tr("dot paddle on %1, dash paddle on %2").arg(modemLineName(map.straightOrDot), modemLineName(map.dash))
              : tr("straight key on %1").arg(modemLineName(map.straightOrDot));
    if (map.invert)
        keys += tr(" (inverted)");
    auto *which = new QLabel(tr("%1, %2").arg(adapter.device(), keys), this);
    auto *lines = new QLabel(this);
    auto *form = findChild<QFormLayout *>();
    form->insertRow(form->rowCount() - 2, tr("Key adapter:"), which);
    form->insertRow(form->rowCount() - 2, tr("Its lines:"), lines);
    for (QLabel *label : {which, lines}) {
        label->setWordWrap(true);
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }
    const auto showLines = [lines, &adapter] {
        QStringList states;
        for (ModemLine line : {Cts, Dsr, Dcd, Ri})
            states << (adapter.lines() & line ? tr("%1 on") : tr("%1 off")).arg(modemLineName(line));
        lines->setText(adapter.isOpen() ? states.join(QLatin1String(", "))
                                        : tr("not connected; keying with the keyboard"));
    };
    connect(&adapter, &KeyAdapter::changed, lines, showLines);
    connect(&adapter, &KeyAdapter::changed, this, &KeyerWindow::showKeyboardHint);
    m_adapter = &adapter;
    showLines();
    showKeyboardHint();
    // Taller for the two rows; as wide as placed.
    setMinimumHeight(minimumHeight() + 2 * which->sizeHint().height());
    resize(width(), minimumHeight());
}

namespace {

// The right Ctrl key, told from the left one by what the platform sends:
// X11's key symbol or key code, or Windows' extended scan code.
bool isRightControl(const QKeyEvent *key)
{
    return key->nativeVirtualKey() == 0xffe4 || key->nativeScanCode() == 105 || key->nativeScanCode() == 0x11d;
}

} // namespace

bool KeyerWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_plays && event->type() == QEvent::Resize)
        showPlays();
    if (watched == this && event->type() == QEvent::WindowDeactivate) {
        m_keyedHere = false;
        // The key-up would go to another window: let go of every key now.
        m_keys.straightUp();
        m_keys.paddleUp(KeyInput::Paddle::Dot);
        m_keys.paddleUp(KeyInput::Paddle::Dash);
        return false;
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != this)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    const bool down = event->type() == QEvent::KeyPress;
    const qint64 atNs = eventStamp(key->timestamp(), monotonicNs());
    keyedHere();
    // The space bar is the key: a button is pressed with Enter here.
    auto *button = qobject_cast<QPushButton *>(widget);
    if (button && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        if (down && !key->isAutoRepeat())
            button->click();
        return true;
    }
    if (key->key() == Qt::Key_Space) {
        if (!key->isAutoRepeat())
            m_keys.straightKeyAt(down, atNs);
        return true;
    }
    // Left Ctrl and "[" are the dot paddle, right Ctrl and "]" the dash
    // paddle; "." and "-" key their element as the paddles do.
    KeyInput::Paddle paddle;
    switch (key->key()) {
    case Qt::Key_Control:
        paddle = isRightControl(key) ? KeyInput::Paddle::Dash : KeyInput::Paddle::Dot;
        break;
    case Qt::Key_BracketLeft:
    case Qt::Key_Period:
        paddle = KeyInput::Paddle::Dot;
        break;
    case Qt::Key_BracketRight:
    case Qt::Key_Minus:
        paddle = KeyInput::Paddle::Dash;
        break;
    default:
        return false;
    }
    if (!key->isAutoRepeat())
        m_keys.paddleAt(paddle, down, atNs);
    return true;
}
