// fwloader: the firmware uploader of the NOVALK flight controller.
//
//     fwloader [--port DEVICE]... [FIRMWARE.fcu]
//
// Without arguments the window offers the system's serial ports and waits for
// the user to choose a port and a firmware file.
#include "Application.h"
#include "CommandLine.h"
#include "MainWindow.h"
#include "WidgetsLook.h"

#include <QApplication>

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const uploader::CommandLine line = uploader::ParseCommandLine(QApplication::arguments());
    if (line.helpShown) {
        std::fputs(line.usage.c_str(), stdout);
        return 0;
    }
    if (!line.error.empty()) {
        std::fprintf(stderr, "fwloader: %s\n\n%s", line.error.c_str(), line.usage.c_str());
        return 2;
    }

    platform::ApplyLook(app);
    try {
        uploader::TForm1 form{serial::PortDiscovery(line.ports)};
        if (!line.firmwarePath.empty())
            form.Flow->ChooseFirmware(line.firmwarePath);
        form.show();
        return app.exec();
    } catch (const std::exception& error) {
        platform::ShowException(error);
        return 1;
    }
}
