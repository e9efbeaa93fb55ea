#pragma once
// fwloader's command line:
//
//     fwloader [--port DEVICE]... [FIRMWARE.fcu]
//
// Ports named with --port come first in the port list, so the first of them is
// selected; a firmware path is taken as if chosen in the file dialog.
#include <QStringList>

#include <string>
#include <vector>

namespace uploader {

struct CommandLine {
    std::vector<std::string> ports;
    std::string firmwarePath; // full path, empty when none was given
    bool helpShown = false;   // --help: the usage was the whole answer
    std::string error;        // not empty when the line cannot be used
    std::string usage;
};

// Parses the arguments (the program's name first). A firmware file that does
// not exist is an error: the dialog would not have let the user choose it.
CommandLine ParseCommandLine(const QStringList& arguments);

} // namespace uploader
