// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

#include <array>

// The group record: letter positions 0 to 15 by groups 0 to 250. A cell that
// was never written holds the character with code 0.
constexpr int groupLogPositions = 16;
constexpr int groupLogGroups = 251;
using GroupLog = std::array<std::array<QChar, groupLogGroups>, groupLogPositions>;

// Positions 1 to 15 of group g as text; cells holding code 0 add nothing.
QString groupCells(const GroupLog &grouplog, int g);

// One line of the report file "morse.txt": the cells without leading and
// trailing spaces, CR LF.
QByteArray reportLine(const QString &cells);

// The two lines of two spaces that close each block of the report.
QByteArray reportBlockEnd();
