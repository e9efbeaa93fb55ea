#include "SimulatorProcess.h"

#include <QDeadlineTimer>
#include <QTest>

namespace e2e {

SimulatorProcess::~SimulatorProcess()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate(); // SIGTERM: it closes the line and removes its link
    if (!process_.waitForFinished(10000)) {
        process_.kill();
        process_.waitForFinished(10000);
    }
}

bool SimulatorProcess::Start(const QStringList& options, std::string& error)
{
    if (!folder_.isValid()) {
        error = "no private folder: " + folder_.errorString().toStdString();
        return false;
    }
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(QStringLiteral(NOVALK_SIM_PATH),
                   QStringList{QStringLiteral("--link"), folder_.filePath(QStringLiteral("link"))} + options);
    const QDeadlineTimer deadline(StartDeadline);
    if (!process_.waitForStarted(static_cast<int>(deadline.remainingTime()))) {
        error = "novalk-sim did not start: " + process_.errorString().toStdString();
        return false;
    }
    while (!process_.canReadLine()) {
        if (deadline.hasExpired() || !process_.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
            error = "novalk-sim did not print its link; it said: " + Output();
            return false;
        }
    }
    link_ = process_.readLine().trimmed().toStdString();
    return true;
}

std::string SimulatorProcess::PathOf(const char* name) const
{
    return folder_.filePath(QString::fromLatin1(name)).toStdString();
}

bool SimulatorProcess::WaitForExit(std::chrono::milliseconds deadline)
{
    return QTest::qWaitFor([this] { return process_.state() == QProcess::NotRunning; },
                           static_cast<int>(deadline.count()));
}

std::string SimulatorProcess::Output()
{
    output_ += process_.readAll().toStdString();
    return output_;
}

} // namespace e2e
