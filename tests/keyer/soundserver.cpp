// SPDX-License-Identifier: GPL-3.0-or-later
#include "soundserver.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTest>

#include <csignal>
#include <sys/prctl.h>

SoundServer::SoundServer(const QString &kind, const QString &dir)
    : m_pipeWire(kind.startsWith(QLatin1String("PipeWire")))
    , m_dir(dir)
{
    env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), dir);
    if (m_pipeWire) {
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir + QStringLiteral("/config"));
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=%1/bus").arg(dir));
        env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent")); // nor rtkit
        QDir().mkpath(dir + QStringLiteral("/config/pipewire/pipewire.conf.d"));
        QFile conf(dir + QStringLiteral("/config/pipewire/pipewire.conf.d/test-sink.conf"));
        if (conf.open(QIODevice::WriteOnly))
            conf.write("context.objects = [ { factory = adapter args = { factory.name = support.null-audio-sink\n"
                       "  node.name = test media.class = Audio/Sink audio.position = [ MONO ] audio.rate = 48000\n"
                       "  object.linger = true } } ]\n");
    } else {
        env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), dir + QStringLiteral("/run"));
        env.insert(QStringLiteral("PULSE_STATE_PATH"), dir + QStringLiteral("/state"));
        env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:%1/native").arg(dir));
    }
    for (QProcess *process : {&m_server, &m_manager, &m_bus, &m_service}) {
        process->setProcessEnvironment(env);
        process->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    }
}

QString SoundServer::start()
{
    const QStringList programs = m_pipeWire ? QStringList{"pipewire",       "wireplumber", "wpctl",     "dbus-daemon",
                                                          "pipewire-pulse", "pw-dump",     "pw-record", "parecord"}
                                            : QStringList{"pulseaudio", "parecord", "pactl"};
    for (const QString &program : programs) {
        if (QStandardPaths::findExecutable(program).isEmpty())
            return QStringLiteral("no %1 here").arg(program);
    }
    if (!m_pipeWire) {
        m_server.start(QStringLiteral("pulseaudio"),
                       {"-n", "--daemonize=no", "--exit-idle-time=-1", "--log-level=error",
                        "--load=module-native-protocol-unix auth-anonymous=1 socket=" + m_dir + "/native",
                        "--load=module-null-sink sink_name=test rate=48000 channels=1"});
        return QTest::qWaitFor([&] { return QFile::exists(m_dir + "/native"); }, 10000)
                   ? QString()
                   : QStringLiteral("pulseaudio did not start here");
    }
    m_server.start(QStringLiteral("pipewire"), {});
    if (!QTest::qWaitFor([&] { return QFile::exists(m_dir + "/pipewire-0"); }, 10000))
        return QStringLiteral("pipewire did not start here");
    m_bus.start(QStringLiteral("dbus-daemon"),
                {"--session", "--nofork", "--address=" + env.value("DBUS_SESSION_BUS_ADDRESS")});
    if (!QTest::qWaitFor([&] { return QFile::exists(m_dir + "/bus"); }, 10000))
        return QStringLiteral("dbus-daemon did not start here");
    m_manager.start(QStringLiteral("wireplumber"), {});
    // Ready once it has made the null sink the default.
    const bool ready = QTest::qWaitFor(
        [&] {
            return tool("wpctl", {"inspect", "@DEFAULT_AUDIO_SINK@"}).has_value();
        },
        15000);
    if (!ready)
        return QStringLiteral("wireplumber did not start here");
    m_service.start(QStringLiteral("pipewire-pulse"), {});
    return QTest::qWaitFor([&] { return QFile::exists(m_dir + "/pulse/native"); }, 10000)
               ? QString()
               : QStringLiteral("pipewire-pulse did not start here");
}

std::optional<QByteArray> SoundServer::tool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    if (!process.waitForFinished(5000) || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

QByteArray SoundServer::keyerStream()
{
    const QJsonArray objects = QJsonDocument::fromJson(tool("pw-dump", {}).value_or(QByteArray())).array();
    for (const QJsonValue &object : objects) {
        const QJsonObject props = object[QLatin1String("info")][QLatin1String("props")].toObject();
        if (props.value(QLatin1String("application.name")) == QLatin1String("vestranoli-keyer")
            && props.value(QLatin1String("media.class")) == QLatin1String("Stream/Output/Audio"))
            return QJsonDocument(props).toJson(QJsonDocument::Compact);
    }
    return {};
}

void SoundServer::stop()
{
    for (QProcess *process : {&m_service, &m_manager, &m_server, &m_bus}) {
        process->terminate();
        process->waitForFinished(5000);
    }
    for (const char *socket : {"/pipewire-0", "/native", "/bus", "/pulse/native"})
        QFile::remove(m_dir + socket);
}
