// musicdriver: runs the music module against the real platform, timed like
// the session, and prints every call it makes with its result.
//
//   musicdriver wav PATH SECONDS [AFTER]   WAV_Play, SECONDS later WAV_Stop
//   musicdriver mp3 PATH SECONDS [AFTER]   MP3_Open, MP3_Check every 1000 ms, then MP3_Close
//   musicdriver cd SECONDS [TRACK]         CD_Open, CD_Check every 200 ms while CD_Ok, then
//                                          CD_Close if the poll was still running
//
// After the stop the program lives AFTER more seconds (default 0), so a test
// can hear that the stop, not the end of the process, silenced the music.
// Output lines: "mci <command> -> <code> [<reply>]", "sound <name> <flags> -> <result>",
// "started", "stopped", "polls <n> cd_ok <0|1>", "checks <n>", "done".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "music.h"
#include "music_win32.h"

namespace {

void Line(const std::string& text) {
  std::printf("%s\n", text.c_str());
  std::fflush(stdout);
}

// Passes every call on to the platform and prints it.
class LoggingDevice final : public hz::MusicDevice {
 public:
  std::uint32_t SendString(const char* command, char* reply, std::uint32_t replySize) override {
    const std::uint32_t code = real_.SendString(command, reply, replySize);
    std::string line = std::string("mci ") + command + " -> " + std::to_string(code);
    if (code == 0 && replySize > 0) line += " " + std::string(reply, strnlen(reply, replySize));
    Line(line);
    return code;
  }
  bool GetErrorString(std::uint32_t code, char* text, std::uint32_t textSize) override {
    return real_.GetErrorString(code, text, textSize);
  }
  std::uint32_t WaveOutDeviceCount() override {
    const std::uint32_t n = real_.WaveOutDeviceCount();
    Line("wave devices " + std::to_string(n));
    return n;
  }
  bool PlaySoundName(const char* name, std::uint32_t flags) override {
    const bool ok = real_.PlaySoundName(name, flags);
    Line(std::string("sound ") + (name ? name : "(none)") + " " + std::to_string(flags) + " -> " +
         std::to_string(ok));
    return ok;
  }

 private:
  hz::win::Win32MusicDevice real_;
};

// Pumps messages for `ms`, calling `tick` on every tick of a `periodMs` thread timer
// while it returns true.
template <typename Tick>
void Run(DWORD ms, UINT periodMs, Tick tick) {
  const UINT_PTR timer = periodMs ? SetTimer(nullptr, 0, periodMs, nullptr) : 0;
  const UINT_PTR end = SetTimer(nullptr, 0, ms ? ms : 1, nullptr);
  bool ticking = timer != 0;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && msg.hwnd == nullptr) {
      if (msg.wParam == end) break;
      if (ticking && msg.wParam == timer && !tick()) {
        KillTimer(nullptr, timer);
        ticking = false;
      }
      continue;
    }
    DispatchMessageW(&msg);
  }
  KillTimer(nullptr, end);
  if (ticking) KillTimer(nullptr, timer);
}

DWORD Seconds(const char* text) { return static_cast<DWORD>(std::atof(text) * 1000.0); }

int Usage() {
  std::fprintf(stderr, "usage: musicdriver wav|mp3 PATH SECONDS [AFTER] | cd SECONDS [TRACK]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string mode = argv[1];
  LoggingDevice device;
  hz::MusicSettings settings;
  hz::Tovira_BGM bgm(device, settings);

  if (mode == "cd") {
    settings.BGM_Kind = hz::kMusicCd;
    settings.BGM_RepeatTrack = static_cast<std::int16_t>(argc > 3 ? std::atoi(argv[3]) : 0);
    bgm.CD_Open();
    Line("started");
    int polls = 0;
    bool polling = true;
    Run(Seconds(argv[2]), 200, [&] {
      bgm.CD_Check();
      ++polls;
      polling = bgm.CD_Ok();
      return polling;
    });
    Line("polls " + std::to_string(polls) + " cd_ok " + std::to_string(bgm.CD_Ok()));
    // The session closes the CD only while its poll is still running.
    if (polling) bgm.CD_Close();
    Line("stopped");
  } else if (mode == "wav" || mode == "mp3") {
    if (argc < 4) return Usage();
    settings.BGM_Kind = hz::kMusicFile;
    settings.BGM_File = argv[2];
    Line("type " + hz::MusicFileType(settings.BGM_File));
    const bool mp3 = mode == "mp3";
    if (mp3)
      bgm.MP3_Open();
    else
      bgm.WAV_Play();
    Line("started");
    int checks = 0;
    Run(Seconds(argv[3]), mp3 ? 1000 : 0, [&] {
      bgm.MP3_Check();
      ++checks;
      return true;
    });
    if (mp3) {
      bgm.MP3_Close();
      Line("checks " + std::to_string(checks));
    } else {
      bgm.WAV_Stop();
    }
    Line("stopped");
    if (argc > 4) Run(Seconds(argv[4]), 0, [] { return true; });
  } else {
    return Usage();
  }
  Line("done");
  return 0;
}
