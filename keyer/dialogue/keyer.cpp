// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogue/keyer.h"

#include "common/frames.h"
#include "common/reportproblem.h"
#include "core/autoecho.h"
#include "core/handsending.h"
#include "core/morseplan.h"
#include "keys/keyinput.h"
#include "line/keyerline.h"
#include "line/reportqueue.h"
#include "sound/schedule.h"

#include <QDateTime>

#include <cmath>
#include <utility>

namespace {

// Time between two texts to the trainer. The report queue also waits until
// the trainer has read the last text, but right after a write the
// pseudo-terminal has not passed it on yet and the line looks empty: with no
// spacing at all, reports keyed back in fast mode joined in every run tried.
// 2 ms was enough on an idle machine; 20 ms leaves room for a loaded one,
// where the pseudo-terminal can take well over 10 ms to pass a byte on. With
// a trainee at the key reports are a dot or more apart anyway.
constexpr int spacingMs = 20;

// The least silence after which the keyer ends a group the trainee left.
constexpr double giveUpMs = 1500;

// The trainer sends a group when the last one has been played: more than a
// few waiting are a line gone wrong, which would have them pile up.
constexpr int mostWaitingGroups = 16;

} // namespace

Keyer::Keyer(const KeyerOptions &options, KeyerLine &line, Schedule &player, KeyInput &keys, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_line(line)
    , m_player(player)
    , m_keys(keys)
    , m_reports(new ReportQueue(line, spacingMs, this))
    , m_random(quint32(QDateTime::currentMSecsSinceEpoch()))
    , m_speed(options.speed)
    , m_pause(options.pause)
{
    connect(&m_line, &KeyerLine::received, this, &Keyer::received);
    connect(&m_line, &KeyerLine::farEndOpened, this, &Keyer::stateChanged);
    connect(&m_line, &KeyerLine::farEndClosed, this, &Keyer::trainerGone);
    connect(&m_keys, &KeyInput::report, this, &Keyer::keyedReport);
    connect(&m_keys, &KeyInput::keyed, this, &Keyer::keyed);
    // The trainee hears the key at once, in a run or not.
    connect(&m_keys, &KeyInput::sounds, this, [this](bool down, qint64 atNs) { m_player.setKey(down, atNs); });
    m_giveUp.setSingleShot(true);
    connect(&m_giveUp, &QTimer::timeout, this, &Keyer::giveUp);
    m_breath.setSingleShot(true);
    connect(&m_breath, &QTimer::timeout, this, &Keyer::playNext);
    // The trainer answers an "OK" with the next group at once, if one is left.
    m_copyRunEnd.setSingleShot(true);
    m_copyRunEnd.setInterval(1000);
    connect(&m_copyRunEnd, &QTimer::timeout, this, [this] {
        m_copyRunOver = m_mode == Mode::Copy && m_groups.isEmpty() && !m_playing;
        emit stateChanged();
    });
    // In fast mode the trainer is waiting on the keyer, not a person: there
    // is no reason to keep it waiting a second.
    m_announce.setInterval(options.fast ? 100 : 1000);
    connect(&m_announce, &QTimer::timeout, this, &Keyer::announce);
    m_keys.setDotMs(dotMilliseconds(m_speed));
    m_player.setBand(m_options.band);
}

void Keyer::setBand(const BandConditions &band)
{
    if (band == m_options.band)
        return;
    m_options.band = band;
    m_player.setBand(band);
    emit bandChanged();
}

void Keyer::start()
{
    announce();
    m_announce.start();
}

void Keyer::announce()
{
    if (m_connected) {
        m_announce.stop();
        return;
    }
    // While nobody reads the line the "x" would only pile up there.
    if (m_line.unread() == 0 && m_reports->isEmpty())
        m_reports->send(KeyerText::hello);
}

bool Keyer::lineOpen() const
{
    return m_line.farEndOpen();
}

// Forgets the run under way: the group that sounds or waits, and whatever
// was timed for it (an "OK", a report, the give-up).
void Keyer::dropRun()
{
    ++m_session;
    m_groups.clear();
    m_playing = false;
    m_playingBack = false;
    m_reports->clear();
    m_giveUp.stop();
    m_breath.stop();
    m_copyRunEnd.stop();
    m_copyRunOver = false;
    m_rxLetters = 0;
    m_player.clearSchedule();
    forgetKeying();
}

void Keyer::trainerGone()
{
    dropRun();
    m_line.dropUnread();
    m_reader = FrameReader();
    m_mode = Mode::None;
    if (m_connected) {
        m_connected = false;
        reportNews(tr("the trainer closed the line; waiting for the next one"));
    }
    if (!m_announce.isActive()) {
        announce();
        m_announce.start();
    }
    emit stateChanged();
}

void Keyer::received(const QByteArray &bytes)
{
    for (const Frame &frame : m_reader.feed(bytes))
        handle(frame);
}

void Keyer::handle(const Frame &frame)
{
    switch (frame.kind) {
    case Frame::HandshakeReply:
        if (!m_connected) {
            m_connected = true;
            m_announce.stop();
            reportNews(tr("the trainer answered on %1").arg(m_line.devicePath()));
        }
        break;
    case Frame::Speed:
        if (frame.value == 0) {
            m_complaints.report(tr("ignored the speed 00"));
            break;
        }
        m_speed = frame.value;
        m_keys.setDotMs(dotMilliseconds(m_speed));
        break;
    case Frame::Pause:
        m_pause = frame.value;
        break;
    case Frame::CopyStart:
    case Frame::EchoStart:
        // The trainer has started anew: the group of its last run that sounds
        // or waits would be answered into the new run.
        m_mode = frame.kind == Frame::EchoStart ? Mode::Echo : Mode::Copy;
        dropRun();
        m_player.prepare(); // the sound, if it stood still, is ready by the first group
        if (m_mode == Mode::Echo)
            emit echoRunStarted();
        break;
    case Frame::W:
        // The letters per group changed or the defaults came back: the
        // trainer has left its echo run, and a half-keyed character is moot.
        if (m_mode == Mode::Echo)
            m_mode = Mode::Copy;
        forgetKeying();
        break;
    case Frame::Group:
        m_copyRunEnd.stop();
        m_copyRunOver = false;
        m_groupSize = int(frame.letters.size());
        if (m_groups.size() >= mostWaitingGroups) {
            m_complaints.report(tr("%1 groups wait to be played already; dropped the group \"%2\"")
                                    .arg(mostWaitingGroups)
                                    .arg(frame.letters));
            break;
        }
        m_groups.enqueue({frame.letters, m_mode});
        playNext();
        break;
    case Frame::Skipped:
        m_complaints.report(tr("skipped bytes that are no frame: \"%1\"").arg(printableBytes(frame.raw)));
        break;
    }
    emit stateChanged();
}

double Keyer::dotSamples() const
{
    return dotMilliseconds(m_speed) * m_player.sampleRate() / 1000.0;
}

double Keyer::characterDotSamples() const
{
    return dotMilliseconds(characterSpeed()) * m_player.sampleRate() / 1000.0;
}

Spacing Keyer::spacing() const
{
    return farnsworthSpacing(characterSpeed(), m_speed);
}

double Keyer::breathMs() const
{
    return qMax(m_keys.classifier().wordGapMs(), m_pause * 10.0);
}

void Keyer::playNext()
{
    m_breath.stop();
    if (m_playing || m_playingBack || m_groups.isEmpty())
        return;
    if (m_groups.head().mode == Mode::Echo && !m_options.autoEcho) {
        // A key that sounds calls again when it comes up.
        const double silent = m_keys.silentMs();
        if (silent == 0)
            return;
        if (silent < breathMs()) {
            m_breath.start(int(std::ceil(breathMs() - silent)));
            return;
        }
    }
    const Pending next = m_groups.dequeue();
    m_playing = true;
    m_giveUp.stop();
    if (next.mode == Mode::Echo) {
        m_counting = true;
        m_review = {m_review.number + 1, next.group, {}, 0};
        // Nothing to key back: the review says why at once.
        if (next.group.trimmed().isEmpty())
            emit groupReviewed(m_review);
    }
    emit stateChanged();

    QString unknown;
    std::vector<ToneSegment> segments = groupSegments(next.group, characterDotSamples(), &unknown, spacing());
    if (!unknown.isEmpty())
        m_complaints.report(tr("no Morse code for \"%1\" in the group \"%2\"; left out").arg(unknown, next.group));
    if (band().handSent())
        segments = sentByHand(segments, characterDotSamples(), band().jitterPercent, band().weightPercent, m_random);
    for (ToneSegment &segment : segments)
        segment.band = true;

    m_player.append(segments);
    const QString group = next.group;
    const Mode mode = next.mode;
    inThisRun(m_player.scheduleEnd(), [this, group, mode] { groupPlayed(group, mode); });
}

// What is timed for a run, or for a trainer, is dropped with it.
void Keyer::inThisRun(qint64 position, std::function<void()> action)
{
    m_player.at(position, [this, session = m_session, action = std::move(action)] {
        if (session == m_session)
            action();
    });
}

void Keyer::groupPlayed(const QString &group, Mode mode)
{
    if (mode == Mode::Echo) {
        if (m_options.autoEcho) {
            keyBack(group);
            return;
        }
        // The trainee keys it back; the trainer sends the next group when
        // the whole group has come. Characters keyed before the end of the
        // group already count for it, and then the silence counts from here.
        m_playing = false;
        if (m_rxLetters > 0)
            armGiveUp();
        emit stateChanged();
        playNext();
        return;
    }
    // A copy run, or a group before any start frame: the trainer counts it
    // off when the "OK" comes. With Farnsworth spacing the pause grows by
    // what a word space grows, so that a group and its gap take the time
    // they take at the trainer's speed.
    const double stretch = spacing().wordGap * characterDotSamples() - 7 * dotSamples();
    m_player.append({{false, qint64(m_pause) * m_player.sampleRate() / 100 + std::llround(stretch), true}});
    inThisRun(m_player.scheduleEnd(), [this] {
        m_reports->send(KeyerText::groupPlayed);
        m_playing = false;
        m_copyRunEnd.start();
        playNext();
    });
}

void Keyer::keyBack(const QString &group)
{
    const EchoPlan plan = planEcho(group, dotSamples(), m_options.errorRate, m_random);
    const qint64 start = m_player.append(plan.segments);
    // Reported, and reviewed, as the trainee's own keying is.
    const double msPerSample = 1000.0 / m_player.sampleRate();
    for (const KeyReport &report : plan.reports) {
        const char letter = report.letter;
        const KeyedMark mark{(double(start) + report.from) * msPerSample, (double(start) + report.to) * msPerSample};
        inThisRun(start + qint64(report.at), [this, letter, mark] { keyedReport(letter, mark); });
    }
    inThisRun(start + plan.length, [this] {
        m_playing = false;
        playNext();
    });
}

bool Keyer::canPlayBack() const
{
    return m_mode == Mode::Echo && !m_playing && !m_playingBack;
}

void Keyer::playBack(const std::vector<ToneSegment> &segments)
{
    if (!canPlayBack() || segments.empty())
        return;
    m_playingBack = true;
    m_player.prepare();
    m_player.append(segments);
    emit stateChanged();
    inThisRun(m_player.scheduleEnd(), [this] {
        m_playingBack = false;
        emit stateChanged();
        playNext();
    });
}

void Keyer::keyed(bool down)
{
    if (down)
        m_giveUp.stop();
    else
        armGiveUp();
    // Keying puts the next group's breath off.
    playNext();
}

void Keyer::keyedReport(char letter, const KeyedMark &mark)
{
    // Reports outside an echo run would be scored by the trainer as a group
    // keyed back, and could even send it a group in the middle of a copy run.
    if (!m_connected || m_mode != Mode::Echo)
        return;
    if (letter != KeyerText::characterEnd) {
        m_elements += QLatin1Char(letter);
        m_marks += mark;
        if (m_counting)
            m_reports->send(QByteArray(1, letter));
        return;
    }
    const KeyedCharacter character{std::exchange(m_elements, QString()), m_counting, std::exchange(m_marks, {})};
    if (character.counted) {
        m_review.keyed.append(character);
        m_reports->send(QByteArray(1, KeyerText::characterEnd));
        characterSent();
    } else if (!m_review.sent.isEmpty()) {
        // Keyed after the group: shown with it, kept from the trainer.
        m_review.keyed.append(character);
        emit groupReviewed(m_review);
    }
}

void Keyer::characterSent()
{
    if (++m_rxLetters < m_groupSize)
        return;
    // The trainer scores the group and sends the next.
    m_rxLetters = 0;
    m_counting = false;
    emit groupReviewed(m_review);
    emit stateChanged();
}

void Keyer::forgetKeying()
{
    m_keys.reset();
    m_elements.clear();
    m_marks.clear();
    m_counting = false;
}

void Keyer::armGiveUp()
{
    if (m_mode == Mode::Echo)
        m_giveUp.start(int(qMax(giveUpMs, m_keys.classifier().wordGapMs())));
}

void Keyer::giveUp()
{
    if (m_mode != Mode::Echo || m_playing || !m_connected)
        return;
    m_keys.flush(); // a character end that is due goes first
    while (m_rxLetters > 0) {
        ++m_review.givenUp;
        m_reports->send(QByteArray(1, KeyerText::characterEnd));
        characterSent();
    }
}
