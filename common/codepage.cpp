// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

// encodingForName() does not know "windows-1250"; the constructors that take
// a name go through ICU and do.
QByteArray toCodePage1250(QStringView text)
{
    QStringEncoder encoder("windows-1250");
    return encoder.encode(text);
}

QString fromCodePage1250(QByteArrayView bytes)
{
    QStringDecoder decoder("windows-1250");
    return decoder.decode(bytes);
}

bool codePage1250Available()
{
    return QStringEncoder("windows-1250").isValid() && QStringDecoder("windows-1250").isValid();
}
