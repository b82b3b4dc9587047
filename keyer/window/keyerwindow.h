// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/fistsession.h"

#include <QWidget>

class BandDialog;
class FistTimeline;
class KeyAdapter;
class KeyArea;
class KeyInput;
class Keyer;
class Player;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;
class ReviewList;
class SpokenNotice;

// The keyer's small window: the state of the line, the mode, speed and pause
// as the trainer set them, the trainee's own speed and dashes as keyed, the
// band the groups are played through (a preset, or every setting in its
// dialog, window/banddialog.*), the key, the sidetone's pitch and volume,
// and a review of the last echo groups keyed back: what was keyed wrong and
// how it was timed, the last group's presses drawn against the ideal, to be
// heard again; once a group has been timed, the trainee's keying is the
// session's timing, to be saved as CSV. It shows no group before it is
// keyed: in a copy run the trainee must only hear it.
//
// It opens at the top right of the screen, beside the trainer's window
// rather than over it, and comes to the front with the keyboard when an echo
// run starts, since the trainee keys here. Until a key reaches it, it says
// what to do where the window manager keeps the keyboard elsewhere.
class KeyerWindow : public QWidget
{
    Q_OBJECT

public:
    KeyerWindow(Keyer &keyer, Player &player, KeyInput &keys, const QString &device, QWidget *parent = nullptr);
    ~KeyerWindow() override;

    // Adds a row that shows which adapter keys and the live state of its
    // lines, for a trainee wiring a key.
    void showKeyAdapter(const KeyAdapter &adapter);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void showState();
    void showFist();
    void showSound();
    void takeKeyboard();
    void showKeyboardHint();
    void keyedHere();
    void reviewed(const GroupReview &review);
    void playBack();
    void saveTiming();
    void showBand();
    void showPlays();
    void choosePreset(int index);
    void openBandSettings();

    Keyer &m_keyer;
    Player &m_player;
    KeyInput &m_keys;
    QString m_device;
    QLabel *m_line;
    QLabel *m_mode;
    QLabel *m_speed;
    QLabel *m_pause;
    QLabel *m_fist;
    QComboBox *m_band;
    QPushButton *m_bandSettings;
    QLabel *m_bandCaption;
    QLabel *m_plays;
    SpokenNotice *m_bandNotice; // says the band chosen
    BandDialog *m_bandDialog = nullptr; // made when first opened
    QLabel *m_keyboardHint;
    bool m_keyLit = false; // the trainee's key sounds
    bool m_keyedHere = false; // a key has reached this window since it last lost the keyboard
    const KeyAdapter *m_adapter = nullptr; // a key on a serial adapter, if there is one
    ReviewList *m_reviews;
    FistTimeline *m_timeline;
    QPushButton *m_playBack;
    QPushButton *m_saveTiming;
    FistSession m_fistSession;
    GroupReview m_lastTimed; // the newest group keyed back with its timing
    double m_lastTimedDotMs = 0;
    KeyArea *m_key;
    QSpinBox *m_tone;
    QSlider *m_volume;
    QLabel *m_sound;
};
