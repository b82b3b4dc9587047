// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/alignment.h"

#include <vector>

namespace {

// A blank only lines up with a blank: a character is never taken for the
// gap between two groups.
constexpr int never = 1 << 29;

int replaceCost(QChar sent, QChar taken)
{
    if (sent == taken)
        return 0;
    return sent == QLatin1Char(' ') || taken == QLatin1Char(' ') ? never : 1;
}

} // namespace

Alignment alignGroups(QStringView sent, QStringView decoded)
{
    const qsizetype n = sent.size();
    const qsizetype m = decoded.size();
    // cost[i * width + j]: fewest edits from the first i sent to the first j decoded.
    const qsizetype width = m + 1;
    std::vector<int> cost(size_t((n + 1) * width));
    const auto at = [&](qsizetype i, qsizetype j) -> int & { return cost[size_t(i * width + j)]; };
    for (qsizetype i = 0; i <= n; ++i)
        at(i, 0) = int(i);
    for (qsizetype j = 0; j <= m; ++j)
        at(0, j) = int(j);
    for (qsizetype i = 1; i <= n; ++i) {
        for (qsizetype j = 1; j <= m; ++j) {
            const int replace = at(i - 1, j - 1) + replaceCost(sent[i - 1], decoded[j - 1]);
            at(i, j) = std::min({replace, at(i - 1, j) + 1, at(i, j - 1) + 1});
        }
    }

    // Walk back from the end; the characters come out last first.
    Alignment alignment;
    alignment.characters.resize(n + m);
    qsizetype out = n + m;
    qsizetype i = n;
    qsizetype j = m;
    while (i > 0 || j > 0) {
        if (i > 0 && j > 0 && at(i, j) == at(i - 1, j - 1) + replaceCost(sent[i - 1], decoded[j - 1])) {
            alignment.characters[--out] = {sent[i - 1], decoded[j - 1]};
            --i;
            --j;
        } else if (i > 0 && at(i, j) == at(i - 1, j) + 1) {
            alignment.characters[--out] = {sent[i - 1], QChar()};
            --i;
        } else {
            alignment.characters[--out] = {QChar(), decoded[j - 1]};
            if (decoded[j - 1] != QLatin1Char(' '))
                ++alignment.extra;
            --j;
        }
    }
    alignment.characters.remove(0, out);
    return alignment;
}
