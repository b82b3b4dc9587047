// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// `vestranoli --stats [--text] [--days N] [--data-dir DIR]`: the statistics
// of the training history, in their own window, or with --text as a table on
// stdout without a window (and without a display).
bool isStatisticsCommand(int argc, char *argv[]);
int runStatistics(int argc, char *argv[]);
