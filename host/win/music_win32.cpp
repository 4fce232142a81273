#include "music_win32.h"

#include <windows.h>
// After windows.h, whose types it uses.
#include <mmsystem.h>

namespace hz::win {

static_assert(kSoundAsync == SND_ASYNC && kSoundNoDefault == SND_NODEFAULT && kSoundLoop == SND_LOOP,
              "the module's sound flags are the platform's");

std::uint32_t Win32MusicDevice::SendString(const char* command, char* reply, std::uint32_t replySize) {
  // No callback window: nothing is sent with "notify".
  return mciSendStringA(command, replySize ? reply : nullptr, replySize, nullptr);
}

bool Win32MusicDevice::GetErrorString(std::uint32_t code, char* text, std::uint32_t textSize) {
  return mciGetErrorStringA(code, text, textSize) != FALSE;
}

std::uint32_t Win32MusicDevice::WaveOutDeviceCount() { return waveOutGetNumDevs(); }

bool Win32MusicDevice::PlaySoundName(const char* name, std::uint32_t flags) {
  return PlaySoundA(name, nullptr, flags) != FALSE;
}

}  // namespace hz::win
