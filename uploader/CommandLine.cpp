#include "CommandLine.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace uploader {

CommandLine ParseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("NOVALK flight controller firmware uploader"));
    const QCommandLineOption help = parser.addHelpOption();
    parser.addOption({QStringLiteral("port"), QStringLiteral("List DEVICE first in the port list (repeatable)."),
                      QStringLiteral("DEVICE")});
    parser.addPositionalArgument(QStringLiteral("firmware"), QStringLiteral("The firmware file to send."),
                                 QStringLiteral("[FIRMWARE.fcu]"));

    CommandLine line;
    line.usage = parser.helpText().toStdString();
    if (!parser.parse(arguments)) {
        line.error = parser.errorText().toStdString();
        return line;
    }
    if (parser.isSet(help)) {
        line.helpShown = true;
        return line;
    }
    for (const QString& port : parser.values(QStringLiteral("port")))
        line.ports.push_back(port.toStdString());

    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1) {
        line.error = "Only one firmware file can be sent at a time.";
        return line;
    }
    if (positional.size() == 1) {
        const QFileInfo firmware(positional.front());
        if (!firmware.isFile()) {
            line.error = "Firmware file not found: " + positional.front().toStdString();
            return line;
        }
        line.firmwarePath = firmware.absoluteFilePath().toStdString();
    }
    return line;
}

} // namespace uploader
