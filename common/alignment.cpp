// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/alignment.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// A blank only lines up with a blank: a character is never taken for the
// gap between two groups.
constexpr int never = 1 << 29;

int replaceCost(char32_t sent, char32_t taken)
{
    if (sent == taken)
        return 0;
    return sent == U' ' || taken == U' ' ? never : 1;
}

// The step that reaches a cell by the fewest edits, two bits a cell.
enum Step : std::uint8_t { Replace, Drop, Extra };

} // namespace

std::optional<Alignment> alignGroups(QStringView sentText, QStringView decodedText)
{
    if (sentText.size() > alignableCharacters || decodedText.size() > alignableCharacters)
        return std::nullopt;
    QList<uint> sent = sentText.toUcs4();
    QList<uint> decoded = decodedText.toUcs4();
    // 0 stands for no character; a NUL pasted into a copy is a character as wrong as U+FFFD.
    std::replace(sent.begin(), sent.end(), 0u, uint(QChar::ReplacementCharacter));
    std::replace(decoded.begin(), decoded.end(), 0u, uint(QChar::ReplacementCharacter));
    const qsizetype n = sent.size();
    const qsizetype m = decoded.size();
    if ((n + 1) * (m + 1) > alignablePairs)
        return std::nullopt;

    // Only two rows of costs are kept; the way back is kept whole, as steps.
    const qsizetype width = m + 1;
    std::vector<std::uint8_t> steps(size_t(((n + 1) * width + 3) / 4));
    const auto setStep = [&](qsizetype i, qsizetype j, Step step) {
        const size_t cell = size_t(i * width + j);
        steps[cell / 4] |= std::uint8_t(step << (2 * (cell % 4)));
    };
    const auto stepAt = [&](qsizetype i, qsizetype j) {
        const size_t cell = size_t(i * width + j);
        return Step((steps[cell / 4] >> (2 * (cell % 4))) & 3);
    };
    std::vector<int> previous(static_cast<size_t>(width));
    std::vector<int> current(static_cast<size_t>(width));
    for (qsizetype j = 0; j <= m; ++j) {
        previous[size_t(j)] = int(j);
        setStep(0, j, Extra);
    }
    for (qsizetype i = 1; i <= n; ++i) {
        current[0] = int(i);
        setStep(i, 0, Drop);
        for (qsizetype j = 1; j <= m; ++j) {
            const int replace = previous[size_t(j - 1)] + replaceCost(sent[i - 1], decoded[j - 1]);
            const int drop = previous[size_t(j)] + 1;
            const int extra = current[size_t(j - 1)] + 1;
            const int best = std::min({replace, drop, extra});
            current[size_t(j)] = best;
            setStep(i, j, best == replace ? Replace : best == drop ? Drop : Extra);
        }
        std::swap(previous, current);
    }

    // Walk back from the end; the characters come out last first.
    Alignment alignment;
    alignment.characters.resize(n + m);
    qsizetype out = n + m;
    qsizetype i = n;
    qsizetype j = m;
    while (i > 0 || j > 0) {
        switch (stepAt(i, j)) {
        case Replace:
            alignment.characters[--out] = {char32_t(sent[i - 1]), char32_t(decoded[j - 1])};
            --i;
            --j;
            break;
        case Drop:
            alignment.characters[--out] = {char32_t(sent[i - 1]), 0};
            --i;
            break;
        case Extra:
            alignment.characters[--out] = {0, char32_t(decoded[j - 1])};
            if (decoded[j - 1] != U' ')
                ++alignment.extra;
            --j;
            break;
        }
    }
    alignment.characters.remove(0, out);
    return alignment;
}
