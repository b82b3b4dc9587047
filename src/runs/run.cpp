// SPDX-License-Identifier: GPL-3.0-or-later
#include "runs/run.h"

#include "alphabet/alphabet.h"
#include "common/morsetable.h"
#include "settings/numberfromtext.h"

#include <algorithm>

namespace {

// Slots 48 and 49 have no check box and take whatever the settings file
// holds there: only a training character is drawn, never a frame mark or
// anything else the keyer cannot play.
bool isDrawn(QChar slot)
{
    return isSelectedSlot(slot) && !elementsOf(slot).isEmpty();
}

} // namespace

Run::Run(const Alphabet &alphabet)
    : m_alphabet(alphabet)
{ }

void Run::selectAll()
{
    for (int n = 1; n <= slotCount; ++n)
        m_charslots[n] = slotCharacter(n);
}

void Run::deselectAll()
{
    m_charslots[1] = QLatin1Char('T');
    for (int n = 2; n <= slotCount; ++n)
        m_charslots[n] = QLatin1Char(' ');
}

void Run::changeGroupsize(qint16 groupsize)
{
    m_parameters.groupsize = groupsize;
    m_goodgroups = 0;
    m_badgroups = 0;
    m_rxletters = 0;
}

void Run::startCopyRun(qint16 groups)
{
    m_blindmode = 1;
    for (int g = 1; g < groupLogGroups; ++g) {
        for (int p = 1; p < groupLogPositions; ++p)
            m_grouplog[p][g] = QLatin1Char(' ');
    }
    m_groupConditions.fill(std::nullopt);
    m_groupindex = 1;
    m_copyRunToRecord = true;
    m_parameters.groupcount = groups;
}

void Run::startEchoRun()
{
    m_rxletters = 0;
    m_rxgroup.clear();
    m_elementbuf.clear();
    m_blindmode = 0;
    m_goodgroups = 0;
    m_badgroups = 0;
}

QString Run::drawGroup()
{
    int n = 0;
    for (int s = 1; s <= 50; ++s) {
        if (isDrawn(m_charslots[s]))
            ++n;
    }
    m_txgroup.clear();
    const int groupsize = m_parameters.groupsize;
    QString letters(qMax(groupsize, 0), QLatin1Char(' '));
    const bool recorded = m_groupindex >= 0 && m_groupindex < groupLogGroups;

    for (int p = 1; p <= groupsize; ++p) {
        const double r = m_random.generateDouble();
        const int pick = int(r * n + 1);
        int c = 0;
        for (int s = 1; s <= 50; ++s) {
            if (!isDrawn(m_charslots[s]))
                continue;
            ++c;
            if (c != pick)
                continue;
            const QChar ch = m_charslots[s];
            letters[p - 1] = ch;
            if (recorded && p < groupLogPositions)
                m_grouplog[p][m_groupindex] = ch;
            m_txgroup += ch;
        }
    }
    m_groupindex = saturatingAdd(m_groupindex, 1);
    return letters;
}

void Run::setGroupConditions(const std::optional<BandConditions> &conditions)
{
    m_txconditions = conditions;
    const int drawn = m_groupindex - 1;
    if (drawn >= 0 && drawn < groupLogGroups)
        m_groupConditions[size_t(drawn)] = conditions;
}

Run::CharacterEnd Run::takeCharacterEnd()
{
    CharacterEnd end;
    end.character = m_alphabet.betukeres(m_elementbuf);
    m_elementbuf.clear();
    m_rxgroup += end.character;
    m_rxletters = saturatingAdd(m_rxletters, 1);
    if (m_rxletters < m_parameters.groupsize)
        return end;

    end.groupScored = true;
    end.sent = m_txgroup;
    end.decoded = m_rxgroup;
    end.conditions = m_txconditions;
    end.good = m_rxgroup == m_txgroup;
    if (end.good)
        m_goodgroups = saturatingAdd(m_goodgroups, 1);
    else
        m_badgroups = saturatingAdd(m_badgroups, 1);
    m_rxletters = 0;
    m_rxgroup.clear();
    m_linecount = saturatingAdd(m_linecount, 1);
    if (m_linecount > 8) {
        m_linecount = 0;
        end.decodedTextFull = true;
    }
    return end;
}

bool Run::groupPlayed()
{
    m_parameters.groupcount = saturatingAdd(m_parameters.groupcount, -1);
    return m_parameters.groupcount > 0;
}

void Run::lineLost()
{
    m_parameters.groupcount = 0;
    m_elementbuf.clear();
    m_rxgroup.clear();
    m_rxletters = 0;
}

QStringList Run::sentGroups() const
{
    QStringList groups;
    const int lastGroup = qMin<int>(m_groupindex - 1, groupLogGroups - 1);
    for (int g = 1; g <= lastGroup; ++g)
        groups.append(groupCells(m_grouplog, g));
    return groups;
}

std::optional<Run::EndedCopyRun> Run::takeEndedCopyRun()
{
    if (m_blindmode != 1 || !m_copyRunToRecord)
        return std::nullopt;
    m_copyRunToRecord = false;
    EndedCopyRun ended{sentGroups(), std::nullopt};
    for (QString &group : ended.groups)
        group = group.trimmed();
    // At most 250 groups: counting each band over all of them costs nothing.
    const auto first = m_groupConditions.cbegin() + 1;
    const auto last = first + ended.groups.size();
    qsizetype most = 0;
    for (auto band = first; band != last; ++band) {
        const qsizetype count = std::count(first, last, *band);
        if (count > most) {
            most = count;
            ended.conditions = *band;
        }
    }
    return ended;
}
