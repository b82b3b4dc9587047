// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the keyer's frame reader on any bytes, fed whole and in
// pieces whose sizes the input's first byte chooses. Both must give the same
// frames, and what the reader keeps between feeds stays bounded.

#include "common/framereader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const qsizetype piece = data[0] % 7 + 1;
    const QByteArrayView bytes(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));

    FrameReader whole;
    const QList<Frame> expected = whole.feed(bytes);

    FrameReader pieces;
    QList<Frame> frames;
    for (qsizetype at = 0; at < bytes.size(); at += piece)
        frames += pieces.feed(bytes.sliced(at, qMin(piece, bytes.size() - at)));
    for (const Frame &frame : frames) {
        if (frame.raw.size() > FrameReader::maxSkippedBytes || frame.letters.size() > FrameReader::maxGroupLetters)
            std::abort();
    }
    if (frames != expected)
        std::abort();
    return 0;
}
