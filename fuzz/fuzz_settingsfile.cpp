// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the settings reader on any bytes, and the two promises
// around it: a parameter box saved reads back as the box reads, and the
// numbers of a file read and written again read back the same.

#include "settings/numberfromtext.h"
#include "settings/settingsfile.h"

#include <QList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

QList<int> values(const Parameters &p)
{
    return {p.speed, p.groupsize, p.groupcount, p.pausevalue};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<StoredSettings> stored = parseSettingsFile(bytes);
    settingsForStartUp(stored);

    const QString box = QString::fromUtf8(bytes.first(qMin<qsizetype>(bytes.size(), 64)));
    if (readNumber(box) && numberFromText(savedNumber(box, 0)) != numberFromText(box))
        std::abort();

    if (stored) {
        const Parameters &p = stored->parameters;
        const QByteArray again = settingsFileBytes(stored->selection, {savedNumber(QString::number(p.speed), 0),
                                                                       savedNumber(QString::number(p.groupsize), 0),
                                                                       savedNumber(QString::number(p.groupcount), 0),
                                                                       savedNumber(QString::number(p.pausevalue), 0)});
        const std::optional<StoredSettings> reread = parseSettingsFile(again);
        if (!reread || values(reread->parameters) != values(p))
            std::abort();
    }
    return 0;
}
