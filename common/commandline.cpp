// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/commandline.h"

#include <QCommandLineParser>

std::optional<QString> refusedCommandLine(QCommandLineParser &parser, const QStringList &arguments)
{
    if (!parser.parse(arguments))
        return parser.errorText();
    if (!parser.positionalArguments().isEmpty())
        return QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first());
    return std::nullopt;
}
