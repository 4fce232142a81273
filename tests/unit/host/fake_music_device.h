// The platform's media functions as MCI answers them: each command gets the
// reply it was given (copied raw into the caller's buffer), anything else
// fails as for a device MCI does not know. Records commands and sounds.
#pragma once

#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "music.h"

namespace hz::testing {

constexpr std::uint32_t kMciBadDevice = 263, kMciNotReady = 276;

class FakeMusicDevice final : public MusicDevice {
 public:
  std::uint32_t SendString(const char* command, char* reply, std::uint32_t replySize) override {
    sent.emplace_back(command, replySize);
    const auto answer = answers.find(command);
    if (answer == answers.end()) return kMciBadDevice;
    const auto& [code, bytes] = answer->second;
    if (replySize > 0) std::memcpy(reply, bytes.data(), std::min<std::size_t>(replySize, bytes.size()));
    return code;
  }
  bool GetErrorString(std::uint32_t code, char* text, std::uint32_t textSize) override {
    errorTextSize = textSize;
    return !errorTextFails && std::snprintf(text, textSize, "MCI error %u.", static_cast<unsigned>(code)) > 0;
  }
  std::uint32_t WaveOutDeviceCount() override { return waveDevices; }
  bool PlaySoundName(const char* name, std::uint32_t flags) override {
    sounds.emplace_back(name ? std::optional<std::string>(name) : std::nullopt, flags);
    return true;
  }

  // The commands sent since the last call.
  std::vector<std::string> TakeCommands() {
    std::vector<std::string> out;
    for (const auto& s : std::exchange(sent, {})) out.push_back(s.first);
    return out;
  }
  // A drive holding a disc: track `current` of five, playing or stopped.
  void Disc(const std::string& current, const char* mode) {
    for (const char* ok : {"open cdaudio", "set cdaudio time format tmsf", "stop cdaudio", "close cdaudio"})
      answers[ok] = {0, ""};
    answers["status cdaudio current track"] = {0, current + '\0'};
    answers["status cdaudio number of tracks"] = {0, std::string("5", 2)};
    answers["status cdaudio mode"] = {0, std::string(mode) + '\0'};
    for (char t = '1'; t <= '5'; ++t)
      answers[std::string("status cdaudio position track ") + t] = {0, std::string("0") + t + ":00:00:00"};
  }

  std::vector<std::pair<std::string, std::uint32_t>> sent;  // command and reply buffer size
  std::map<std::string, std::pair<std::uint32_t, std::string>> answers;
  std::vector<std::pair<std::optional<std::string>, std::uint32_t>> sounds;
  std::uint32_t waveDevices = 1, errorTextSize = 0;
  bool errorTextFails = false;
};

}  // namespace hz::testing
