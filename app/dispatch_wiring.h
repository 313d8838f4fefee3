#pragma once
// The data module's message dispatch reaches the keyboard hook and the
// template pop-up through these steps; wired once at start-up, after the
// keyboard runtime exists. Each step looks its part up when it runs, so it
// does nothing while that part is gone.
namespace snibbet {

void WireMessageDispatch();

}  // namespace snibbet
