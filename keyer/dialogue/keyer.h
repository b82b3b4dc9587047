// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The software keyer, as a frame and a key press travel through it. Each
// folder is a library (keyer/CMakeLists.txt); the threads are named where
// they meet.
//
// A frame from the trainer, on the main thread:
//   PtyLine (line/ptyline.*)       the master side of the pseudo-terminal the
//                                  trainer opens as its serial port; reads it
//   -> Keyer::received             FrameReader (common/framereader.*) cuts the
//                                  bytes into frames
//   -> Keyer::handle               speed, pause, start frames (which drop the
//                                  last run), the w frame; a group is queued
//   -> Keyer::playNext             groupSegments (core/morseplan.*) plans the
//                                  group's tones in samples
//   -> Player::append              (sound/player.*) into the SoundExchange
//                                  (sound/soundexchange.h), where the main
//                                  thread meets the sound thread without a
//                                  lock; the sound thread (sound/soundthread.*)
//                                  renders them (core/sidetone.*) to the sound
//                                  server (sound/soundoutput.*: PulseAudio or
//                                  PipeWire) and to --wav (core/wavwriter.*)
//   -> Player::at                  once those samples have been played, back
//                                  on the main thread: the copy group's "OK"
//                                  goes back through ReportQueue
//                                  (line/reportqueue.*), one text a read
//
// A key press (each thread it passes asks for a short time slice,
// keys/quickwake.*, so that a busy machine lets each run as soon as the press
// wakes it):
//   the space bar, the Ctrl        Qt's X connection thread hands the event to
//   paddles, "[" "]" "." "-", or   the main thread: KeyerWindow's eventFilter
//   the mouse on the key area      (window/keyerwindow.*) or KeyArea
//                                  (window/keyarea.*) calls KeyInput,
//                                  stamped as handled
//   a key on a serial adapter      the reader thread of ModemLines
//                                  (keys/modemlines.*) stamps each change of
//                                  the lines (ns, monotonic); KeyAdapter
//                                  (keys/keyadapter.*) confirms it there
//                                  against bounce (core/keylines.*), gives a
//                                  straight key's edges from that thread to
//                                  the sound thread (Player::directKey), and
//                                  queues every edge to the main thread
//   -> KeyInput (keys/keyinput.*)  on the main thread: times it in ms on its
//                                  own clock for the classifier, and keeps the
//                                  stamp (ns) for the sidetone; the paddles
//                                  through IambicKeyer (core/iambic.*)
//   -> KeyInput::sounds            Keyer gives Player::setKey the stamp: a key
//                                  command into the SoundExchange, then
//                                  SoundThread::wake; the sound thread takes
//                                  the key at the sample of its moment and
//                                  writes what changed to the server, whose
//                                  own thread plays it (PipeWire's data thread
//                                  takes it from a ring, sound/pipewireoutput.*)
//   -> Keyer::keyed                puts off the give-up and the next group;
//                                  the window lights its key area
//   -> KeyingClassifier            (core/keyingclassifier.*) learns the fist
//                                  and turns what sounded into 'R', 'H', 'V',
//                                  each element with its press
//   -> Keyer::keyedReport          counted for the echo group, sent back
//                                  through ReportQueue, reviewed
//                                  (core/groupreview.*), timed
//                                  (core/fisttiming.*, core/fistsession.*)
//                                  and shown in the window
//                                  (window/keyerwindow.*, window/reviewlist.*,
//                                  window/fisttimeline.*)
//
// Keyer works on two small interfaces, KeyerLine (line/keyerline.h) and
// Schedule (sound/schedule.h), so that a test drives the dialogue without a
// pseudo-terminal or a sound thread. The texts on the line are in
// common/frames.h.

#include "common/framereader.h"
#include "common/reportproblem.h"
#include "core/groupreview.h"
#include "core/morseplan.h"
#include "dialogue/options.h"

#include <QObject>
#include <QQueue>
#include <QRandomGenerator>
#include <QString>
#include <QTimer>

#include <functional>

class KeyInput;
class Schedule;
class KeyerLine;
class ReportQueue;

