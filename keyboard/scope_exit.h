#pragma once
// Runs a clean-up step when the scope ends, also when a step before it threw.
// A failure of the clean-up itself is swallowed: it runs while another
// exception may be on its way, and the executor reports none anyway.
#include <utility>

namespace snibbet {

template <class Step>
class ScopeExit {
 public:
  explicit ScopeExit(Step step) : step_(std::move(step)) {}
  ~ScopeExit() {
    try {
      step_();
    } catch (...) {
    }
  }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  Step step_;
};

}  // namespace snibbet
