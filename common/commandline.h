// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QCommandLineParser;

// Reads `arguments` with `parser`, whose options are added already: why they
// are refused (Qt's words for an unknown option or a missing value, or an
// argument that is no option), or nothing when they are taken.
std::optional<QString> refusedCommandLine(QCommandLineParser &parser, const QStringList &arguments);
