#include "scene.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "extensions.h"
#include "fade.h"
#include "gl_setup.h"
#include "textures.h"
#include "tick_count.h"

Scene TheScene;

Scene::Scene(std::string folder, TickSource tick)
    : folder_(std::move(folder)), tick_(tick ? tick : &TickCount) {}

bool InitScene() {
  TheScene.Start();
  FrameCallback = &RenderFrame;
  return true;
}

void RenderFrame() { TheScene.Render(); }

void StartScene(Scene& scene, int width, int height) {
  ResizeView(width, height);
  SetFixedState();
  scene.Start();
}

void DrawSceneFrame(Scene& scene) {
  BeginFrame();
  scene.Render();
}

void Scene::Start() {
  LoadMultitextureEntryPoints();
  SetSwapInterval(0);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_DEPTH_TEST);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  clock_ = SceneClock();
  frameLog_.Open();
  SetUpScene(100000);
}

std::string Scene::PicturePath(const char* name) const {
#if defined(_WIN32)
  return folder_ + '\\' + name;
#else
  return folder_ + '/' + name;
#endif
}

bool Scene::SetUpScene(int period) {
  period_ = period > 0 ? period : 100000;
  // A picture that does not load leaves its names 0 and the scene goes on.
  fadeTexture_ = 0;
  bool failed = !LoadTexture(PicturePath(kFadePicture).c_str(), &fadeTexture_, GL_REPEAT, GL_REPEAT);
  if (failed) fadeTexture_ = BlackTexture();

  fadeQuad.bDepthWrite = false;
  fadeQuad.uTexture = fadeTexture_;
  fadeQuad.bBlend = true;
  fadeQuad.eBlendSource = GL_SRC_ALPHA;
  fadeQuad.eBlendDestination = GL_SRC_ALPHA;
  for (float& c : fadeQuad.fColour) c = 1.0f;
  fadeQuad.Compile();

  for (GLuint& name : setA_) name = 0;
  for (GLuint& name : setB_) name = 0;
  failed |= !LoadScrollingTextures(PicturePath(kScrollPictureA).c_str(), setA_, kScrollingTextures, 1, 2);
  failed |= !LoadScrollingTextures(PicturePath(kScrollPictureB).c_str(), setB_, kScrollingTextures, -1, -1);

  tunnel.bNormals = true;
  tunnel.bBlend = false;
  tunnel.eBlendSource = GL_ONE;
  tunnel.eBlendDestination = GL_SRC_ALPHA;
  // Two units where the driver has them; otherwise set A alone.
  tunnel.bMultitexture = HasMultitexture();
  tunnel.bSphereMap = false;
  tunnel.bReversed = true;
  tunnel.fTextureMode[0] = static_cast<float>(GL_REPLACE);
  tunnel.fTextureMode[1] = static_cast<float>(GL_ADD);
  const float colour[4] = {1.0f, 1.0f, 1.0f, 0.0f};
  for (int k = 0; k < 4; ++k) tunnel.fColour[k] = colour[k];
  tunnel.SetTextureList(0, setA_, kScrollingTextures);
  tunnel.SetTextureList(1, setB_, kScrollingTextures);
  tunnel.SelectTexture(0, 0);
  tunnel.SelectTexture(1, 0);
  fadeFoldable_ = CanFoldFade(fadeTexture_, setA_[0], setB_[0]);
  tunnel.iRings = 100;
  tunnel.iSegments = 30;
  tunnel.fRadius = 0.3f;
  // Every frame replaces the curve before the first build.
  SetTunnelCurve(tunnel, {{0.0f, -0.1f, 0.0f}, {-0.1f, -0.1f, 0.0f}, {0.0f, -1.0f, 0.0f}, {0.1f, 0.1f, 0.0f}});
  return failed;
}

void Scene::PrepareFrame() {
  // The 4:3 view whatever the window's shape: another shape stretches it.
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(150.0, 4.0 / 3.0, static_cast<double>(0.01f), 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();

  const FrameTime frame = NextFrameTime(clock_, tick_, period_);
  frameLog_.Count(frame.uElapsed);
  if (frame.bSetFade) {
    fadeQuad.fColour[0] = 1.0f;
    fadeQuad.fColour[1] = 1.0f;
    fadeQuad.fColour[2] = 1.0f;
    fadeQuad.fColour[3] = frame.fFadeAlpha;
  }
  const float phase = frame.fPhase;

  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  // Everything farther than 1.2 from the eye is black.
  const GLfloat fogColour[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  glFogfv(GL_FOG_COLOR, fogColour);
  glFogf(GL_FOG_START, 0.8f);
  glFogf(GL_FOG_END, 1.2f);
  glFogf(GL_FOG_DENSITY, 0.4f);
  glFogi(GL_FOG_MODE, GL_LINEAR);
  glHint(GL_FOG_HINT, GL_NICEST);
  glEnable(GL_FOG);

  const ControlPoints points = AnimateControlPoints(CurveStep(phase));
  const CameraPose camera = CameraAt(points, phase);
  const auto d = [](float v) { return static_cast<GLdouble>(v); };
  gluLookAt(d(camera.fEye[0]), d(camera.fEye[1]), d(camera.fEye[2]), d(camera.fCentre[0]),
            d(camera.fCentre[1]), d(camera.fCentre[2]), d(camera.fUp[0]), d(camera.fUp[1]), d(camera.fUp[2]));

  SetTunnelCurve(tunnel, points);

  const int slice = ScrollIndex(phase);
  tunnel.SelectTexture(0, slice);
  tunnel.SelectTexture(1, slice);
}

void Scene::Render() {
  glPushMatrix();
  PrepareFrame();
  const bool folded = FoldsFade(fadeFoldable_, fadeQuad, fadeTexture_, tunnel.bBlend);
  tunnel.fFade = folded ? FoldedFade(fadeQuad.fColour[3]) : 1.0f;
  tunnel.Draw();
  if (!folded) fadeQuad.Draw();
  glPopMatrix();
}

void Scene::FrameLog::Open() {
  const char* name = std::getenv("HAZUMAKI_FRAME_LOG");
  path = name ? name : "";
  frames = 0;
  nextReport = 1000;
}

void Scene::FrameLog::Count(std::uint32_t elapsed) {
  if (path.empty()) return;
  ++frames;
  if (frames != 1 && elapsed < nextReport) return;
  if (std::FILE* f = std::fopen(path.c_str(), frames == 1 ? "w" : "a")) {
    if (frames == 1) {
      std::fputs("first frame\n", f);
    } else {
      std::fprintf(f, "%lu %lu\n", static_cast<unsigned long>(elapsed), static_cast<unsigned long>(frames));
      nextReport = elapsed + 1000;
    }
    std::fclose(f);
  }
}
