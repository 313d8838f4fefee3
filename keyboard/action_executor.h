#pragma once
// TQvActionExecute runs key bindings outside the keyboard hook. The hook only
// makes a binding the one pending action and switches the run timer on; the
// timer runs it from the message loop inside one own-input bracket, so that
// SnibbetCm holds the user's physical keys back while the program acts.
// There is no queue: while an action is pending the hook drops further ones.
// Window-free: timer, sound and what the actions open sit behind ExecutorPorts.
#include <cstdint>
#include <string_view>

namespace snibbet {

class TQvAction;
class TQvKeyboard;

// Sound slot of a run action.
inline constexpr int kSoundAction = 6;

class ExecutorPorts {
 public:
  virtual ~ExecutorPorts() = default;
  // The 10 ms run timer.
  virtual void StartRunTimer() = 0;
  virtual void StopRunTimer() = 0;
  virtual void PlaySound(int slot) = 0;
  // A line of the debug log.
  virtual void Log(std::wstring_view text) = 0;
  // Kind 8, parameter 1: the template editor, when it is open, comes to the
  // front (true); else the template pop-up opens.
  virtual bool BringTemplateEditorToFront() = 0;
  virtual void ShowTemplateView() = 0;
  // Kind 8, parameter 4: the keyboard window shown or hidden.
  virtual void ToggleKeyboardWindow() = 0;
  // Kind 3: the clipboard restored through the monitor.
  virtual void RunClipboardAction() = 0;
  // Kind 9: layout switching and text conversion.
  virtual void RunLayoutAction(const TQvAction& binding) = 0;
};

// The program's own-input bracket (the keyboard hook's).
class OwnInputBracket {
 public:
  virtual ~OwnInputBracket() = default;
  virtual bool BeginInputBlock() = 0;
  virtual bool EndInputBlock() = 0;
};

// Binding kinds the executor acts on.
inline constexpr std::uint8_t kKindKey = 2, kKindClipboard = 3, kKindStub = 7, kKindProgram = 8, kKindLayout = 9;
inline constexpr std::uint8_t kProgramShowTemplates = 1, kProgramToggleKeyboard = 4;

class TQvActionExecute {
 public:
  explicit TQvActionExecute(ExecutorPorts& ports) : ports_(ports) {}
  TQvActionExecute(const TQvActionExecute&) = delete;
  TQvActionExecute& operator=(const TQvActionExecute&) = delete;

  void SetBracket(OwnInputBracket* bracket) { bracket_ = bracket; }
  void SetModel(TQvKeyboard* model) { model_ = model; }

  TQvAction* PendingAction() const { return pending_; }
  void SetPendingAction(TQvAction* binding) { pending_ = binding; }
  void EnableRunTimer();
  bool RunTimerOn() const { return runTimerOn_; }
  // A binding about to be freed is no longer pending.
  void Forget(const TQvAction& binding);

  // The run timer's handler.
  void ExecuteAction();

 private:
  void RunBinding(TQvAction& binding);
  void ExecuteKeyAction(const TQvAction& binding);
  void ExecuteProgramAction(const TQvAction& binding);

  ExecutorPorts& ports_;
  OwnInputBracket* bracket_ = nullptr;
  TQvKeyboard* model_ = nullptr;
  TQvAction* pending_ = nullptr;
  bool runTimerOn_ = false;
};

}  // namespace snibbet
