// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Ends the event loop on SIGINT, SIGTERM and SIGHUP, so that the program
// leaves the way it does when its window closes: the link removed and the
// recording finished.
void quitOnSignals();
