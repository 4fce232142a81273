#include "music.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "conversions.h"

namespace hz {
namespace {

constexpr char kCdDevice[] = "cdaudio";
constexpr char kFileAlias[] = "MP3Play";

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// A buffer's text up to its first NUL, never past its end.
std::string BufferText(const char* buffer, std::size_t size) {
  return std::string(buffer, std::find(buffer, buffer + size, '\0'));
}

// How the poll recognises a failed query: "Error:" + code, in any case.
bool SaysError(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), UpperAscii);
  return text.find("ERR") != std::string::npos;
}

bool StartsWith7(const char* buffer, const char* word) { return std::memcmp(buffer, word, 7) == 0; }

}  // namespace

std::string MusicFileType(const std::string& file) {
  std::string type = file.size() > 3 ? file.substr(file.size() - 3) : file;
  std::transform(type.begin(), type.end(), type.begin(), UpperAscii);
  return type;
}

std::int32_t Tovira_BGM::MCI_Command(const std::string& command, std::string& message) {
  if (command.empty()) {
    message = kNoCommandMessage;
    return -1;
  }
  std::fill(std::begin(reply_), std::end(reply_), '\0');
  const std::uint32_t code = device_.SendString(command.c_str(), reply_, kReplyBufferSize);
  if (code == 0) {
    message = BufferText(reply_, kReplyBufferSize);
    return 0;
  }
  std::fill(std::begin(errorText_), std::end(errorText_), '\0');
  if (device_.GetErrorString(code, errorText_, kErrorTextBufferSize)) {
    message = BufferText(errorText_, kErrorTextBufferSize);
  } else {
    message = kNoErrorTextMessage;
  }
  return static_cast<std::int32_t>(code);
}

std::string Tovira_BGM::MCI_Query(const std::string& command) {
  std::string message;
  const std::int32_t code = MCI_Command(command, message);
  return code == 0 ? message : "Error:" + std::to_string(code);
}

std::int32_t Tovira_BGM::MCI_Play(const std::string& device, const std::string& from, const std::string& to) {
  std::string command = "play " + device;
  if (!from.empty()) command += " from " + from;
  if (!to.empty()) command += " to " + to;
  std::string message;
  return MCI_Command(command, message);
}

void Tovira_BGM::SendWithoutReply(const std::string& command) {
  device_.SendString(command.c_str(), nullptr, 0);
}

void Tovira_BGM::CD_Open() {
  SendWithoutReply(std::string("open ") + kCdDevice);
  SendWithoutReply(std::string("set ") + kCdDevice + " time format tmsf");
}

void Tovira_BGM::CD_Check() {
  cdOk_ = true;
  const std::string current = MCI_Query(std::string("status ") + kCdDevice + " current track");
  if (SaysError(current)) {
    cdOk_ = false;
    return;
  }
  const std::string count = MCI_Query(std::string("status ") + kCdDevice + " number of tracks");
  if (SaysError(count)) {
    cdOk_ = false;
    return;
  }
  // The mode buffer is not cleared: a failed query leaves the last mode in it.
  device_.SendString((std::string("status ") + kCdDevice + " mode").c_str(), cdMode_, kCdModeBufferSize);
  const bool stopped = StartsWith7(cdMode_, "stopped");

  const std::int16_t repeat = settings_.BGM_RepeatTrack;
  if (repeat != 0) {
    // A drive that answers with something other than a track number cannot be steered.
    const std::optional<double> track = ParseWholeNumber(current);
    if (!track) {
      cdOk_ = false;
      return;
    }
    if (stopped || *track != static_cast<double>(repeat)) {
      const std::string position =
          MCI_Query(std::string("status ") + kCdDevice + " position track " + std::to_string(repeat));
      MCI_Play(kCdDevice, position, "");
    }
  } else if (stopped) {
    MCI_Play(kCdDevice, "", "");
  }
}

void Tovira_BGM::CD_Close() {
  SendWithoutReply(std::string("stop ") + kCdDevice);
  SendWithoutReply(std::string("close ") + kCdDevice);
}

void Tovira_BGM::MP3_Open() {
  // Quoted, so a path with spaces is one argument.
  const std::string open = "open \"" + settings_.BGM_File + "\" type MPEGVideo Alias " + kFileAlias;
  if (device_.SendString(open.c_str(), nullptr, 0) == 0) SendWithoutReply(std::string("play ") + kFileAlias);
}

bool Tovira_BGM::MP3_IsPlaying() {
  device_.SendString((std::string("status ") + kFileAlias + " mode").c_str(), fileMode_, kFileModeBufferSize);
  return StartsWith7(fileMode_, "playing");
}

void Tovira_BGM::MP3_Check() {
  if (MP3_IsPlaying()) return;
  // "stop" first: after a file has ended by itself some drivers ignore a bare "play from 0".
  SendWithoutReply(std::string("stop ") + kFileAlias);
  SendWithoutReply(std::string("play ") + kFileAlias + " from 0");
}

void Tovira_BGM::MP3_Close() {
  SendWithoutReply(std::string("stop ") + kFileAlias);
  SendWithoutReply(std::string("close ") + kFileAlias);
}

void Tovira_BGM::WAV_Play() {
  if (device_.WaveOutDeviceCount() == 0) return;
  // No default sound: a file gone since the settings were read must not loop the system's beep.
  device_.PlaySoundName(settings_.BGM_File.c_str(), kSoundAsync | kSoundLoop | kSoundNoDefault);
}

void Tovira_BGM::WAV_Stop() { device_.PlaySoundName(nullptr, 0); }

}  // namespace hz
