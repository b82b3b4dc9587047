// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/keyadapter.h"

#include "common/reportproblem.h"
#include "core/monotonicclock.h"
#include "keys/keyinput.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>

KeyAdapter::KeyAdapter(const QString &device, const KeyLineMap &map, KeyInput &keys,
                       std::unique_ptr<ModemLineSource> source, DirectKey sidetone, QObject *parent)
    : QObject(parent)
    , m_device(device)
    , m_map(map)
    , m_keys(keys)
    , m_source(std::move(source))
    , m_sidetone(std::move(sidetone))
    , m_report(reportProblem)
{
    m_keys.setAdapterHeardElsewhere(bool(m_sidetone));
    m_retry.setInterval(1000);
    connect(&m_retry, &QTimer::timeout, this, &KeyAdapter::tryOpen);
}

KeyAdapter::~KeyAdapter()
{
    // The source's thread is gone after this; what it queued goes with this
    // object.
    m_source->close();
}

void KeyAdapter::start()
{
    tryOpen();
}

void KeyAdapter::tryOpen()
{
    // The source calls from its own thread. Its readings are confirmed
    // there, so that a straight key's edges go to the sidetone at once; each
    // call then comes to this thread, queued in order, and is dropped with
    // this object. Lines of their own for each opening: the first reading
    // starts with every key up.
    const auto lines = std::make_shared<KeyLines>(m_map);
    const auto sound = [sidetone = m_sidetone](const QList<KeyLineEdge> &edges) {
        for (const KeyLineEdge &edge : edges) {
            if (sidetone && edge.key == KeyLineEdge::Straight)
                sidetone(edge.down, edge.atNs);
        }
    };
    ModemLineSource::Sink sink;
    sink.reading = [this, lines, sound](ModemLineSource::Reading r) {
        const QList<KeyLineEdge> edges = lines->seen(r.lines, r.atNs);
        sound(edges);
        QMetaObject::invokeMethod(
            this, [this, r, edges] { reading(r.lines, edges); }, Qt::QueuedConnection);
    };
    sink.polling = [this] {
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_report(tr("the key adapter %1 cannot wait for its lines to change; reading them "
                            "every millisecond")
                             .arg(m_device));
            },
            Qt::QueuedConnection);
    };
    sink.lost = [this, lines, sound](int error) {
        // A key held when the adapter went lets go now.
        const QList<KeyLineEdge> edges = lines->lost(monotonicNs());
        sound(edges);
        QMetaObject::invokeMethod(
            this, [this, error, edges] { lost(error, edges); }, Qt::QueuedConnection);
    };
    const int error = m_source->open(m_device, sink);
    if (error == 0) {
        m_retry.stop();
        m_open = true;
        if (std::exchange(m_said, 0) != 0)
            m_report(tr("the key adapter %1 is there; keying with it too").arg(m_device));
        emit changed();
        return;
    }
    // Said when the trouble starts or changes, not at every look for the
    // adapter; a device on its way out can answer any of these. At the first
    // look they mean a name with no device behind it (/dev/tty with no
    // terminal), which is not looked for again, as one that is no serial port.
    const bool firstLook = m_said == 0;
    const int trouble = error == ENODEV || error == ENXIO ? (firstLook ? ENXIO : ENOENT) : error;
    if (std::exchange(m_said, trouble) != trouble)
        m_report(whyNotOpened(trouble));
    if (trouble == ENOTTY || trouble == EISDIR || trouble == ENXIO)
        m_retry.stop();
    else
        m_retry.start();
}

QString KeyAdapter::whyNotOpened(int error) const
{
    const QString goingOn = tr("; keying with the keyboard");
    const QString untilBack = tr(", and taking the adapter when it is there");
    switch (error) {
    case ENOENT:
        return tr("the key adapter %1 is not there").arg(m_device) + goingOn + untilBack;
    case ENXIO:
        return tr("%1 has no device behind it (%2): it is no key adapter")
                   .arg(m_device, QString::fromLocal8Bit(std::strerror(error)))
               + goingOn;
    case EACCES:
    case EPERM: {
        QString group = QFileInfo(m_device).group();
        if (group.isEmpty())
            group = QStringLiteral("dialout");
        return tr("cannot open the key adapter %1: you are not in the group %2 "
                  "(sudo adduser $USER %2, then log out and in again)")
                   .arg(m_device, group)
               + goingOn;
    }
    case EBUSY:
        return tr("the key adapter %1 is in use by another program").arg(m_device) + goingOn + untilBack;
    case ENOTTY:
    case EISDIR:
        return tr("%1 is no serial port: it has no modem lines for a key").arg(m_device) + goingOn;
    default:
        return tr("cannot open the key adapter %1 (%2)").arg(m_device, QString::fromLocal8Bit(std::strerror(error)))
               + goingOn + untilBack;
    }
}

void KeyAdapter::reading(unsigned lines, const QList<KeyLineEdge> &edges)
{
    key(edges);
    if (lines != m_lastLines) {
        m_lastLines = lines;
        emit changed();
    }
}

void KeyAdapter::lost(int error, const QList<KeyLineEdge> &edges)
{
    m_source->close();
    m_open = false;
    // Its device goes with an unplugged adapter: that it is not there is
    // said with this.
    m_said = ENOENT;
    key(edges);
    m_report(tr("the key adapter %1 is gone (%2); keying with the keyboard, and taking it back "
                "when it comes back")
                 .arg(m_device, QString::fromLocal8Bit(std::strerror(error))));
    m_retry.start();
    emit changed();
}

void KeyAdapter::key(const QList<KeyLineEdge> &edges)
{
    for (const KeyLineEdge &edge : edges) {
        switch (edge.key) {
        case KeyLineEdge::Straight:
            m_keys.straightAt(edge.down, edge.atNs);
            break;
        case KeyLineEdge::Dot:
            m_keys.paddleAt(KeyInput::Paddle::Dot, edge.down, edge.atNs);
            break;
        case KeyLineEdge::Dash:
            m_keys.paddleAt(KeyInput::Paddle::Dash, edge.down, edge.atNs);
            break;
        }
    }
}
