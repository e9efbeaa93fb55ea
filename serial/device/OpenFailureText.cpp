#include "OpenFailureText.h"

#include <grp.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace serial {
namespace {

std::string OwningGroup(const std::string& path)
{
    struct stat info{};
    if (stat(path.c_str(), &info) != 0)
        return {};
    if (const group* g = getgrgid(info.st_gid))
        return g->gr_name;
    return std::to_string(info.st_gid);
}

} // namespace

std::string DescribeOpenFailure(const std::string& path, int error)
{
    std::string text = path + ": " + std::strerror(error);
    if (error == EACCES || error == EPERM) {
        std::string group = OwningGroup(path);
        if (group.empty())
            group = "dialout";
        text += ". Your user must be in the group \"" + group +
                "\" that owns the device (sudo usermod -aG " + group + " $USER, then log in again)";
    } else if (error == EBUSY) {
        // Our own open asks for exclusive use, and so do other serial programs.
        text += ". Another program is using the port; close it and try again";
    }
    return text;
}

} // namespace serial
