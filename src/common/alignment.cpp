#include "common/alignment.h"

#include <vector>

Alignment alignGroups(QStringView sent, QStringView decoded)
{
    const qsizetype n = sent.size();
    const qsizetype m = decoded.size();
    // cost[i][j]: fewest edits from the first i sent to the first j decoded.
    std::vector<std::vector<int>> cost(size_t(n + 1), std::vector<int>(size_t(m + 1)));
    for (qsizetype i = 0; i <= n; ++i)
        cost[i][0] = int(i);
    for (qsizetype j = 0; j <= m; ++j)
        cost[0][j] = int(j);
    for (qsizetype i = 1; i <= n; ++i) {
        for (qsizetype j = 1; j <= m; ++j) {
            const int replace = cost[i - 1][j - 1] + (sent[i - 1] == decoded[j - 1] ? 0 : 1);
            cost[i][j] = std::min({replace, cost[i - 1][j] + 1, cost[i][j - 1] + 1});
        }
    }

    // Walk back from the end; the characters come out last first.
    Alignment alignment;
    qsizetype i = n;
    qsizetype j = m;
    while (i > 0 || j > 0) {
        if (i > 0 && j > 0 && cost[i][j] == cost[i - 1][j - 1] + (sent[i - 1] == decoded[j - 1] ? 0 : 1)) {
            alignment.characters.prepend({sent[i - 1], decoded[j - 1]});
            --i;
            --j;
        } else if (i > 0 && cost[i][j] == cost[i - 1][j] + 1) {
            alignment.characters.prepend({sent[i - 1], QChar()});
            --i;
        } else {
            alignment.characters.prepend({QChar(), decoded[j - 1]});
            ++alignment.extra;
            --j;
        }
    }
    return alignment;
}
