#include "startup.h"

namespace hz {

MainResult Main(StartupPlatform& platform, HostState& host) {
  // A running session or an open dialog wins over every new start, preview included.
  if (platform.WindowExists(kSessionTitle) || platform.WindowExists(kDialogTitle))
    return MainResult::EndProcess;

  const Dispatch dispatch = DispatchCommandLine(host.arguments);
  if (dispatch.mode == Mode::Preview) {
    platform.ShowPreview(dispatch.previewParent);
    return MainResult::KeepRunning;
  }

  platform.MakeDirectory(kWorkingFolder);
  Settings_Load(host.music, platform.Profiles(), host.programFolder);

  if (!platform.FileExists(host.programFolder + kRendererFile)) {
    platform.ShowMessage(kMissingRendererMessage, kApplicationTitle);
    return MainResult::EndProcess;
  }

  switch (dispatch.mode) {
    case Mode::Settings:
      platform.ShowSettingsDialog(host);
      return MainResult::EndProcess;
    case Mode::Saver:
      host.Cursor_Count = platform.HideCursor();
      [[fallthrough]];
    case Mode::SaverCursorVisible:
      platform.StartSession(host);
      return MainResult::KeepRunning;
    default:
      return MainResult::EndProcess;
  }
}

}  // namespace hz
