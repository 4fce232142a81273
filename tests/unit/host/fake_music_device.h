// A stand-in for the platform's media functions that answers like the real
// devices: a "cdaudio" drive (none, empty, or holding a disc) whose position
// moves on as simulated time passes, the MPEGVideo driver playing files of a
// known length, the wave output devices and the sound player. It records
// every command with the buffer size it came with.
#pragma once

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "music.h"

namespace hz::testing {

// MCI's error codes, as the platform numbers them.
enum : std::uint32_t {
  kMciInvalidDeviceName = 263,
  kMciCannotLoadDriver = 266,
  kMciParamOverflow = 268,
  kMciBadInteger = 270,
  kMciFileNotFound = 275,
  kMciDeviceNotReady = 276,
  kMciOutOfRange = 282,
  kMciDuplicateAlias = 289,
  kMciUnrecognizedCommand = 261,
};

class FakeMusicDevice final : public MusicDevice {
 public:
  struct Sent {
    std::string command;
    std::uint32_t replySize;
  };
  struct Sound {
    std::optional<std::string> name;
    std::uint32_t flags;
  };
  // A fixed answer that overrides the simulated devices; `bytes` is copied
  // into the reply buffer as it stands, NULs and all.
  struct Answer {
    std::uint32_t code;
    std::string bytes;
  };

  enum class Drive { None, Empty, Disc };

  // The drive and what it holds; track lengths in whole seconds.
  void InsertDisc(const std::vector<int>& trackSeconds) {
    drive_ = Drive::Disc;
    tracksMs_.clear();
    for (int s : trackSeconds) tracksMs_.push_back(s * 1000);
    positionMs_ = 0;
    cdPlaying_ = false;
  }
  void EmptyDrive() { drive_ = Drive::Empty; }
  void RemoveDrive() { drive_ = Drive::None; }

  // A file the MPEGVideo driver can play.
  void AddFile(const std::string& path, int lengthMs) { files_[path] = lengthMs; }

  void Advance(int ms) {
    if (cdPlaying_) {
      positionMs_ = std::min(positionMs_ + ms, DiscMs());
      if (positionMs_ >= DiscMs()) cdPlaying_ = false;  // the drive stops at the end and stays there
    }
    for (auto& [alias, file] : open_) {
      if (!file.playing) continue;
      file.positionMs = std::min(file.positionMs + ms, file.lengthMs);
      if (file.positionMs >= file.lengthMs) file.playing = false;
    }
  }

  bool CdPlaying() const { return cdPlaying_; }
  int CurrentTrack() const {
    int start = 0;
    for (std::size_t i = 0; i < tracksMs_.size(); ++i) {
      start += tracksMs_[i];
      if (positionMs_ < start) return static_cast<int>(i) + 1;
    }
    return static_cast<int>(tracksMs_.size());
  }
  bool FilePlaying(const std::string& alias) const {
    auto it = open_.find(Lower(alias));
    return it != open_.end() && it->second.playing;
  }
  int FilePosition(const std::string& alias) const { return open_.at(Lower(alias)).positionMs; }

  std::vector<std::string> Commands() const {
    std::vector<std::string> out;
    for (const Sent& s : sent) out.push_back(s.command);
    return out;
  }
  // The commands sent since the last call.
  std::vector<std::string> TakeCommands() {
    std::vector<std::string> out = Commands();
    sent.clear();
    return out;
  }

  std::uint32_t SendString(const char* command, char* reply, std::uint32_t replySize) override {
    sent.push_back({command, replySize});
    auto canned = answers.find(command);
    if (canned != answers.end()) {
      // Raw bytes on purpose: a reply may hold a NUL or fill the whole buffer.
      if (replySize > 0)
        std::memcpy(reply,  // NOLINT(bugprone-not-null-terminated-result)
                    canned->second.bytes.data(),
                    std::min<std::size_t>(replySize, canned->second.bytes.size()));
      return canned->second.code;
    }
    std::string text;
    const std::uint32_t code = Execute(command, text);
    if (code != 0 || replySize == 0) return code;
    if (text.size() + 1 > replySize) return kMciParamOverflow;
    std::memcpy(reply, text.c_str(), text.size() + 1);
    return 0;
  }

