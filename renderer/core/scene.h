// The tunnel scene: the camera inside a textured tube that writhes with the
// clock, seen through black fog and faded in from black over ten seconds.
#pragma once

#include <cstdint>
#include <string>

#include "Classes/CFadeQuad.h"
#include "Classes/CRing.h"
#include "animation.h"
#include "gl_api.h"

// The working folder the host writes the pictures into, and their names.
inline constexpr char kPictureFolder[] = "C:\\k_arden";
inline constexpr char kFadePicture[] = "Tovira01.bmp";
inline constexpr char kScrollPictureA[] = "Tovira02.bmp";
inline constexpr char kScrollPictureB[] = "Tovira03.bmp";

// What the clock reads: the tick count in the product, a fake in tests.
using TickSource = std::uint32_t (*)();

// Everything the scene keeps from frame to frame.
class Scene {
 public:
  explicit Scene(std::string folder = kPictureFolder, TickSource tick = nullptr);
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;

  // InitScene's work with the context current: entry points, swap interval,
  // fixed state, and SetUpScene with the 100 s period.
  void Start();
  // Loads the three pictures and configures tunnel and fade quad; true when
  // any picture failed to load.
  bool SetUpScene(int period);
  // One frame, after DrawFrame's clear and reset.
  void Render();
  // Render's steps before anything is drawn: projection, clock, fade level,
  // fog, camera, the tunnel's curve and textures.
  void PrepareFrame();

  float Phase() const { return clock_.fPhase; }
  GLuint FadeTexture() const { return fadeTexture_; }

  CTunnel tunnel;
  CFadeQuad fadeQuad;

 private:
  static constexpr int kScrollingTextures = 256;

  // For measuring a running renderer: with HAZUMAKI_FRAME_LOG naming a file,
  // the first frame creates it ("first frame") and every second of the clock
  // appends "elapsed-ms frames". Without the variable nothing is done.
  struct FrameLog {
    std::string path;
    std::uint32_t frames = 0;
    std::uint32_t nextReport = 1000;
    void Open();
    void Count(std::uint32_t elapsed);
  };

  std::string PicturePath(const char* name) const;

  std::string folder_;
  TickSource tick_;
  int period_ = 100000;
  SceneClock clock_;
  GLuint fadeTexture_ = 0;
  GLuint setA_[kScrollingTextures] = {};
  GLuint setB_[kScrollingTextures] = {};
  bool fadeFoldable_ = false;
  FrameLog frameLog_;
};

// The product's scene: a global object like its tunnel and fade quad,
// constructed before the entry point and destroyed after it.
extern Scene TheScene;

// The frame's two hooks (gl_setup.h): InitScene starts TheScene and installs
// RenderFrame as FrameCallback.
bool InitScene();
void RenderFrame();

// The same for a scene of the caller's own (tools, tests, benchmarks), with
// the context current: the view, the fixed state and the scene's start; and
// one frame as DrawFrame draws it.
void StartScene(Scene& scene, int width, int height);
void DrawSceneFrame(Scene& scene);
