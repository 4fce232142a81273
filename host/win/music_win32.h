// The music module's platform: MCI command strings, the count of wave output
// devices and the simple sound player.
#pragma once

#include "music.h"

namespace hz::win {

class Win32MusicDevice final : public MusicDevice {
 public:
  std::uint32_t SendString(const char* command, char* reply, std::uint32_t replySize) override;
  bool GetErrorString(std::uint32_t code, char* text, std::uint32_t textSize) override;
  std::uint32_t WaveOutDeviceCount() override;
  bool PlaySoundName(const char* name, std::uint32_t flags) override;
};

}  // namespace hz::win