// The keyer's side of the dialogue with the trainer.
//
// Until the trainer answers with <qq>, the keyer announces itself with "x"
// once a second, and again whenever the trainer has closed the line: the
// next trainer to open it knows nothing of the last one's run.
//
// Then it takes the trainer's frames: speed and pause frames set how it
// plays, the start frames choose the mode (<r> copy, <s> echo) and drop
// what is left of the last run, and the w frame ends an echo run. Each group
// frame is played in its turn:
//
//   copy: the group, the pause, then "OK" and CR LF;
//   echo: the group, then nothing: the trainee keys it back (or, with
//         auto-echo, the keyer itself does), each element reported as "R" or
//         "H" and each character end as "V". The trainer sends the next
//         group when it has decoded the whole group.
//
// The next echo group waits for a breath: until the trainee has been silent
// for a word gap at their own pace, or the pause if that is longer. A
// character keyed after a group is complete and before the next one sounds
// belongs to no group: it is not reported (the trainer would count it into
// the next group), only shown in the review of the group before.
//
// A trainee who stops keying in the middle of an echo group would leave the
// trainer waiting for the rest of it for good. So the keyer counts the
// character ends as the trainer does, and after a word gap of the trainee's
// own silence (and at least 1.5 s) it sends the missing ones itself:
// each decodes to "#", the group counts as wrong, and the run goes on.
class Keyer : public QObject
{
    Q_OBJECT

public:
    enum class Mode { None, Copy, Echo };

    Keyer(const KeyerOptions &options, KeyerLine &line, Schedule &player, KeyInput &keys, QObject *parent = nullptr);

    void start();

    bool connected() const { return m_connected; }
    bool lineOpen() const;
    Mode mode() const { return m_mode; }
    int speed() const { return m_speed; }
    // What characters are played at: --char-speed when above the trainer's
    // speed (the gaps then stretched), else the trainer's speed.
    int characterSpeed() const { return qMax(m_options.charSpeed, m_speed); }
    int pause() const { return m_pause; }
    // A group sounds; keyed characters count for the echo group that sounds
    // or has sounded (false once it is complete, until the next one sounds).
    bool groupSounding() const { return m_playing; }
    bool countingKeys() const { return m_counting; }
    // A copy run's last group has played: the trainer sent no next one.
    bool copyRunOver() const { return m_copyRunOver; }
    // The --char-speed asked for, when it is below the trainer's speed and
    // so goes unused; 0 otherwise.
    int unusedCharacterSpeed() const
    {
        return m_options.charSpeed > 0 && m_options.charSpeed < m_speed ? m_options.charSpeed : 0;
    }

    // Plays what a trainee asked to hear again, when no echo group sounds;
    // the next group waits until it has played.
    bool canPlayBack() const;
    void playBack(const std::vector<ToneSegment> &segments);
    bool playingBack() const { return m_playingBack; }

    // What the groups are played through from the next one on: noise,
    // fading, crashes, other stations, a hand's fist.
    const BandConditions &band() const { return m_options.band; }
    void setBand(const BandConditions &band);

signals:
    void stateChanged();
    void bandChanged();
    // An echo run began: the trainee keys next.
    void echoRunStarted();
    // What was keyed back for an echo group: when the group is complete, and
    // again for each character keyed after it.
    void groupReviewed(const GroupReview &review);

private:
    void received(const QByteArray &bytes);
    void handle(const Frame &frame);
    void announce();
    void trainerGone();
    void playNext();
    void groupPlayed(const QString &group, Mode mode);
    void keyBack(const QString &group);
    void keyed(bool down);
    void keyedReport(char letter, const KeyedMark &mark);
    void characterSent();
    void forgetKeying();
    void dropRun();
    void inThisRun(qint64 position, std::function<void()> action);
    double breathMs() const;
    void armGiveUp();
    void giveUp();
    double dotSamples() const;
    // A played character's dot, and the gaps around it (Farnsworth's when
    // the characters are faster than the trainer's speed).
    double characterDotSamples() const;
    Spacing spacing() const;

    struct Pending {
        QString group;
        Mode mode;
    };

    KeyerOptions m_options;
    KeyerLine &m_line;
    Schedule &m_player;
    KeyInput &m_keys;
    ReportQueue *m_reports;
    FrameReader m_reader;
    QTimer m_announce;
    QTimer m_giveUp;
    QTimer m_breath;
    QTimer m_copyRunEnd; // from a copy group's "OK" to the next group the trainer sends
    QRandomGenerator m_random;
    // What the line brings that makes no sense: five lines in 10 s at most.
    ProblemLimit m_complaints{5, 10000};

    bool m_connected = false;
    Mode m_mode = Mode::None;
    int m_speed;
    int m_pause;
    QQueue<Pending> m_groups;
    bool m_playing = false; // a group (or its keying back) is under way
    bool m_playingBack = false;
    // The trainer's count of the characters it has of the group keyed back,
    // and the letters per group, from the last group frame.
    int m_rxLetters = 0;
    int m_groupSize = 0;
    bool m_counting = false;
    bool m_copyRunOver = false;
    QString m_elements; // of the character being keyed
    QList<KeyedMark> m_marks; // its presses
    GroupReview m_review;
    // Counts the runs and trainers that have come and gone: what was timed
    // for one (an "OK", a report) is not sent in the next.
    int m_session = 0;
};
