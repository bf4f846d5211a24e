// Times TmFileScan against the platform floor on one folder tree, hot cache,
// best of several runs each, alternating so both see the same cache state.
//
//   FileScanBench.exe <folder> [runs]
//
// TmFileScan runs with the mask "*.*" and subfolders, an OnFileFound
// handler that only counts and a message loop that waits for its ready call.
// The floor is a bare recursive FindFirstFileExW walk that counts every
// entry and builds each full name, as any walker must.
// Prints "bare seconds=<best> median=<median> entries=<n>", the same for
// "tmfilescan", and their ratios.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/common/BenchTiming.h"
#include "app/cleanup/FileScan.h"
#include "framework/Threads.h"

namespace {

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

size_t nameBytes = 0;  // keeps the floor's names from being optimised away

long long BareWalk(const std::wstring& dir) {
  long long count = 0;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileExW((dir + L"*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                 nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return 0;
  do {
    const wchar_t* n = data.cFileName;
    if (n[0] == L'.' && (n[1] == 0 || (n[1] == L'.' && n[2] == 0))) continue;
    ++count;
    const std::wstring full = dir + n;
    nameBytes += full.size();
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
        !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
      count += BareWalk(full + L'\\');
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return count;
}

long long ScanOnce(const std::wstring& dir) {
  long long count = 0;
  bool ready = false;
  TmFileScan scan(nullptr);
  scan.Paths()->Add(dir);
  scan.Filters()->Add(L"*.*");
  scan.SubDirs = true;
  scan.OnFileFound = [&count](TObject*, const std::wstring&) { ++count; };
  scan.OnReady = [&ready](TObject*, bool, TStringList*) { ready = true; };
  scan.Start();
  while (!ready) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  return count;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fwprintf(stderr, L"usage: FileScanBench.exe <folder> [runs]\n");
    return 2;
  }
  std::wstring dir = argv[1];
  if (dir.back() != L'\\') dir += L'\\';
  const int runs = argc > 2 ? _wtoi(argv[2]) : 5;
  InitMainThreadSync();

  BareWalk(dir);  // warm Wine's and the host's caches
  std::vector<double> bare, scan;
  long long bareCount = 0, scanCount = 0;
  for (int r = 0; r < runs; ++r) {
    double t0 = bench::Now();
    bareCount = BareWalk(dir);
    bare.push_back(bench::Now() - t0);
    t0 = bench::Now();
    scanCount = ScanOnce(dir);
    scan.push_back(bench::Now() - t0);
    std::printf("run %d: bare %.3f s, tmfilescan %.3f s\n", r + 1, bare.back(), scan.back());
  }
  const double bestBare = *std::min_element(bare.begin(), bare.end());
  const double bestScan = *std::min_element(scan.begin(), scan.end());
  std::printf("bare seconds=%.3f median=%.3f entries=%lld\n", bestBare, Median(bare), bareCount);
  std::printf("tmfilescan seconds=%.3f median=%.3f entries=%lld\n", bestScan, Median(scan), scanCount);
  std::printf("tmfilescan / bare = %.2f best, %.2f median (goal <= 1.2)\n", bestScan / bestBare,
              Median(scan) / Median(bare));
  if (nameBytes == 0 || bareCount != scanCount) {
    std::printf("entry counts differ\n");
    return 1;
  }
  return 0;
}
