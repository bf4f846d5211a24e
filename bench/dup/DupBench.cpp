// Times the duplicate finder's scan engine against the platform floor on one
// folder tree, hot cache, wall clock, several runs of each, alternating.
//
//   DupBench.exe <folder> <groups-out> [runs]
//
// engine: the whole scan with size and content criteria and subfolders; its
//   groups go to <groups-out> (one path per line, a blank line after each
//   group, UTF-8).
// floor: what any byte comparison must do: a bare FindFirstFileExW walk, one
//   open and a 4 KiB head read of every non-empty file that shares its size
//   with another, and the rest of every such file whose head equals the head
//   of another of its size, read to the end.
// Prints for both "seconds=<median> min=.. max=.." and the peak working set.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/common/BenchTiming.h"
#include "app/duplicates/DupScan.h"
#include "app/duplicates/DupTables.h"

namespace {

double PeakWorkingSetMb() {
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
  return static_cast<double>(pmc.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

std::string Utf8(const std::wstring& w) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

struct TEngineRun {
  double Seconds = 0, WalkSeconds = 0;
  TDupContentStats Stats;
};

TEngineRun EngineOnce(const std::wstring& folder) {
  DupPrepareScan({folder + L"\\"}, {false, true, true}, true);
  TEngineRun run;
  const double t0 = bench::Now();
  double walkEnd = 0;
  TDupScanHooks hooks;
  hooks.SetOperationName = [&](const std::wstring& text) {
    if (text == kDupPhaseCompare) walkEnd = bench::Now();
  };
  RunDuplicateScan(hooks, &run.Stats);
  run.Seconds = bench::Now() - t0;
  run.WalkSeconds = walkEnd - t0;
  return run;
}

struct TFloorRun {
  double Seconds = 0, WalkSeconds = 0;
  size_t Files = 0, Opened = 0, ReadOn = 0;
};

TFloorRun FloorOnce(const std::wstring& folder) {
  TFloorRun run;
  const double t0 = bench::Now();
  std::vector<std::wstring> dirs{folder + L"\\"};
  std::vector<std::pair<std::wstring, uint64_t>> found;
  for (size_t i = 0; i < dirs.size(); ++i) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileExW((dirs[i] + L"*").c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr,
                                FIND_FIRST_EX_LARGE_FETCH);
    if (h == INVALID_HANDLE_VALUE) continue;
    do {
      if (fd.cFileName[0] == L'.' && (!fd.cFileName[1] || (fd.cFileName[1] == L'.' && !fd.cFileName[2]))) continue;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        dirs.push_back(dirs[i] + fd.cFileName + L"\\");
      else
        found.emplace_back(dirs[i] + fd.cFileName, (static_cast<uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  run.WalkSeconds = bench::Now() - t0;
  // Files by size; heads of a size by content; the files of a head shared
  // by two or more are read on to the end through the handle of the head.
  std::map<uint64_t, std::vector<size_t>> bySize;
  for (size_t k = 0; k < found.size(); ++k)
    if (found[k].second) bySize[found[k].second].push_back(k);
  static std::vector<char> rest(1 << 20);
  for (const auto& [size, members] : bySize) {
    if (members.size() < 2) continue;
    std::map<std::string, std::vector<HANDLE>> byHead;
    for (size_t k : members) {
      HANDLE h = CreateFileW(found[k].first.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
      if (h == INVALID_HANDLE_VALUE) continue;
      char head[4096];
      DWORD got = 0;
      ReadFile(h, head, sizeof head, &got, nullptr);
      byHead[std::string(head, got)].push_back(h);
      ++run.Opened;
    }
    for (auto& [head, handles] : byHead) {
      if (handles.size() >= 2 && size > head.size())
        for (HANDLE h : handles) {
          DWORD got = 0;
          while (ReadFile(h, rest.data(), static_cast<DWORD>(rest.size()), &got, nullptr) && got) ++run.ReadOn;
        }
      for (HANDLE h : handles) CloseHandle(h);
    }
  }
  run.Seconds = bench::Now() - t0;
  run.Files = found.size();
  return run;
}

bool WriteGroups(const std::wstring& out) {
  std::map<uint32_t, std::vector<std::wstring>> groups;
  for (const TDupFileRec& rec : DupFiles) groups[rec.Group].push_back(GetFolderPath(rec.Folder) + rec.Name);
  FILE* f = _wfopen(out.c_str(), L"wb");
  if (!f) return false;
  for (const auto& [g, paths] : groups) {
    for (const std::wstring& p : paths) fprintf(f, "%s\n", Utf8(p).c_str());
    fprintf(f, "\n");
  }
  fclose(f);
  return true;
}

// Floor and engine alternate, so that a change in the machine's load hits
// both alike.
int Run(const std::wstring& folder, const std::wstring& out, int runs) {
  TFloorRun floor;
  TEngineRun engine;
  std::vector<double> floorTimes, engineTimes;
  for (int r = 0; r < runs; ++r) {
    floor = FloorOnce(folder);
    floorTimes.push_back(floor.Seconds);
    engine = EngineOnce(folder);
    engineTimes.push_back(engine.Seconds);
  }
  if (!WriteGroups(out)) return 2;
  const bench::Stats f = bench::Summarize(floorTimes), e = bench::Summarize(engineTimes);
  printf("floor seconds=%.3f min=%.3f max=%.3f walk_seconds=%.3f files=%zu opened=%zu\n", f.median, f.min, f.max,
         floor.WalkSeconds, floor.Files, floor.Opened);
  printf("engine seconds=%.3f min=%.3f max=%.3f walk_seconds=%.3f records=%zu opened=%llu read_mb=%.1f\n", e.median,
         e.min, e.max, engine.WalkSeconds, DupFiles.size(), static_cast<unsigned long long>(engine.Stats.FilesOpened),
         static_cast<double>(engine.Stats.BytesRead) / 1e6);
  printf("peak_ws_mb=%.1f\n", PeakWorkingSetMb());
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: DupBench <folder> <groups-out> [runs]\n");
    return 1;
  }
  return Run(argv[1], argv[2], argc >= 4 ? _wtoi(argv[3]) : 3);
}
