// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/soundexchange.h"

#include "core/sidetone.h"

#include <algorithm>

void takeChanges(SoundExchange &exchange, Sidetone &sidetone, qint64 settled, qint64 nowNs)
{
    sidetone.settle(settled);
    qint64 from = sidetone.position();
    const auto key = [&](const PlayCommand &command, Sidetone::KeySource source) {
        const qint64 seenAt
            = nowNs < 0 ? settled : settled - (nowNs - command.start) * sidetone.sampleRate() / 1'000'000'000;
        from = std::min(from, sidetone.key(command.kind == PlayCommand::KeyDown, seenAt, source));
    };
    PlayCommand command;
    while (exchange.commands.pop(command)) {
        switch (command.kind) {
        case PlayCommand::Segment:
            sidetone.append(command.start, command.segment);
            from = std::min(from, command.start);
            break;
        case PlayCommand::Clear:
            sidetone.rewindTo(settled);
            sidetone.clearSchedule();
            break;
        case PlayCommand::KeyDown:
        case PlayCommand::KeyUp:
            key(command, Sidetone::KeySource::Window);
            break;
        }
    }
    BandConditions band;
    while (exchange.bands.pop(band))
        sidetone.setBand(band);
    while (exchange.adapterKey.pop(command))
        key(command, Sidetone::KeySource::Adapter);
    if (from < sidetone.position())
        sidetone.rewindTo(from);
    sidetone.setFrequency(exchange.frequency);
    sidetone.setVolume(exchange.volume);
}
