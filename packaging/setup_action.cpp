// HazumakiSetup.exe: the installer's steps that its table language cannot say,
// run by the installer from the program folder it installed.
//
//   select                         makes the Hazumaki.scr beside this program the
//                                  user's screensaver
//   remove PRODUCTCODE UPGRADECODE removes what the programs made (the settings file,
//                                  the hand-over files and their folder when that is
//                                  then empty) and forgets Hazumaki as the screensaver
//                                  if it still is; nothing when a newer version of the
//                                  product is installed, as after an upgrade
//
// The exit code is 0 when the step is done, 1 when it could not be, 2 for an unknown
// command line.
#include <windows.h>
// After windows.h, whose types they use.
#include <msi.h>
#include <shellapi.h>

#include <string>

namespace {

const wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
const wchar_t kSaverValue[] = L"SCRNSAVE.EXE";
const wchar_t kWorkFolder[] = L"C:\\k_arden";

std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L'\\'));
}

// The long, full form of a path, so that a short (8.3) name or another case of the
// same file compares equal; the path as given when the file cannot be found.
std::wstring Canonical(const std::wstring& path) {
  std::wstring full(MAX_PATH, L'\0');
  DWORD n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (n == 0 || n >= full.size()) return path;
  full.resize(n);
  std::wstring longer(32768, L'\0');
  n = GetLongPathNameW(full.c_str(), longer.data(), static_cast<DWORD>(longer.size()));
  if (n == 0 || n >= longer.size()) return full;
  longer.resize(n);
  return longer;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  std::wstring ca = Canonical(a), cb = Canonical(b);
  return CompareStringOrdinal(ca.c_str(), static_cast<int>(ca.size()), cb.c_str(), static_cast<int>(cb.size()),
                              TRUE) == CSTR_EQUAL;
}

bool SetText(HKEY key, const wchar_t* name, const std::wstring& text) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

int Select(const std::wstring& saver) {
  if (GetFileAttributesW(saver.c_str()) == INVALID_FILE_ATTRIBUTES) return 1;
  HKEY key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return 1;
  bool ok = SetText(key, kSaverValue, saver) && SetText(key, L"ScreenSaveActive", L"1");
  RegCloseKey(key);
  // The registry holds the choice; this tells the running session that the saver is on.
  SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, SPIF_SENDCHANGE);
  return ok ? 0 : 1;
}

bool AnotherVersionInstalled(const wchar_t* product, const wchar_t* upgrade) {
  wchar_t found[39];
  for (DWORD i = 0; MsiEnumRelatedProductsW(upgrade, 0, i, found) == ERROR_SUCCESS; ++i)
    if (CompareStringOrdinal(found, -1, product, -1, TRUE) != CSTR_EQUAL) return true;
  return false;
}

void ForgetSaver(const std::wstring& saver) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) != ERROR_SUCCESS)
    return;
  wchar_t value[MAX_PATH * 4] = {};
  DWORD type = 0, size = sizeof(value) - sizeof(wchar_t);
  if (RegQueryValueExW(key, kSaverValue, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ) && SamePath(value, saver))
    RegDeleteValueW(key, kSaverValue);
  RegCloseKey(key);
}

int Remove(const std::wstring& folder, const wchar_t* product, const wchar_t* upgrade) {
  if (AnotherVersionInstalled(product, upgrade)) return 0;
  ForgetSaver(folder + L"\\Hazumaki.scr");
  DeleteFileW((folder + L"\\Hazumaki.ini").c_str());
  for (const wchar_t* name : {L"\\Tovira01.bmp", L"\\Tovira02.bmp", L"\\Tovira03.bmp"})
    DeleteFileW((std::wstring(kWorkFolder) + name).c_str());
  // Only when empty: the user may keep files of their own there.
  RemoveDirectoryW(kWorkFolder);
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring folder = ProgramFolder();
  int result = 2;
  if (argv == nullptr || folder.empty())
    result = 1;
  else if (argc == 2 && lstrcmpiW(argv[1], L"select") == 0)
    result = Select(folder + L"\\Hazumaki.scr");
  else if (argc == 4 && lstrcmpiW(argv[1], L"remove") == 0)
    result = Remove(folder, argv[2], argv[3]);
  LocalFree(argv);
  return result;
}
