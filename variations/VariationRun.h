// The run over the eighteen variations of a "Do It" call.
#pragma once

namespace zem {

// Plays every variation's action into its region; the outcome is left in RunStatus.
void RunVariations();

}  // namespace zem
