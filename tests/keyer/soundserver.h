// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <optional>

// A sound server of the test's own with a null sink, in `dir`: PulseAudio,
// or PipeWire with WirePlumber (on a D-Bus session of its own) to link the
// keyer's stream to the sink, and its PulseAudio service, which the keyer
// may choose instead. `kind` is "PulseAudio", "PipeWire" or "PipeWire, no
// real-time"; the keyer is to run in `env`.
class SoundServer
{
public:
    SoundServer(const QString &kind, const QString &dir);
    ~SoundServer() { stop(); }

    QString start(); // empty when started; otherwise why not
    void stop();
    // What one of the server's tools prints, where it succeeds.
    std::optional<QByteArray> tool(const QString &program, const QStringList &arguments);
    // The properties of the keyer's stream at the server, as pw-dump says them.
    QByteArray keyerStream();

    QProcessEnvironment env;

private:
    bool m_pipeWire;
    QString m_dir;
    QProcess m_server;
    QProcess m_manager;
    QProcess m_bus;
    QProcess m_service;
};
