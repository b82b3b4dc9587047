// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyerprocess.h"

#include "common/frames.h"

#include <QTest>

#include <csignal>
#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

KeyerProcess::~KeyerProcess()
{
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(5000);
    }
}

bool KeyerProcess::start(const QStringList &arguments)
{
    process.setProgram(QStringLiteral(VESTRANOLI_KEYER_PROGRAM));
    // In a session of its own, as a desktop starts it; a test that crashes
    // takes its keyer with it, even one too stuck to end on a signal it
    // handles.
    process.setChildProcessModifier([withoutRealTime = withoutRealTime] {
        setsid();
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (withoutRealTime) { // as an ordinary user: no CAP_SYS_NICE after exec, even as root, and no real-time limit
            prctl(PR_CAPBSET_DROP, CAP_SYS_NICE, 0, 0, 0);
            const rlimit none{0, 0};
            setrlimit(RLIMIT_RTPRIO, &none);
        }
    });
    process.setArguments(arguments);
    process.start();
    const auto saidOrEnded = [&] {
        return process.canReadLine() || process.state() == QProcess::NotRunning;
    };
    if (!process.waitForStarted(5000) || !QTest::qWaitFor(saidOrEnded, 10000))
        return false;
    m_device = QString::fromLocal8Bit(process.readLine()).trimmed();
    return m_device.startsWith(QLatin1String("/dev/"));
}

QByteArray KeyerProcess::errors()
{
    m_errors += process.readAllStandardError();
    return m_errors;
}

bool KeyerProcess::waitForError(const QByteArray &text, int timeoutMs)
{
    return QTest::qWaitFor([&] { return errors().contains(text); }, timeoutMs);
}

bool KeyerProcess::stop()
{
    process.terminate();
    const bool ended = QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 10000);
    errors();
    return ended && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool answerKeyer(KeyerProcess &keyer, TrainerLine &trainer)
{
    if (!trainer.open(keyer.device()) || !trainer.waitFor("x"))
        return false;
    trainer.send(handshakeReply());
    const bool answered = keyer.waitForError("the trainer answered");
    trainer.takeReceived();
    return answered;
}
