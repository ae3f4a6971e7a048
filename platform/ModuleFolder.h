// Files that lie beside the plug-in's module, named as the host's file aliases take them.
#pragma once

#include <cstddef>

namespace zem {

// Writes the full path of the file `fileName` in the module's folder into `path`, zero-terminated
// in the ANSI code page, which is what an alias handle holds on Windows. A folder whose name that
// code page cannot hold is given by its short (8.3) name. Returns false, with nothing to use in
// `path`, when the file is absent or is a folder, or its path cannot be written in the code page
// or does not fit `capacity` bytes.
bool FileBesideModule(const char* fileName, char* path, size_t capacity) noexcept;

// The module's folder when it is given here instead of found (ending in a separator): the core
// built off Windows has no module of its own, and its tests name one.
extern const char* ModuleFolderOverride;

}  // namespace zem
