// Varnock.exe, the options program: switches start-with-Windows and the
// shell extension machine-wide, which needs administrator rights, so the
// main program starts it elevated. Its command line:
//   "<full file name of Snibbet.exe>" <0|1> <0|1|2>
// The first switch writes (1) or deletes (0) the machine's Run value
// "Snibbet" holding that file name exactly; the second creates (1) or
// deletes (0) the shell extension's class key, 2 leaves it as it is.
// Exit code 0 when done, 1 for a wrong command line (nothing is changed),
// 2 when the registry refused a change.
// For tests, two environment variables: VARNOCK_COMMAND_LOG names a file to
// which each run appends its whole command line (one UTF-8 line), and
// VARNOCK_DELAY_MS makes it wait that long before it changes anything, as a
// user slow at the elevation prompt would.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValue[] = L"Snibbet";
constexpr wchar_t kExtensionClassKey[] = L"CLSID\\{6B54FAD7-7ACD-4156-888D-118547A98218}";
constexpr wchar_t kExtensionServerKey[] = L"CLSID\\{6B54FAD7-7ACD-4156-888D-118547A98218}\\InprocServer32";

constexpr int kDone = 0, kWrongCommandLine = 1, kRegistryRefused = 2;

constexpr wchar_t kCommandLogVariable[] = L"VARNOCK_COMMAND_LOG";
constexpr wchar_t kDelayVariable[] = L"VARNOCK_DELAY_MS";

std::wstring Environment(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(value, length) : std::wstring();
}

void RecordCommandLine(const wchar_t* commandLine) {
  const std::wstring logFile = Environment(kCommandLogVariable);
  if (logFile.empty()) return;
  const std::wstring line = std::wstring(commandLine) + L"\n";
  const int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr,
                                       nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), bytes.data(), size, nullptr, nullptr);
  HANDLE file = CreateFileW(logFile.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

enum class Switch { Off, On, Unchanged };

bool ParseSwitch(const wchar_t* text, bool mayStayUnchanged, Switch& result) {
  const std::wstring value(text);
  if (value == L"0") result = Switch::Off;
  else if (value == L"1") result = Switch::On;
  else if (value == L"2" && mayStayUnchanged) result = Switch::Unchanged;
  else return false;
  return true;
}

bool SetStartWithWindows(bool on, const std::wstring& program) {
  if (!on) {
    const LONG status = RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRunKey, kRunValue);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
  }
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return false;
  const LONG status = RegSetValueExW(key, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(program.c_str()),
                                     static_cast<DWORD>((program.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

// The class key alone is what the main program looks for; no extension
// library of this system goes with it.
bool SetShellExtension(bool on) {
  if (!on) {
    const LONG status = RegDeleteTreeW(HKEY_CLASSES_ROOT, kExtensionClassKey);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
  }
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, kExtensionServerKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

int Run(int argc, wchar_t** argv) {
  Switch startWithWindows = Switch::Off, shellExtension = Switch::Off;
  if (argc != 4 || argv[1][0] == L'\0' || !ParseSwitch(argv[2], false, startWithWindows) ||
      !ParseSwitch(argv[3], true, shellExtension))
    return kWrongCommandLine;
  bool done = SetStartWithWindows(startWithWindows == Switch::On, argv[1]);
  if (shellExtension != Switch::Unchanged) done = SetShellExtension(shellExtension == Switch::On) && done;
  return done ? kDone : kRegistryRefused;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  RecordCommandLine(GetCommandLineW());
  if (const std::wstring delay = Environment(kDelayVariable); !delay.empty())
    Sleep(static_cast<DWORD>(std::wcstoul(delay.c_str(), nullptr, 10)));
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) return kWrongCommandLine;
  const int result = Run(argc, argv);
  LocalFree(argv);
  return result;
}
