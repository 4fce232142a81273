// A stand-in for the platform's media functions: a "cdaudio" drive (none,
// empty, or holding a disc) that answers like a real one while simulated time
// moves its position on, canned replies for anything else (the MPEGVideo
// driver knows no file unless told), the wave devices and the sound player.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "music.h"

namespace hz::testing {

// MCI's error codes, as the platform numbers them.
constexpr std::uint32_t kMciUnrecognized = 261, kMciBadDevice = 263, kMciNoDriver = 266, kMciOverflow = 268,
                        kMciBadInteger = 270, kMciNoFile = 275, kMciNotReady = 276, kMciOutOfRange = 282;

class FakeMusicDevice final : public MusicDevice {
 public:
  enum class Drive { None, Empty, Disc };

  void InsertDisc(const std::vector<int>& trackSeconds) {
    drive = Drive::Disc;
    cdPlaying = false;
    cdMs = 0;
    starts = {0};  // of each track in ms, and the disc's end
    for (int s : trackSeconds) starts.push_back(starts.back() + s * 1000);
  }
  void Advance(int ms) {
    if (cdPlaying && (cdMs += ms) >= starts.back()) {
      cdMs = starts.back();  // the drive stops at the end of the disc and stays there
      cdPlaying = false;
    }
  }
  int CurrentTrack() const {
    int track = 1;
    while (track < Tracks() && cdMs >= starts[static_cast<std::size_t>(track)]) ++track;
    return track;
  }
  // The commands sent since the last call.
  std::vector<std::string> TakeCommands() {
    std::vector<std::string> out;
    for (const auto& s : sent) out.push_back(s.first);
    sent.clear();
    return out;
  }

  std::uint32_t SendString(const char* command, char* reply, std::uint32_t replySize) override {
    sent.emplace_back(command, replySize);
    if (auto canned = answers.find(command); canned != answers.end()) {
      const auto& [code, bytes] = canned->second;  // copied raw: NULs and all, up to the buffer's end
      if (replySize > 0)
        std::memcpy(reply, bytes.data(),  // NOLINT(bugprone-not-null-terminated-result)
                    std::min<std::size_t>(replySize, bytes.size()));
      return code;
    }
    std::string text;
    const std::uint32_t code = Execute(command, text);
    if (code != 0 || replySize == 0) return code;
    if (text.size() >= replySize) return kMciOverflow;
    std::memcpy(reply, text.c_str(), text.size() + 1);
    return 0;
  }
  bool GetErrorString(std::uint32_t code, char* text, std::uint32_t textSize) override {
    errorTextSize = textSize;
    if (errorTextFails) return false;
    std::snprintf(text, textSize, "MCI error %u.", static_cast<unsigned>(code));
    return true;
  }
  std::uint32_t WaveOutDeviceCount() override { return waveDevices; }
  bool PlaySoundName(const char* name, std::uint32_t flags) override {
    sounds.emplace_back(name ? std::optional<std::string>(name) : std::nullopt, flags);
    return true;
  }

  std::vector<std::pair<std::string, std::uint32_t>> sent;  // command and reply buffer size
  std::uint32_t errorTextSize = 0;
  std::vector<std::pair<std::optional<std::string>, std::uint32_t>> sounds;
  std::map<std::string, std::pair<std::uint32_t, std::string>> answers;  // fixed replies to commands
  std::uint32_t waveDevices = 1;
  bool errorTextFails = false;
  Drive drive = Drive::None;
  bool cdPlaying = false;

 private:
  int Tracks() const { return static_cast<int>(starts.size()) - 1; }

  std::uint32_t Execute(const std::string& command, std::string& reply) {
    if (command == "open cdaudio") {
      cdOpen = drive != Drive::None;
      return cdOpen ? 0 : kMciNoDriver;
    }
    std::smatch m;
    if (std::regex_match(command, m, std::regex(R"((\w+) cdaudio(?: (.*))?)"))) return Cd(m[1], m[2], reply);
    return command.rfind("open ", 0) == 0 ? kMciNoFile : kMciBadDevice;
  }

  std::uint32_t Cd(const std::string& verb, const std::string& args, std::string& reply) {
    if (!cdOpen) return kMciBadDevice;
    if (verb == "close") return cdOpen = false, 0;  // closing does not stop the drive
    if (verb == "set" && args == "time format tmsf") return 0;
    if (drive != Drive::Disc) return kMciNotReady;
    std::smatch m;
    if (verb == "status" && args == "current track") return reply = std::to_string(CurrentTrack()), 0;
    if (verb == "status" && args == "number of tracks") return reply = std::to_string(Tracks()), 0;
    if (verb == "status" && args == "mode") return reply = cdPlaying ? "playing" : "stopped", 0;
    if (verb == "status" && std::regex_match(args, m, std::regex(R"(position track (\d+))"))) {
      const int track = std::stoi(m[1]);
      if (track < 1 || track > Tracks()) return kMciOutOfRange;
      return reply = (track < 10 ? "0" : "") + std::to_string(track) + ":00:00:00", 0;
    }
    if (verb == "stop") return cdPlaying = false, 0;
    if (verb == "play" && args.empty()) {
      if (cdMs >= starts.back()) cdMs = 0;  // a drive at the end starts the disc again
      return cdPlaying = true, 0;
    }
    if (verb == "play" && std::regex_match(args, m, std::regex(R"(from (\d\d):00:00:00)"))) {
      const int track = std::stoi(m[1]);
      if (track < 1 || track > Tracks()) return kMciOutOfRange;
      cdMs = starts[static_cast<std::size_t>(track - 1)];
      return cdPlaying = true, 0;
    }
    return verb == "play" ? kMciBadInteger : kMciUnrecognized;
  }

  bool cdOpen = false;
  int cdMs = 0;
  std::vector<int> starts = {0};
};

}  // namespace hz::testing
