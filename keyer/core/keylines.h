// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>

// A key wired to the modem-status lines of a serial adapter: DTR or RTS as
// the supply, and each contact pulling one input line (CTS, DSR, DCD or RI)
// up when it closes.
enum ModemLine : unsigned { Cts = 1, Dsr = 2, Dcd = 4, Ri = 8 };

// Which lines are which key: a straight key on one line, or the dot and
// dash paddles on two. A contact normally closes its line (asserted, down);
// inverted, an asserted line is a key up.
struct KeyLineMap {
    bool paddles = false;
    ModemLine straightOrDot = Cts;
    ModemLine dash = Dsr;
    bool invert = false;

    bool operator==(const KeyLineMap &other) const = default;
};

// From --key-lines: "straight" (CTS), "paddles" (CTS dot, DSR dash), one line
// name ("DCD"), or two joined by a comma, dot first ("DSR,CTS"). Case does
// not matter. Nothing for anything else.
std::optional<KeyLineMap> keyLineMapFromText(const QString &text);
QString modemLineName(ModemLine line);

// A key going down or up, at the monotonic time (in ns) the change was first
// seen on its line.
struct KeyLineEdge {
    enum Key { Straight, Dot, Dash };
    Key key = Straight;
    bool down = false;
    qint64 atNs = 0;

    bool operator==(const KeyLineEdge &other) const = default;
};

// Turns readings of the modem lines into key edges.
//
// A contact bounces, so a new level is an edge only once a reading at least
// the confirmation time after it still shows it; the edge then carries the
// time it was first seen. A level that goes back before that is a bounce and
// nothing happens. The reader reads the lines again a confirmation time
// after every change it sees, until two readings agree, so each change gets
// that second look. A reading between two lines, with one of them changed,
// counts for each line on its own.
class KeyLines
{
public:
    // One re-read 1 ms after a change: a short bounce at the make or the
    // break is gone by then, and the edge is stamped from the first sighting,
    // so keying is not delayed by it.
    static constexpr qint64 confirmationNs = 1'000'000;

    explicit KeyLines(const KeyLineMap &map)
        : m_map(map)
    { }

    const KeyLineMap &map() const { return m_map; }

    // A reading of the lines (ModemLine bits) at `atNs`; readings come in
    // the order they were taken.
    QList<KeyLineEdge> seen(unsigned lines, qint64 atNs);

    // The adapter is gone: every key it held goes up at `atNs`, and the next
    // reading starts afresh with every key up.
    QList<KeyLineEdge> lost(qint64 atNs);

    // Whether a key is down, as confirmed.
    bool isDown(KeyLineEdge::Key key) const { return m_keys[key].down; }

private:
    struct Key {
        bool down = false;
        std::optional<qint64> changedAt; // a new level, not yet confirmed
    };
    void look(KeyLineEdge::Key key, bool down, qint64 atNs, QList<KeyLineEdge> &edges);

    KeyLineMap m_map;
    Key m_keys[3];
};
