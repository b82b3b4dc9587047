// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/keylines.h"

#include <QStringList>

namespace {

std::optional<ModemLine> lineFromName(const QString &name)
{
    for (ModemLine line : {Cts, Dsr, Dcd, Ri}) {
        if (name.compare(modemLineName(line), Qt::CaseInsensitive) == 0)
            return line;
    }
    return std::nullopt;
}

} // namespace

QString modemLineName(ModemLine line)
{
    switch (line) {
    case Cts:
        return QStringLiteral("CTS");
    case Dsr:
        return QStringLiteral("DSR");
    case Dcd:
        return QStringLiteral("DCD");
    case Ri:
        return QStringLiteral("RI");
    }
    return {};
}

std::optional<KeyLineMap> keyLineMapFromText(const QString &text)
{
    const QString name = text.trimmed().toLower();
    if (name == QLatin1String("straight"))
        return KeyLineMap{};
    if (name == QLatin1String("paddles"))
        return KeyLineMap{true, Cts, Dsr};
    const QStringList names = name.split(QLatin1Char(','));
    if (names.size() > 2)
        return std::nullopt;
    const auto first = lineFromName(names.first().trimmed());
    if (!first)
        return std::nullopt;
    if (names.size() == 1)
        return KeyLineMap{false, *first};
    const auto second = lineFromName(names.last().trimmed());
    if (!second || *second == *first)
        return std::nullopt;
    return KeyLineMap{true, *first, *second};
}

QList<KeyLineEdge> KeyLines::seen(unsigned lines, qint64 atNs)
{
    QList<KeyLineEdge> edges;
    const auto down = [&](ModemLine line) {
        return bool(lines & line) != m_map.invert;
    };
    if (m_map.paddles) {
        look(KeyLineEdge::Dot, down(m_map.straightOrDot), atNs, edges);
        look(KeyLineEdge::Dash, down(m_map.dash), atNs, edges);
    } else {
        look(KeyLineEdge::Straight, down(m_map.straightOrDot), atNs, edges);
    }
    return edges;
}

void KeyLines::look(KeyLineEdge::Key which, bool down, qint64 atNs, QList<KeyLineEdge> &edges)
{
    Key &key = m_keys[which];
    if (down == key.down) {
        key.changedAt.reset(); // back before it was confirmed: a bounce
        return;
    }
    if (!key.changedAt)
        key.changedAt = atNs;
    if (atNs - *key.changedAt >= confirmationNs) {
        key.down = down;
        edges.append({which, down, *key.changedAt});
        key.changedAt.reset();
    }
}

QList<KeyLineEdge> KeyLines::lost(qint64 atNs)
{
    QList<KeyLineEdge> edges;
    for (auto which : {KeyLineEdge::Straight, KeyLineEdge::Dot, KeyLineEdge::Dash}) {
        if (m_keys[which].down)
            edges.append({which, false, atNs});
        m_keys[which] = {};
    }
    return edges;
}
