// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the alignment on any two texts of UTF-16 units, lone
// surrogates too, the input's first byte saying where the first ends. What
// comes out must be both texts whole, in order, as code points (a lone
// surrogate or a NUL as U+FFFD), with a blank never taken for a character nor a
// character for a blank, and the extras counted right.

#include "common/alignment.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QString units = QString::fromUtf16(reinterpret_cast<const char16_t *>(data + 1), qsizetype((size - 1) / 2));
    const qsizetype split = qMin(qsizetype(data[0]), units.size());
    const QString sent = units.first(split);
    const QString decoded = units.sliced(split);

    const std::optional<Alignment> alignment = alignGroups(sent, decoded);
    if (!alignment)
        std::abort();
    QList<uint> sentBack;
    QList<uint> decodedBack;
    int extra = 0;
    for (const AlignedCharacter &c : alignment->characters) {
        if (c.isExtra() && c.dropped())
            std::abort();
        if ((c.sent == U' ' && !c.dropped() && c.taken != U' ') || (c.taken == U' ' && !c.isExtra() && c.sent != U' '))
            std::abort();
        if (!c.isExtra())
            sentBack.append(c.sent);
        if (!c.dropped())
            decodedBack.append(c.taken);
        if (c.isExtra() && c.taken != U' ')
            ++extra;
    }
    const auto codePoints = [](const QString &text) {
        QList<uint> points = text.toUcs4();
        std::replace(points.begin(), points.end(), 0u, uint(QChar::ReplacementCharacter));
        return points;
    };
    if (sentBack != codePoints(sent) || decodedBack != codePoints(decoded) || extra != alignment->extra)
        std::abort();
    return 0;
}
