// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "keys/modemlinesource.h"

// A key adapter's lines as a test plays them: the readings and the loss go
// to `sink` when the test says, and an open gives `error`.
class FakeLines : public ModemLineSource
{
public:
    int open(const QString &, const Sink &s) override
    {
        ++opens;
        sink = s;
        return error;
    }
    void close() override { ++closes; }
    Sink sink;
    int error = 0;
    int opens = 0;
    int closes = 0;
};