  bool GetErrorString(std::uint32_t code, char* text, std::uint32_t textSize) override {
    errorTextSizes.push_back(textSize);
    if (errorTextFails || textSize == 0) return false;
    std::snprintf(text, textSize, "MCI error %u.", static_cast<unsigned>(code));
    return true;
  }

  std::uint32_t WaveOutDeviceCount() override { return waveDevices; }

  bool PlaySoundName(const char* name, std::uint32_t flags) override {
    sounds.push_back({name ? std::optional<std::string>(name) : std::nullopt, flags});
    return true;
  }

  std::vector<Sent> sent;
  std::vector<std::uint32_t> errorTextSizes;
  std::vector<Sound> sounds;
  std::map<std::string, Answer> answers;
  std::uint32_t waveDevices = 1;
  bool errorTextFails = false;

 private:
  struct OpenFile {
    int lengthMs;
    int positionMs = 0;
    bool playing = false;
  };

  static std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  }
  static std::vector<std::string> Words(const std::string& s) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < s.size()) {
      while (i < s.size() && s[i] == ' ') ++i;
      const std::size_t start = i;
      while (i < s.size() && s[i] != ' ') ++i;
      if (i > start) out.push_back(s.substr(start, i - start));
    }
    return out;
  }
  static std::string TwoDigits(int v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
  }

  int DiscMs() const {
    int total = 0;
    for (int t : tracksMs_) total += t;
    return total;
  }
  int TrackStartMs(int track) const {
    int start = 0;
    for (int i = 1; i < track; ++i) start += tracksMs_[static_cast<std::size_t>(i - 1)];
    return start;
  }

  // A position in the current time format ("tt:mm:ss:ff" or "mm:ss:ff", 75 frames a second).
  std::string FormatPosition(int track, int msIntoTrack) const {
    const int frames = msIntoTrack * 75 / 1000;
    const std::string msf =
        TwoDigits(frames / 75 / 60) + ":" + TwoDigits(frames / 75 % 60) + ":" + TwoDigits(frames % 75);
    return tmsf_ ? TwoDigits(track) + ":" + msf : msf;
  }
  std::optional<int> ParsePosition(const std::string& text) const {
    std::vector<int> parts;
    std::size_t start = 0;
    for (;;) {
      const std::size_t colon = text.find(':', start);
      const std::optional<int> part = Number(text.substr(start, colon - start));
      if (!part) return std::nullopt;
      parts.push_back(*part);
      if (colon == std::string::npos) break;
      start = colon + 1;
    }
    if (parts.size() != (tmsf_ ? 4u : 3u)) return std::nullopt;
    int trackStart = 0;
    if (tmsf_) {
      if (parts[0] < 1 || parts[0] > static_cast<int>(tracksMs_.size())) return std::nullopt;
      trackStart = TrackStartMs(parts[0]);
      parts.erase(parts.begin());
    }
    return trackStart + (parts[0] * 60 + parts[1]) * 1000 + parts[2] * 1000 / 75;
  }

  // Digits only, as MCI's parser takes them.
  static std::optional<int> Number(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0)
      return std::nullopt;
    return value;
  }

  std::uint32_t Execute(const std::string& command, std::string& reply) {
    const std::vector<std::string> w = Words(command);
    if (w.size() < 2) return kMciUnrecognizedCommand;
    const std::string verb = Lower(w[0]);
    if (verb == "open") return Open(command);
    const std::string device = Lower(w[1]);
    if (device == "cdaudio") return Cd(verb, w, reply);
    auto file = open_.find(device);
    if (file == open_.end()) return kMciInvalidDeviceName;
    return File(file, verb, w, reply);
  }

  std::uint32_t Open(const std::string& command) {
    if (Lower(command) == "open cdaudio") {
      if (drive_ == Drive::None) return kMciCannotLoadDriver;
      cdOpen_ = true;
      tmsf_ = false;
      return 0;
    }
    // open "PATH" type MPEGVideo Alias NAME; an unquoted path ends at the first space.
    std::string path, rest;
    if (command.compare(0, 6, "open \"") == 0) {
      const std::size_t close = command.find('"', 6);
      if (close == std::string::npos) return kMciUnrecognizedCommand;
      path = command.substr(6, close - 6);
      rest = command.substr(close + 1);
    } else {
      const std::size_t space = command.find(' ', 5);
      path = command.substr(5, space == std::string::npos ? std::string::npos : space - 5);
      rest = space == std::string::npos ? "" : command.substr(space);
    }
    const std::vector<std::string> w = Words(rest);
    if (w.size() != 4 || Lower(w[0]) != "type" || Lower(w[1]) != "mpegvideo" || Lower(w[2]) != "alias")
      return kMciUnrecognizedCommand;
    auto found = files_.find(path);
    if (found == files_.end()) return kMciFileNotFound;
    if (open_.count(Lower(w[3]))) return kMciDuplicateAlias;
    open_.emplace(Lower(w[3]), OpenFile{found->second});
    return 0;
  }

  std::uint32_t Cd(const std::string& verb, const std::vector<std::string>& w, std::string& reply) {
    if (!cdOpen_) return kMciInvalidDeviceName;
    const std::string args = w.size() > 2 ? Lower(Join(w, 2)) : "";
    if (verb == "close") {
      cdOpen_ = false;  // the drive plays on: closing does not stop it
      return 0;
    }
    if (verb == "set" && (args == "time format tmsf" || args == "time format msf")) {
      tmsf_ = args == "time format tmsf";
      return 0;
    }
    if (drive_ != Drive::Disc) return kMciDeviceNotReady;
    if (verb == "status") {
      if (args == "current track") {
        reply = std::to_string(CurrentTrack());
      } else if (args == "number of tracks") {
        reply = std::to_string(tracksMs_.size());
      } else if (args == "mode") {
        reply = cdPlaying_ ? "playing" : "stopped";
      } else if (w.size() == 5 && args.compare(0, 15, "position track ") == 0) {
        const std::optional<int> track = Number(w[4]);
        if (!track) return kMciBadInteger;
        if (*track < 1 || *track > static_cast<int>(tracksMs_.size())) return kMciOutOfRange;
        reply = tmsf_ ? FormatPosition(*track, 0) : FormatPosition(*track, TrackStartMs(*track));
      } else {
        return kMciUnrecognizedCommand;
      }
      return 0;
    }
    if (verb == "stop") {
      cdPlaying_ = false;
      return 0;
    }
    if (verb == "play") {
      if (w.size() == 2) {
        if (positionMs_ >= DiscMs()) positionMs_ = 0;  // a drive at the end of the disc starts it again
      } else if (w.size() == 4 && Lower(w[2]) == "from") {
        const std::optional<int> from = ParsePosition(w[3]);
        if (!from) return kMciBadInteger;
        if (*from >= DiscMs()) return kMciOutOfRange;
        positionMs_ = *from;
      } else {
        return kMciUnrecognizedCommand;
      }
      cdPlaying_ = true;
      return 0;
    }
    return kMciUnrecognizedCommand;
  }

  std::uint32_t File(std::map<std::string, OpenFile>::iterator file, const std::string& verb,
                     const std::vector<std::string>& w, std::string& reply) {
    OpenFile& f = file->second;
    const std::string args = w.size() > 2 ? Lower(Join(w, 2)) : "";
    if (verb == "close" && args.empty()) {
      open_.erase(file);
      return 0;
    }
    if (verb == "stop" && args.empty()) {
      f.playing = false;
      return 0;
    }
    if (verb == "status" && args == "mode") {
      reply = f.playing ? "playing" : "stopped";
      return 0;
    }
    if (verb == "play" && (args.empty() || args.compare(0, 5, "from ") == 0)) {
      if (!args.empty()) {
        const std::optional<int> from = Number(args.substr(5));
        if (!from) return kMciBadInteger;
        f.positionMs = *from;
      }
      f.playing = f.positionMs < f.lengthMs;
      return 0;
    }
    return kMciUnrecognizedCommand;
  }

  static std::string Join(const std::vector<std::string>& w, std::size_t from) {
    std::string out;
    for (std::size_t i = from; i < w.size(); ++i) out += (out.empty() ? "" : " ") + w[i];
    return out;
  }

  Drive drive_ = Drive::None;
  bool cdOpen_ = false;
  bool tmsf_ = false;
  bool cdPlaying_ = false;
  int positionMs_ = 0;
  std::vector<int> tracksMs_;
  std::map<std::string, int> files_;
  std::map<std::string, OpenFile> open_;
};

}  // namespace hz::testing
