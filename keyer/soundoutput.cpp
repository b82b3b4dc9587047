// SPDX-License-Identifier: GPL-3.0-or-later
#include "soundoutput.h"

#include "pulseoutput.h"
#ifdef VESTRANOLI_PIPEWIRE
#include "pipewireoutput.h"
#endif

#include <QtGlobal>

// PipeWire's own stream where the sound server is PipeWire (its PulseAudio
// service says so), PulseAudio's otherwise. VESTRANOLI_SOUND=pulse or
// =pipewire chooses instead.
std::unique_ptr<SoundOutput> makeSoundOutput()
{
#ifdef VESTRANOLI_PIPEWIRE
    const QByteArray chosen = qgetenv("VESTRANOLI_SOUND");
    if (chosen == "pipewire" || (chosen != "pulse" && PulseOutput::serverIsPipeWire()))
        return std::make_unique<PipeWireOutput>();
#endif
    return std::make_unique<PulseOutput>();
}
