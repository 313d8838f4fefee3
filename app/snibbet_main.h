#pragma once

namespace snibbet {

// The program entry of Snibbet: start-up, the message loop, shut-down.
// Returns the process exit code.
int SnibbetMain();

}  // namespace snibbet
