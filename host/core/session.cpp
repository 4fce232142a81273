#include "session.h"

namespace hz {

std::string TextureFilePath(int index) { return std::string(kWorkingFolder) + "\\" + kTextureFiles[index]; }

void Tovira_S::SetTimer(SessionTimer t, bool on) {
  enabled_[static_cast<int>(t)] = on;
  platform_.EnableTimer(t, on);
}

void Tovira_S::Load() {
  SetTimer(SessionTimer::Timer3, true);

  // The files are complete on disk before the renderer exists; one that
  // cannot be written is skipped and the renderer meets it missing.
  for (int i = 0; i < 3; ++i)
    if (const std::optional<Bitmap24> picture = platform_.Picture(i))
      WriteBitmapFile(TextureFilePath(i), *picture);

  const MusicSettings& music = host_.music;
  if (music.BGM_Kind == kMusicCd) {
    music_.CD_Open();
    SetTimer(SessionTimer::Timer2, true);  // playback begins at the first poll
  }
  if (music.BGM_Kind == kMusicFile) {
    const std::string type = MusicFileType(music.BGM_File);
    if (type == "WAV") music_.WAV_Play();
    if (type == "MP3") {
      music_.MP3_Open();
      SetTimer(SessionTimer::Timer1, true);
    }
  }

  rendererPath_ = host_.programFolder + kRendererFile;
  const bool started = platform_.StartRenderer(rendererPath_);
  watch_.emplace(platform_.TickCount(), started);
}

void Tovira_S::Timer1() {
  if (TimerEnabled(SessionTimer::Timer1)) music_.MP3_Check();
}

void Tovira_S::Timer2() {
  if (!TimerEnabled(SessionTimer::Timer2)) return;
  music_.CD_Check();
  SetTimer(SessionTimer::Timer2, music_.CD_Ok());
}

void Tovira_S::Timer3() {
  if (!TimerEnabled(SessionTimer::Timer3) || !watch_) return;
  const bool window = platform_.WindowExists(kRendererTitle);
  if (!watch_->Tick(platform_.TickCount(), window, window || platform_.RendererRunning())) return;
  SetTimer(SessionTimer::Timer3, false);
  CloseRequest();
}

void Tovira_S::CloseRequest() {
  // A message arriving while the process ends must not stop the music twice.
  if (closing_) return;
  closing_ = true;

  if (TimerEnabled(SessionTimer::Timer2)) {
    SetTimer(SessionTimer::Timer2, false);
    music_.CD_Close();  // a poll that stopped itself leaves the drive alone
  }
  if (host_.music.BGM_Kind == kMusicFile) {
    const std::string type = MusicFileType(host_.music.BGM_File);
    if (type == "WAV") music_.WAV_Stop();
    if (type == "MP3") {
      SetTimer(SessionTimer::Timer1, false);
      music_.MP3_Close();
    }
  }
  // Only a session that hid the cursor shows it again.
  if (ModeLetter(host_.arguments) == 'S')
    host_.Cursor_Count = platform_.ShowCursor(host_.Cursor_Count.value_or(0) != 0);
  platform_.EndProcess();
}

}  // namespace hz
