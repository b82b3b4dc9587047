// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/bandconditions.h"
#include "runs/reportblock.h"
#include "settings/settingsfile.h"

#include <QChar>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class Alphabet;

// The training run that the window drives and shows: the selection the
// groups are drawn from, the four parameters, the groups drawn and their
// record (grouplog), what the keyer reports of a group keyed back, the
// scoring and the counters. It holds no widget and writes nothing to the
// line: the window sends the frames and shows the counters.
class Run
{
public:
    // Decodes with `alphabet`, which outlives the run.
    explicit Run(const Alphabet &alphabet);

    // The selection. Slot N (1 to 47) holds check box N's character when it
    // is ticked, a blank when not; slots 48 and 49 have no box and hold what
    // the settings file put there.
    using Slots = std::array<QChar, 51>;
    const Slots &charslots() const { return m_charslots; }
    void setSlot(int n, QChar character) { m_charslots[n] = character; }
    void selectAll(); // slots 1 to 47
    void deselectAll(); // slots 2 to 47: T stays, so a group can always be drawn

    // The parameters, as the buttons and the start-up leave them.
    const Parameters &parameters() const { return m_parameters; }
    void setParameters(const Parameters &parameters) { m_parameters = parameters; }
    qint16 speed() const { return m_parameters.speed; }
    qint16 groupsize() const { return m_parameters.groupsize; }
    qint16 groupcount() const { return m_parameters.groupcount; }
    qint16 pausevalue() const { return m_parameters.pausevalue; }
    void setSpeed(qint16 speed) { m_parameters.speed = speed; }
    void setGroupcount(qint16 groupcount) { m_parameters.groupcount = groupcount; }
    void setPausevalue(qint16 pausevalue) { m_parameters.pausevalue = pausevalue; }
    // A new group length starts the scoring afresh: both counts and the
    // characters counted of the current group go to 0. What was decoded of
    // it (rxgroup), elementbuf and linecount stay as they are.
    void changeGroupsize(qint16 groupsize);

    // Start: a copy run of `groups` groups. The group record is blanked and
    // its groups are numbered from 1.
    void startCopyRun(qint16 groups);
    // Oda - Vissza: an echo run. The group record and groupcount go on from
    // where they are; the scores start at 0, and what was keyed of a group
    // the last run left unfinished is dropped: counted into the first group
    // of this run it would shift every later group against its characters.
    void startEchoRun();
    // Stop: the next group done ends the run.
    void stop() { m_parameters.groupcount = 1; }

    // The draw of kikukdo: groupsize characters from the selected slots,
    // each slot as likely as any other, kept in txgroup and, for groups 1 to
    // 250 (0 for an echo run before any Start), in the group record. Gives
    // the group frame's letters: a cell nothing is drawn for (nothing
    // selected) is a blank, so the keyer still gets groupsize letters.
    QString drawGroup();
    void seed(quint32 seed) { m_random.seed(seed); }
    // The band the group drawn last is played through, as the software
    // keyer says; none when not known (a hardware keyer).
    void setGroupConditions(const std::optional<BandConditions> &conditions);

    // An element report (R or H) of the character being keyed back.
    void takeElement(QChar element) { m_elementbuf += element; }
    // The elements so far are noise, or the keyer starts anew.
    void dropElements() { m_elementbuf.clear(); }

    // A character end (V): the elements so far decoded, and once groupsize
    // characters have come the group scored against the one sent.
    struct CharacterEnd {
        QString character; // "#" when the elements are no character
        bool groupScored = false; // the rest holds only then
        bool good = false; // counted into goodgroups, else badgroups
        QString sent; // txgroup, before the next group is drawn
        QString decoded; // rxgroup as scored
        bool decodedTextFull = false; // the ninth line since the window's text was emptied
        std::optional<BandConditions> conditions; // what `sent` was played through
    };
    CharacterEnd takeCharacterEnd();

    // A group done (OK) from the keyer: one group fewer to go. True while
    // the run goes on, false once it is over.
    bool groupPlayed();

    // The line is gone, and the run with it: its next group done sends
    // nothing, and the group being keyed back is dropped.
    void lineLost();

    // Positions 1 to 15 of each group since the last Start, as the check
    // report lists them: groups 1 to 250 at most.
    QStringList sentGroups() const;
    // Once a copy run has ended: its groups, trimmed, and the band they were
    // played through (when they differ, the one most were, of two as many
    // the one heard first), to be kept in the history. Nothing for an echo
    // run, nor a second time for one copy run.
    struct EndedCopyRun {
        QStringList groups;
        std::optional<BandConditions> conditions;
    };
    std::optional<EndedCopyRun> takeEndedCopyRun();

    const GroupLog &grouplog() const { return m_grouplog; }
    qint16 groupindex() const { return m_groupindex; }
    qint16 blindmode() const { return m_blindmode; }
    const QString &txgroup() const { return m_txgroup; }
    const QString &elementbuf() const { return m_elementbuf; }
    const QString &rxgroup() const { return m_rxgroup; }
    qint16 rxletters() const { return m_rxletters; }
    qint16 goodgroups() const { return m_goodgroups; }
    qint16 badgroups() const { return m_badgroups; }
    qint16 linecount() const { return m_linecount; }

private:
    const Alphabet &m_alphabet;
    QRandomGenerator m_random;
    Slots m_charslots{};
    Parameters m_parameters{0, 0, 0, 0};
    GroupLog m_grouplog{};
    qint16 m_groupindex = 0;
    qint16 m_blindmode = 0;
    QString m_txgroup;
    QString m_elementbuf;
    QString m_rxgroup;
    qint16 m_rxletters = 0;
    qint16 m_goodgroups = 0;
    qint16 m_badgroups = 0;
    qint16 m_linecount = 0;
    bool m_copyRunToRecord = false; // a Start whose end is not in the history yet
    std::optional<BandConditions> m_txconditions; // txgroup's band
    std::array<std::optional<BandConditions>, groupLogGroups> m_groupConditions{}; // the record's groups' bands
};
