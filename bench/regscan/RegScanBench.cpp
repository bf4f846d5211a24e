// Times the registry cleaner's value pass over a seeded scratch tree under
// HKCU, against the platform floor (a bare enumeration of the same keys and
// values with their data), best of several runs.
//
//   RegScanBench.exe <keys> <values-per-key> [runs]
//
// Seeds HKCU\Software\TarnholtBench\<pid>: 200 group keys, each with its share
// of the subkeys, <keys> keys in all and <values-per-key> values in each,
// a mix of dead file references, existing files, texts that are no paths,
// paths on a missing drive, expandable strings and numbers. Deletes the tree
// at the end. Prints seconds, keys per second and values per second.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/common/BenchTiming.h"
#include "app/registry/CleanThread.h"

namespace {

void SetSz(HKEY key, const std::wstring& name, const std::wstring& text, DWORD type = REG_SZ) {
  RegSetValueExW(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

wchar_t MissingDrive() {
  const DWORD drives = GetLogicalDrives();
  for (wchar_t d = L'Y'; d > L'B'; --d)
    if (!(drives & (1u << (d - L'A')))) return d;
  return L'B';
}

// The text of value v of key k: ten kinds used in turn. Type REG_SZ unless
// `type` says otherwise.
std::wstring ValueText(int keyIndex, int v, wchar_t missing, DWORD& type) {
  const std::wstring k = std::to_wstring(keyIndex);
  type = REG_SZ;
  switch (v % 10) {
    case 0: return L"C:\\TarnholtBench\\Gone\\k" + k + L"\\app.exe -start";
    case 1: return L"C:\\TarnholtBench\\Gone\\lib" + k + L".dll,12";
    case 2: return L"C:\\Program Files\\Gone " + k + L"\\tool.exe";
    case 3: return L"C:\\windows\\system32\\notepad.exe";
    case 4: return L"C:\\windows\\system32\\shell32.dll,-" + k;
    case 5: return L"Some display name " + k;
    case 6: return L"{B3F4C5D6-0000-4000-8000-" + k + L"}";
    case 7: return std::wstring(1, missing) + L":\\Gone\\x" + k + L".exe";
    case 8: type = REG_EXPAND_SZ; return L"%SystemRoot%\\Gone\\y" + k + L".exe";
    default: type = REG_DWORD; return {};
  }
}

void SeedValues(HKEY key, int keyIndex, int count, wchar_t missing) {
  for (int v = 0; v < count; ++v) {
    const std::wstring name = L"v" + std::to_wstring(v);
    DWORD type;
    const std::wstring text = ValueText(keyIndex, v, missing, type);
    if (type == REG_DWORD) {
      const DWORD n = static_cast<DWORD>(keyIndex);
      RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&n), 4);
    } else {
      SetSz(key, name, text, type);
    }
  }
}

HKEY Create(HKEY parent, const std::wstring& name) {
  HKEY key = nullptr;
  RegCreateKeyExW(parent, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  return key;
}

// The floor: every key opened by name, its values enumerated with data.
void FloorWalk(HKEY key, long& keys, long& values) {
  std::vector<wchar_t> name(16384);
  std::vector<BYTE> data(4096);
  for (DWORD i = 0;; ++i) {
    DWORD nameLen = static_cast<DWORD>(name.size()), dataLen = static_cast<DWORD>(data.size()),
          type = 0;
    if (RegEnumValueW(key, i, name.data(), &nameLen, nullptr, &type, data.data(), &dataLen) !=
        ERROR_SUCCESS)
      break;
    ++values;
  }
  wchar_t sub[256];
  for (DWORD i = 0;; ++i) {
    DWORD len = 256;
    if (RegEnumKeyExW(key, i, sub, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    HKEY child = nullptr;
    if (RegOpenKeyExW(key, sub, 0, KEY_READ, &child) != ERROR_SUCCESS) continue;
    ++keys;
    FloorWalk(child, keys, values);
    RegCloseKey(child);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int keys = argc > 1 ? _wtoi(argv[1]) : 20000;
  const int perKey = argc > 2 ? _wtoi(argv[2]) : 10;
  const int runs = argc > 3 ? _wtoi(argv[3]) : 3;
  const std::wstring sub = L"Software\\TarnholtBench\\" + std::to_wstring(GetCurrentProcessId());
  const int groups = 200;
  const wchar_t missing = MissingDrive();

  double t0 = bench::Now();
  HKEY root = Create(HKEY_CURRENT_USER, sub);
  int made = 0;
  for (int g = 0; g < groups && made < keys; ++g) {
    HKEY group = Create(root, L"Group" + std::to_wstring(g));
    SeedValues(group, made++, perKey, missing);
    const int children = (keys - groups) / groups + (g < (keys - groups) % groups ? 1 : 0);
    for (int c = 0; c < children && made < keys; ++c) {
      HKEY child = Create(group, L"Key" + std::to_wstring(c));
      SeedValues(child, made++, perKey, missing);
      RegCloseKey(child);
    }
    RegCloseKey(group);
  }
  RegCloseKey(root);
  std::printf("seeded keys=%d values=%d in %.1f s\n", made, made * perKey, bench::Now() - t0);

  // The value rules alone over the same texts, without the registry.
  double bestRules = 1e9;
  for (int r = 0; r < runs; ++r) {
    TVolumeSerials volumes;
    long dead = 0;
    const double t = bench::Now();
    for (int k = 0; k < made; ++k)
      for (int v = 0; v < perKey; ++v) {
        DWORD type;
        const std::wstring text = ValueText(k, v, missing, type);
        if (type == REG_SZ && IsDeadFileReference(text, volumes)) ++dead;
      }
    bestRules = std::min(bestRules, bench::Now() - t);
    if (r == 0) std::printf("rules dead=%ld\n", dead);
  }

  double bestFloor = 1e9, bestScan = 1e9;
  long floorKeys = 0, floorValues = 0, rows = 0;
  for (int r = 0; r < runs; ++r) {
    HKEY key = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, sub.c_str(), 0, KEY_READ, &key);
    floorKeys = floorValues = 0;
    double t = bench::Now();
    FloorWalk(key, floorKeys, floorValues);
    bestFloor = std::min(bestFloor, bench::Now() - t);
    RegCloseKey(key);

    TCleanThread thread;  // never started: its walk runs here, rows come straight back
    long found = 0;
    thread.OnFinding = [&found](const TRegFinding&) { ++found; };
    thread.Running = true;
    TRegistry reg(KEY_READ);
    reg.SetRootKey(HKEY_CURRENT_USER);
    const std::wstring start = L"\\" + sub;
    t = bench::Now();
    WalkRegKeys(thread, reg, start, start, L"", 1);
    bestScan = std::min(bestScan, bench::Now() - t);
    rows = found;
  }

  std::printf("floor seconds=%.3f keys=%ld values=%ld keys_per_s=%.0f values_per_s=%.0f\n",
              bestFloor, floorKeys, floorValues, floorKeys / bestFloor, floorValues / bestFloor);
  std::printf("scan  seconds=%.3f keys=%d values=%d keys_per_s=%.0f values_per_s=%.0f rows=%ld\n",
              bestScan, made, made * perKey, made / bestScan, made * perKey / bestScan, rows);
  std::printf("rules seconds=%.3f (the value tests alone, no registry)\n", bestRules);
  std::printf("scan / floor = %.2f\n", bestScan / bestFloor);

  RegDeleteTreeW(HKEY_CURRENT_USER, sub.c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, sub.c_str());
  return 0;
}
