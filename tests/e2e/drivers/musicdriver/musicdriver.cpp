// musicdriver: runs the music module against the real platform, timed like
// the session, and prints every call it makes with its result
// ("mci COMMAND -> CODE [REPLY]", "wave devices N", "sound NAME FLAGS -> RESULT"),
// then "polls N cd_ok 0|1" (cd), "stopped" and "done".
//
//   musicdriver wav PATH SECONDS [AFTER]   WAV_Play, SECONDS later WAV_Stop
//   musicdriver mp3 PATH SECONDS [AFTER]   MP3_Open, MP3_Check every 1000 ms, then MP3_Close
//   musicdriver cd SECONDS [TRACK]         CD_Open, CD_Check every 200 ms while CD_Ok, then
//                                          CD_Close if the poll still runs (as the session does)
//
// It lives AFTER seconds past the stop, so a test hears that the stop silenced the music.
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
  std::uint32_t SendString(const char* command, char* reply, std::uint32_t size) override {
    const std::uint32_t code = real_.SendString(command, reply, size);
    const std::string answer = code == 0 && size > 0 ? " " + std::string(reply, strnlen(reply, size)) : "";
    Line(std::string("mci ") + command + " -> " + std::to_string(code) + answer);
    return code;
  }
  bool GetErrorString(std::uint32_t code, char* text, std::uint32_t size) override {
    return real_.GetErrorString(code, text, size);
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

// Pumps messages for `seconds`, calling `tick` every `periodMs` (0: never) while it returns true.
template <typename Tick>
void Run(const char* seconds, UINT periodMs, Tick tick) {
  UINT_PTR timer = periodMs ? SetTimer(nullptr, 0, periodMs, nullptr) : 0;
  const UINT_PTR end = SetTimer(nullptr, 0, static_cast<UINT>(std::atof(seconds) * 1000.0) + 1, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0 && !(msg.message == WM_TIMER && msg.wParam == end)) {
    if (msg.message == WM_TIMER && timer && msg.wParam == timer && !tick()) {
      KillTimer(nullptr, timer);
      timer = 0;
    }
    DispatchMessageW(&msg);
  }
  KillTimer(nullptr, end);
  if (timer) KillTimer(nullptr, timer);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 2 ? argv[1] : "";
  LoggingDevice device;
  hz::MusicSettings settings;
  hz::Tovira_BGM bgm(device, settings);
  if (mode == "cd") {
    settings.BGM_Kind = hz::kMusicCd;
    settings.BGM_RepeatTrack = static_cast<std::int16_t>(argc > 3 ? std::atoi(argv[3]) : 0);
    bgm.CD_Open();
    int polls = 0;
    Run(argv[2], 200, [&] {
      bgm.CD_Check();
      ++polls;
      return bgm.CD_Ok();
    });
    Line("polls " + std::to_string(polls) + " cd_ok " + std::to_string(bgm.CD_Ok()));
    if (bgm.CD_Ok()) bgm.CD_Close();
    Line("stopped");
  } else if ((mode == "wav" || mode == "mp3") && argc > 3) {
    settings.BGM_Kind = hz::kMusicFile;
    settings.BGM_File = argv[2];
    const bool mp3 = mode == "mp3";
    mp3 ? bgm.MP3_Open() : bgm.WAV_Play();
    Run(argv[3], mp3 ? 1000 : 0, [&] {
      bgm.MP3_Check();
      return true;
    });
    mp3 ? bgm.MP3_Close() : bgm.WAV_Stop();
    Line("stopped");
    if (argc > 4) Run(argv[4], 0, [] { return true; });
  } else {
    std::fprintf(stderr, "usage: musicdriver wav|mp3 PATH SECONDS [AFTER] | cd SECONDS [TRACK]\n");
    return 2;
  }
  Line("done");
  return 0;
}
