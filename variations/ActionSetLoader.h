// Loading the action set from the file shipped beside the module, for a Photoshop that has never
// had it loaded.
#pragma once

#include <cstdint>

namespace zem {

// The file the set is shipped in, beside the module.
extern const char kActionSetFileName[];

// Whether the host holds an action set of that name: action control Get on the set by name. Absent
// only for the host's "no such object"; any other failure says nothing either way (Unknown).
enum class SetPresence { Present, Absent, Unknown };
SetPresence FindActionSet(const char* setName);

// Loads the action file at `ansiPath` as the host's own scripts do: event 'Opn ' with the file as
// an alias under 'null'. Returns the host's code; a host that refuses the handle suite gets no call
// and its refusal back.
int32_t OpenActionFile(const char* ansiPath);

// Loads the set from the file shipped beside the module. Returns true when the host loaded it;
// false, with nothing else changed, when the file is missing or the load fails.
bool LoadActionSetBesideModule();

// After a failed play of the set's first action: loads the set from beside the module unless the
// host says it holds a set of that name, so that a host that cannot say still gets it and one that
// holds it never gets a second copy. Returns true when the host loaded it.
bool LoadActionSetUnlessPresent(const char* setName);

}  // namespace zem
