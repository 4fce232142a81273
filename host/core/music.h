// Background music: an audio CD driven by a poll, an MP3 file through the
// MPEGVideo driver, a WAV file through the simple sound player; all of it
// looped until the session ends.
#pragma once

#include <cstdint>
#include <string>

#include "settings_file.h"

namespace hz {

// The platform's media functions. Buffers are the caller's, NUL-filled and
// passed with their size, as the Win32 functions take them.
class MusicDevice {
 public:
  virtual ~MusicDevice() = default;
  // mciSendStringA: the reply goes into `reply` (nullptr with size 0 when
  // none is wanted); the result is MCI's error code, 0 on success.
  virtual std::uint32_t SendString(const char* command, char* reply, std::uint32_t replySize) = 0;
  // mciGetErrorStringA: false when the code has no text or the call failed.
  virtual bool GetErrorString(std::uint32_t code, char* text, std::uint32_t textSize) = 0;
  // waveOutGetNumDevs.
  virtual std::uint32_t WaveOutDeviceCount() = 0;
  // PlaySoundA without a module; a null name stops the sound playing.
  virtual bool PlaySoundName(const char* name, std::uint32_t flags) = 0;
};

// PlaySoundA's flags, with the platform's values.
inline constexpr std::uint32_t kSoundAsync = 0x0001;
inline constexpr std::uint32_t kSoundNoDefault = 0x0002;
inline constexpr std::uint32_t kSoundLoop = 0x0008;

// Sizes of the module's buffers, as passed to the platform.
inline constexpr std::uint32_t kReplyBufferSize = 512;
inline constexpr std::uint32_t kErrorTextBufferSize = 256;
inline constexpr std::uint32_t kCdModeBufferSize = 255;
inline constexpr std::uint32_t kFileModeBufferSize = 30;

// Our own texts, in UTF-8; error texts from the platform are in the ANSI code page.
inline constexpr char kNoCommandMessage[] = "コマンド文字列が指定されていません";
inline constexpr char kNoErrorTextMessage[] = "Error (文字列が取れません)";

// The music file's type as the session tells WAV from MP3: its last three
// characters upper-cased (ASCII only), or the whole name when it is shorter.
std::string MusicFileType(const std::string& file);

// The music module. It reads the settings at each call, so it sees what the
// host has loaded; its buffers keep their last replies between calls.
class Tovira_BGM {
 public:
  Tovira_BGM(MusicDevice& device, const MusicSettings& settings) : device_(device), settings_(settings) {}

  // Sends one command. Returns 0 and the reply, MCI's error code and its text,
  // or -1 without sending anything when the command is empty.
  std::int32_t MCI_Command(const std::string& command, std::string& message);
  // The reply, or "Error:" followed by the code in decimal.
  std::string MCI_Query(const std::string& command);
  // "play DEVICE[ from FROM][ to TO]"; the code of MCI_Command.
  std::int32_t MCI_Play(const std::string& device, const std::string& from, const std::string& to);

  void CD_Open();
  // The 200 ms poll: starts, restarts or repeats playback; false in CD_Ok
  // once the drive stops answering.
  void CD_Check();
  void CD_Close();
  bool CD_Ok() const { return cdOk_; }

  void MP3_Open();
  bool MP3_IsPlaying();
  // The 1000 ms check: plays the file again from its start once it is not playing.
  void MP3_Check();
  void MP3_Close();

  void WAV_Play();
  void WAV_Stop();

 private:
  void SendWithoutReply(const std::string& command);

  MusicDevice& device_;
  const MusicSettings& settings_;
  bool cdOk_ = false;
  char reply_[kReplyBufferSize] = {};
  char errorText_[kErrorTextBufferSize] = {};
  char cdMode_[kCdModeBufferSize] = {};
  char fileMode_[kFileModeBufferSize] = {};
};

}  // namespace hz
