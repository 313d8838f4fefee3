#include "core/input_helper_search.h"

namespace snibbet {

InputHelperSearchResult SearchInputHelper(const InputHelperSearchPorts& ports) {
  if (ports.look()) return InputHelperSearchResult::FoundRunning;
  ports.launch();
  for (int look = 0; look < kInputHelperLooks; ++look) {
    if (ports.look()) return InputHelperSearchResult::FoundStarted;
    if (!ports.wait(kInputHelperLookIntervalMs)) return InputHelperSearchResult::Abandoned;
  }
  return InputHelperSearchResult::NotFound;
}

}  // namespace snibbet
