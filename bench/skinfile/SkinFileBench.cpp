// Times loading a folder skin whose Options.dat is large: one with very many
// sections (each with a colour and a parent), one whose sections form one
// long PARENTCLASS chain (each inherits from the one before it). Both skins
// are written to a scratch folder under %TEMP% and removed afterwards.
//   skinfile_bench.exe [sections] [chain] [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/common/BenchTiming.h"
#include "framework/Forms.h"
#include "framework/Handles.h"
#include "skin/engine/SkinManager.h"

namespace {

// A scratch folder below %TEMP%, removed with its files on exit.
class ScratchFolder {
 public:
  ScratchFolder() {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"tarnholt-skinfile-" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~ScratchFolder() {
    for (const std::wstring& f : files_) ::DeleteFileW(f.c_str());
    for (auto it = dirs_.rbegin(); it != dirs_.rend(); ++it) ::RemoveDirectoryW(it->c_str());
    ::RemoveDirectoryW(path_.c_str());
  }
  const std::wstring& Path() const { return path_; }
  void Write(const std::wstring& skin, const std::string& text) {
    std::wstring dir = path_ + L"\\" + skin;
    ::CreateDirectoryW(dir.c_str(), nullptr);
    dirs_.push_back(dir);
    std::wstring file = dir + L"\\Options.dat";
    UniqueKernelHandle h(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (h) ::WriteFile(h.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    files_.push_back(file);
  }

 private:
  std::wstring path_;
  std::vector<std::wstring> files_, dirs_;
};

std::string Header() { return "[GLOBALINFO]\r\nVERSION=1\r\nCOLOR=$C0C0C0\r\n"; }

// `count` sections after GLOBALINFO, each naming the first as its parent.
std::string ManySections(int count) {
  std::string text = Header() + "[S0]\r\nCOLOR=$102030\r\nFONTCOLOR=255\r\n";
  for (int i = 1; i < count; ++i)
    text += "[S" + std::to_string(i) + "]\r\nPARENTCLASS=S0\r\nHOTCOLOR=" + std::to_string(i) +
            "\r\n";
  return text;
}

// `length` sections, each inheriting from the one before it; the first one
// alone holds the colours.
std::string Chain(int length) {
  std::string text = Header() + "[C0]\r\nCOLOR=$102030\r\nFONTCOLOR=255\r\n";
  for (int i = 1; i < length; ++i)
    text += "[C" + std::to_string(i) + "]\r\nPARENTCLASS=C" + std::to_string(i - 1) + "\r\n";
  return text;
}

// Best of `runs` loads of the skin, in milliseconds; the section count of
// the last load goes to `sections`.
double BestLoadMs(const std::wstring& dir, const std::wstring& skin, int runs, size_t& sections) {
  double best = 1e300;
  for (int r = 0; r < runs; ++r) {
    std::unique_ptr<TsSkinManager> m(Construct<TsSkinManager>(nullptr));
    m->SetActive(false);
    m->SetSkinDirectory(dir);
    m->SetSkinName(skin);
    const double t0 = bench::Now();
    m->SetActive(true);
    best = std::min(best, (bench::Now() - t0) * 1000.0);
    sections = m->gd.size();
  }
  return best;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int sections = argc > 1 ? std::max(2, _wtoi(argv[1])) : 100000;
  const int chain = argc > 2 ? std::max(2, _wtoi(argv[2])) : 4000;
  const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 3;
  InitFramework();
  ScratchFolder folder;
  folder.Write(L"Many", ManySections(sections));
  folder.Write(L"Chain", Chain(chain));

  size_t loaded = 0;
  const double many = BestLoadMs(folder.Path(), L"Many", runs, loaded);
  std::printf("%d sections: load ms=%.1f (%zu records)\n", sections, many, loaded);
  folder.Write(L"Half", ManySections(sections / 2));
  const double half = BestLoadMs(folder.Path(), L"Half", runs, loaded);
  std::printf("%d sections: load ms=%.1f (%zu records); twice the sections cost x%.2f\n",
              sections / 2, half, loaded, many / half);
  const double chained = BestLoadMs(folder.Path(), L"Chain", runs, loaded);
  std::printf("%d-long PARENTCLASS chain: load ms=%.1f (%zu records)\n", chain, chained, loaded);
  return 0;
}
