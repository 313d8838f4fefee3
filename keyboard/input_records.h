#pragma once
// The records the keyboard hook shares with the hub above it: the binding
// list it runs, the word typed so far and what is known of the application
// in front. The program names each once and hands them to both.
namespace snibbet {

class ForegroundState;
class TKeyHistory;
class TQvActions;

struct InputRecords {
  TQvActions& bindings;
  TKeyHistory& keyHistory;
  ForegroundState& foreground;
};

}  // namespace snibbet
