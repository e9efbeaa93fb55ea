// flightdesk: the configuration console of the NOVALK flight controller.
//
//     flightdesk [--port DEVICE]...
//
// Ports named with --port (a USB adapter, a pseudo-terminal of the simulator)
// are listed first, so the first of them is selected; without them the window
// offers the system's serial ports.
#include "Application.h"
#include "ConsoleSession.h"
#include "MainWindow.h"
#include "WidgetsLook.h"

#include <QApplication>
#include <QCommandLineParser>

#include <exception>

namespace {

std::vector<std::string> NamedPorts(const QApplication& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("NOVALK flight controller console"));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("port"), QStringLiteral("List DEVICE first in the port list (repeatable)."),
                      QStringLiteral("DEVICE")});
    parser.process(app);
    std::vector<std::string> ports;
    for (const QString& port : parser.values(QStringLiteral("port")))
        ports.push_back(port.toStdString());
    return ports;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    platform::ApplyLook(app);
    // The title is the caption of every message box and error report: empty.
    platform::SetApplicationTitle("");
    try {
        console::ConsoleSession session{serial::PortDiscovery(NamedPorts(app))};
        console::TForm1 form(session);
        form.show();
        return app.exec();
    } catch (const std::exception& error) {
        platform::ShowException(error);
        return 1;
    }
}
