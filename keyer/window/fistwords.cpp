// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/fistwords.h"

#include <cmath>

QString FistWords::measures(const FistTiming &timing) const
{
    QStringList parts{tr("%1 letters per minute (set %2)")
                          .arg(qRound(timing.lettersPerMinute.keyed))
                          .arg(qRound(timing.lettersPerMinute.ideal))};
    if (timing.dashRatio)
        parts << tr("dash %1 dots").arg(dots(timing.dashRatio->keyed));
    if (timing.elementGap)
        parts << tr("gaps %1 inside letters").arg(dots(timing.elementGap->keyed));
    if (timing.letterGap)
        parts << tr("%1 between letters").arg(dots(timing.letterGap->keyed));
    if (timing.wordGap)
        parts << tr("%1 between words").arg(dots(timing.wordGap->keyed));
    const QString said = tr("Timing: %1").arg(parts.join(QLatin1String(", ")));
    return timing.paddles ? said + tr(" (paddles: only the spacing is yours)") : said;
}

QStringList FistWords::faults(const FistTiming &timing) const
{
    QStringList faults;
    for (int measure : timing.offMeasures())
        faults << fault(measure, *fistMeasure(timing, measure));
    return faults;
}

QString FistWords::fault(int measure, const FistMeasure &value) const
{
    const bool low = value.keyed < value.ideal;
    const QString keyed = dots(value.keyed);
    switch (measure) {
    case Speed:
        return (low ? tr("slower than set: %1 letters per minute instead of %2")
                    : tr("faster than set: %1 letters per minute instead of %2"))
            .arg(qRound(value.keyed))
            .arg(qRound(value.ideal));
    case DashRatio:
        return (low ? tr("dashes short: %1 dots instead of 3") : tr("dashes long: %1 dots instead of 3")).arg(keyed);
    case ElementGap:
        return (low ? tr("gaps inside letters short: %1 dots instead of 1")
                    : tr("gaps inside letters long: %1 dots instead of 1"))
            .arg(keyed);
    case LetterGap:
        return (low ? tr("letters run together: %1 dots between them instead of 3")
                    : tr("gaps between letters long: %1 dots instead of 3"))
            .arg(keyed);
    case WordGap:
        return (low ? tr("gaps between words short: %1 dots instead of 7")
                    : tr("gaps between words long: %1 dots instead of 7"))
            .arg(keyed);
    case SpeedChange:
        return (low ? tr("slowing down: the end of the group %1 % slower than its start")
                    : tr("speeding up: the end of the group %1 % faster than its start"))
            .arg(qRound(std::abs(value.keyed) * 100));
    }
    return {};
}

QString FistWords::characterFault(const FistSession::CharacterFault &fault) const
{
    const bool low = fault.mean.keyed < fault.mean.ideal;
    if (fault.measure == DashRatio)
        return (low ? tr("%1: the dashes short (%2 dots)") : tr("%1: the dashes long (%2 dots)"))
            .arg(fault.character)
            .arg(dots(fault.mean.keyed));
    return (low ? tr("%1: the gaps between its elements too short (%2 dots)")
                : tr("%1: the gaps between its elements too long (%2 dots)"))
        .arg(fault.character)
        .arg(dots(fault.mean.keyed));
}

QString FistWords::session(const FistSession &session) const
{
    if (session.groups() == 0)
        return tr("no group keyed back yet");
    const auto spread = [this, &session](int measure, const QString &text) {
        const auto s = session.spread(measure);
        return s ? text.arg(dots(s->mean), dots(s->deviation)) : QString();
    };
    QStringList parts;
    if (const auto speed = session.spread(Speed))
        parts << tr("%1 ± %2 letters per minute").arg(qRound(speed->mean)).arg(qRound(speed->deviation));
    parts << spread(DashRatio, tr("dash %1 ± %2 dots")) << spread(ElementGap, tr("gaps %1 ± %2 inside letters"))
          << spread(LetterGap, tr("%1 ± %2 between letters")) << spread(WordGap, tr("%1 ± %2 between words"));
    parts.removeAll(QString());
    QString text = tr("Groups keyed back: %1. Means: %2").arg(session.groups()).arg(parts.join(QLatin1String(", ")));
    if (const auto worst = session.worst()) {
        const auto s = session.spread(*worst);
        text += tr(". Furthest off: %1").arg(fault(*worst, {s->mean, s->ideal, s->allowed}));
    }
    QStringList characters;
    for (const FistSession::CharacterFault &c : session.furthestOff(3))
        characters << characterFault(c);
    if (!characters.isEmpty())
        text += tr(". Characters: %1").arg(characters.join(QLatin1String("; ")));
    return text;
}
