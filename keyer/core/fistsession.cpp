// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/fistsession.h"

#include <QHash>

#include <algorithm>
#include <cmath>

namespace {

// How far off a mean is, in shares of what is allowed.
double offBy(const FistMeasure &measure)
{
    return std::abs(measure.keyed - measure.ideal) / measure.allowed;
}

QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
}

} // namespace

void FistSession::add(const GroupReview &review, const FistTiming &timing)
{
    Group group{review.number, review.sent, review.received(), timing};
    if (!m_groups.isEmpty() && m_groups.last().number == review.number)
        m_groups.last() = group;
    else
        m_groups << group;
}

std::optional<FistSession::Spread> FistSession::spread(int measure) const
{
    QList<FistMeasure> values;
    for (const Group &group : m_groups) {
        if (const auto value = fistMeasure(group.timing, measure))
            values << *value;
    }
    if (values.isEmpty())
        return std::nullopt;
    Spread spread{0, 0, values.first().ideal, values.first().allowed, int(values.size())};
    for (const FistMeasure &value : values)
        spread.mean += value.keyed / double(values.size());
    for (const FistMeasure &value : values)
        spread.deviation += std::pow(value.keyed - spread.mean, 2) / double(values.size());
    spread.deviation = std::sqrt(spread.deviation);
    return spread;
}

std::optional<int> FistSession::worst() const
{
    std::optional<int> worst;
    double furthest = 1;
    for (int measure = 0; measure < FistMeasureCount; ++measure) {
        if (const auto s = spread(measure); s && offBy({s->mean, s->ideal, s->allowed}) > furthest) {
            furthest = offBy({s->mean, s->ideal, s->allowed});
            worst = measure;
        }
    }
    return worst;
}

QList<FistSession::CharacterFault> FistSession::furthestOff(int count) const
{
    // Each character's dashes and gaps, summed over the session.
    QHash<QPair<QChar, int>, QList<double>> keyed;
    for (const Group &group : m_groups) {
        for (const CharacterTiming &c : group.timing.characters) {
            if (c.dash)
                keyed[{c.character, DashRatio}] << c.dash->keyed;
            if (c.elementGap)
                keyed[{c.character, ElementGap}] << c.elementGap->keyed;
        }
    }
    QList<CharacterFault> faults;
    for (auto it = keyed.cbegin(); it != keyed.cend(); ++it) {
        double sum = 0;
        for (double value : it.value())
            sum += value;
        const double ideal = it.key().second == DashRatio ? 3 : 1;
        const FistMeasure mean{sum / double(it.value().size()), ideal, fistTolerance * ideal};
        if (mean.off())
            faults.append({it.key().first, it.key().second, mean});
    }
    std::sort(faults.begin(), faults.end(), [](const CharacterFault &a, const CharacterFault &b) {
        return offBy(a.mean) != offBy(b.mean) ? offBy(a.mean) > offBy(b.mean) : a.character < b.character;
    });
    return faults.mid(0, count);
}

QString FistSession::csv() const
{
    QString text = QStringLiteral("group,sent,keyed,key,letters per minute,set letters per minute,dash ratio,"
                                  "element gap,letter gap,word gap,speed change\n");
    const auto number = [](const std::optional<FistMeasure> &measure) {
        return measure ? QString::number(measure->keyed, 'f', 3) : QString();
    };
    for (const Group &group : m_groups) {
        const FistTiming &t = group.timing;
        const QStringList row{QString::number(group.number),
                              csvField(group.sent),
                              csvField(group.keyed),
                              t.paddles ? QStringLiteral("paddles") : QStringLiteral("straight"),
                              QString::number(t.lettersPerMinute.keyed, 'f', 1),
                              QString::number(t.lettersPerMinute.ideal, 'f', 0),
                              number(t.dashRatio),
                              number(t.elementGap),
                              number(t.letterGap),
                              number(t.wordGap),
                              number(t.speedChange)};
        text += row.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return text;
}
