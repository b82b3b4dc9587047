// SPDX-License-Identifier: GPL-3.0-or-later
#include "soundexchange.h"

#include "core/sidetone.h"

#include <algorithm>

void takeChanges(SoundExchange &exchange, Sidetone &sidetone, qint64 settled)
{
    sidetone.settle(settled);
    qint64 from = sidetone.position();
    PlayCommand command;
    while (exchange.commands.pop(command)) {
        if (command.clear) {
            sidetone.rewindTo(settled);
            sidetone.clearSchedule();
        } else {
            sidetone.append(command.start, command.segment);
            from = std::min(from, command.start);
        }
    }
    if (exchange.key != sidetone.liveKey()) {
        sidetone.rewindTo(settled);
        sidetone.setLiveKey(exchange.key);
    }
    if (from < sidetone.position())
        sidetone.rewindTo(from);
    sidetone.setFrequency(exchange.frequency);
    sidetone.setVolume(exchange.volume);
}
