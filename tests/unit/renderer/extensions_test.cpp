#include "extensions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

// A driver as the fake sees it: the names it knows, and every name asked for.
std::vector<std::string> g_asked;
std::set<std::string> g_known;
int g_swapCalls = 0;
int g_swapInterval = -1;

int HZ_GL_CALL FakeSwapInterval(int interval) {
  ++g_swapCalls;
  g_swapInterval = interval;
  return 1;
}

// Each known function answers with a distinct address derived from its slot.
char g_addresses[64];

void* FakeLookup(const char* name) {
  g_asked.emplace_back(name);
  if (!g_known.count(name)) return nullptr;
  if (std::strcmp(name, "wglSwapIntervalEXT") == 0) {
    void* p = nullptr;
    auto f = &FakeSwapInterval;
    std::memcpy(&p, &f, sizeof p);
    return p;
  }
  for (int i = 0; i < kMultitextureSlots; ++i) {
    if (std::strcmp(name, kMultitextureNames[i]) == 0) return &g_addresses[i];
  }
  return nullptr;
}

template <typename Function>
void* Address(Function f) {
  void* p = nullptr;
  std::memcpy(&p, &f, sizeof p);
  return p;
}

// The slots as plain addresses, in the table's order.
std::vector<void*> Slots() {
  std::vector<void*> out;
#define HZ_ADDRESS(type, name) out.push_back(Address(MultitextureEntryPoints.name));
  HZ_MULTITEXTURE_ENTRY_POINTS(HZ_ADDRESS)
#undef HZ_ADDRESS
  return out;
}

class ExtensionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_asked.clear();
    g_known.clear();
    g_swapCalls = 0;
    g_swapInterval = -1;
    SetEntryPointLookup(&FakeLookup);
  }
  void TearDown() override {
    SetEntryPointLookup(nullptr);
    LoadMultitextureEntryPoints();
  }
};

const std::vector<std::string> kSlotOrder = {
    "glActiveTextureARB",   "glClientActiveTextureARB", "glMultiTexCoord1dARB", "glMultiTexCoord1dvARB",
    "glMultiTexCoord1fARB", "glMultiTexCoord1fvARB",    "glMultiTexCoord1iARB", "glMultiTexCoord1ivARB",
    "glMultiTexCoord1sARB", "glMultiTexCoord1svARB",    "glMultiTexCoord2dARB", "glMultiTexCoord2dvARB",
    "glMultiTexCoord2fARB", "glMultiTexCoord2fvARB",    "glMultiTexCoord2iARB", "glMultiTexCoord2ivARB",
    "glMultiTexCoord2sARB", "glMultiTexCoord2svARB",    "glMultiTexCoord3dARB", "glMultiTexCoord3dvARB",
    "glMultiTexCoord3fARB", "glMultiTexCoord3fvARB",    "glMultiTexCoord3iARB", "glMultiTexCoord3ivARB",
    "glMultiTexCoord3sARB", "glMultiTexCoord3svARB",    "glMultiTexCoord4dARB", "glMultiTexCoord4dvARB",
    "glMultiTexCoord4fARB", "glMultiTexCoord4fvARB",    "glMultiTexCoord4iARB", "glMultiTexCoord4ivARB",
    "glMultiTexCoord4sARB", "glMultiTexCoord4svARB",
};

TEST_F(ExtensionsTest, EverySlotIsLookedUpOnceInSlotOrderAndFilledFromItsOwnName) {
  g_known.insert(kSlotOrder.begin(), kSlotOrder.end());
  LoadMultitextureEntryPoints();
  EXPECT_EQ(g_asked, kSlotOrder);
  const std::vector<void*> slots = Slots();
  ASSERT_EQ(slots.size(), 34u);
  for (std::size_t i = 0; i < slots.size(); ++i) EXPECT_EQ(slots[i], &g_addresses[i]) << kSlotOrder[i];
  EXPECT_TRUE(HasMultitexture());
}

TEST_F(ExtensionsTest, ADriverWithoutMultitextureLeavesNullSlotsAndSaysSo) {
  LoadMultitextureEntryPoints();
  for (void* slot : Slots()) EXPECT_EQ(slot, nullptr);
  EXPECT_FALSE(HasMultitexture());
}

TEST_F(ExtensionsTest, TheTunnelNeedsBothOfItsFunctions) {
  g_known = {"glActiveTextureARB"};
  LoadMultitextureEntryPoints();
  EXPECT_FALSE(HasMultitexture());
  g_known = {"glMultiTexCoord2fvARB"};
  LoadMultitextureEntryPoints();
  EXPECT_FALSE(HasMultitexture());
  g_known = {"glActiveTextureARB", "glMultiTexCoord2fvARB"};
  LoadMultitextureEntryPoints();
  EXPECT_TRUE(HasMultitexture());
}

TEST_F(ExtensionsTest, WithoutALookupNothingIsFound) {
  g_known.insert(kSlotOrder.begin(), kSlotOrder.end());
  SetEntryPointLookup(nullptr);
  LoadMultitextureEntryPoints();
  EXPECT_FALSE(HasMultitexture());
  SetSwapInterval(0);
  EXPECT_TRUE(g_asked.empty());
}

TEST_F(ExtensionsTest, SwapIntervalTakesTheLowEightBitsWhenTheDriverHasIt) {
  SetSwapInterval(0);
  EXPECT_EQ(g_asked, std::vector<std::string>{"wglSwapIntervalEXT"});
  EXPECT_EQ(g_swapCalls, 0);  // not there: nothing happens

  g_known = {"wglSwapIntervalEXT"};
  SetSwapInterval(0);
  EXPECT_EQ(g_swapCalls, 1);
  EXPECT_EQ(g_swapInterval, 0);
  SetSwapInterval(0x101);
  EXPECT_EQ(g_swapInterval, 1);
}

}  // namespace
