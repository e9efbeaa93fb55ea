#pragma once
// What to tell a user whose port would not open. A hobby pilot on Linux most
// often meets "Permission denied" because serial devices belong to a group the
// user is not in yet; the system's text alone does not say so.
#include <string>

namespace serial {

// The system's text for the error; for a denied permission which group owns
// the device and that the user must join it; for a busy port that another
// program holds it.
std::string DescribeOpenFailure(const std::string& path, int error);

} // namespace serial
