// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// What one read from the keyer looks like to the receive handler.

// A read that starts with a carriage return stands for a bare line break,
// whatever else came with it.
QString readForLog(const QString &read);

// The text without leading and trailing spaces; carriage returns, line feeds
// and tabs stay, so the token of "R\r\n" is not an element report.
QString trimSpaces(const QString &text);

// The keyer's reports one by one: a read made only of the report letters R,
// H and V (spaces around and between them allowed) gives one text per
// letter, in order, since a loaded machine can pass two reports on in one
// read; any other read is given back whole.
QStringList separateReports(const QString &read);

// The keyer's texts are short; anything longer than this is noise.
constexpr int longestToken = 15;

// The raw receive log keeps this many of the latest characters while the
// keyer sends text that matches nothing.
constexpr int receiveLogLimit = 4096;
