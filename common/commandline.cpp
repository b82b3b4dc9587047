// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>

std::optional<QString> refusedCommandLine(QCommandLineParser &parser, const QStringList &arguments)
{
    if (!parser.parse(arguments))
        return parser.errorText();
    if (!parser.positionalArguments().isEmpty())
        return QCoreApplication::translate("CommandLine", "Unexpected argument '%1'.")
            .arg(parser.positionalArguments().first());
    return std::nullopt;
}
