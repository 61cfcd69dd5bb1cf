#pragma once

#include "services/AnsiText.h"
#include "services/FileSystem.h"
#include "services/ProgramStart.h"
#include "services/Registry.h"

namespace vostrel {

// The system services the windows work with, handed down so tests can give others.
struct Services {
    const FileSystem& files;
    const AnsiText& text;
    const Registry& registry;
    const ProgramStart& programs;
};

inline Services systemServices() {
    return {systemFileSystem(), systemAnsiText(), systemRegistry(), systemProgramStart()};
}

}  // namespace vostrel
