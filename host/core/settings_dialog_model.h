// The settings dialog's rules, apart from its window: which controls each
// music kind enables, the track field's text in both directions, what the
// confirm button writes, the window's place on the screen, its background
// gradients and the stored settings of its three push buttons.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/property_bag.h"
#include "profile.h"
#include "settings_file.h"

namespace hz {

// Marks, track field and file button for a music kind. A kind outside 0..2
// (only possible from an edited file) fills no mark and enables neither.
struct ChoiceControls {
  std::array<bool, 3> markFilled{};  // by choice number 0, 1, 2
  bool repeatEnabled = false;
  bool fileButtonEnabled = false;
};
ChoiceControls ControlsForKind(std::int16_t kind);

// A track number as the field shows it: 0 is the empty text.
std::string FormatTrack(std::int16_t track);

// The field's list: an empty entry, then "1" to "30".
std::vector<std::string> TrackEntries();

// Full-width ASCII forms (as a Japanese input method types them) and the
// ideographic space become their plain ASCII characters; the rest stays.
std::string NarrowWidthForms(std::string_view utf8);

// The track field's text as a track: a number rounds to the nearest whole
// number, halves to even; anything else is 0. Nothing when the number does
// not fit 16 bits.
std::optional<std::int16_t> TrackFromField(std::string_view utf8);

enum class ConfirmResult { Saved, TrackOutOfRange, SaveFailed };

// The confirm button: checks the track and that the settings file can be
// written, and writes nothing at all when either fails; otherwise takes the
// track into the settings and writes the three keys. A write that fails
// anyway is SaveFailed too: the dialog stays open rather than lose the choice.
ConfirmResult ConfirmSettings(MusicSettings& settings, std::string_view trackFieldUtf8, ProfileStore& store,
                              const std::string& programFolder);

// A path from the open-file dialog, in the ANSI code page, before it is kept.
enum class ChosenPathCheck { Accepted, NotRepresentable, TooLong };
// The settings file gives a value back through a 256-byte buffer.
inline constexpr std::size_t kLongestStoredPath = 255;
ChosenPathCheck CheckChosenPath(std::string_view ansiPath, bool representable);

// Refusals the dialog shows (UTF-8).
inline constexpr char kTrackOutOfRangeMessage[] = "曲目には -32768 から 32767 までの数を入力してください。";
inline constexpr char kPathNotRepresentableMessage[] =
    "このﾌｧｲﾙ名にはこのｼｽﾃﾑで保存できない文字が含まれています。別のﾌｧｲﾙを選んでください。";
inline constexpr char kPathTooLongMessage[] = "ﾌｧｲﾙ名が長すぎるため保存できません。";
inline constexpr char kSaveFailedMessage[] =
    "設定を保存できませんでした。Hazumaki.ini に書き込めるか確かめてください。";

// Window placement in pixels: centred across, a third of the free height
// above. Each difference is taken in twips and divided without remainder.
struct Placement {
  int left = 0, top = 0;
};
Placement PlaceDialog(int screenWidth, int screenHeight, int windowWidth, int windowHeight);

// The background: for every row 0..height, |sin(y / k)| * 220 rounded, with
// k = height / 3.142.
std::vector<int> SineGradientRows(int height);

struct Rgb {
  std::uint8_t red = 0, green = 0, blue = 0;
};
// Form: dark blue to light blue-grey; panel: dark grey to near white.
Rgb FormGradientColour(int v);
Rgb PanelGradientColour(int v);

// The three push buttons as the dialog stores them: each keeps only its
// caption and font, everything else at its default.
inline constexpr char kCmdFileCaption[] = "...";
inline constexpr char kCmdSetCaption[] = "設定";
inline constexpr char kCmdCanCaption[] = "ｷｬﾝｾﾙ";
controls::FontDescription DialogFont();
controls::PropertyBag StoredCommand(std::string_view caption);

}  // namespace hz
