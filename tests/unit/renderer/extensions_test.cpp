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
int g_swapInterval = -1;  // -1 until the driver's function is called

int HZ_GL_CALL FakeSwapInterval(int interval) {
  g_swapInterval = interval;
  return 1;
}

template <typename Function>
void* Address(Function f) {
  void* p = nullptr;
  std::memcpy(&p, &f, sizeof p);
  return p;
}

// Each known multitexture function answers with its own address in here.
char g_addresses[kMultitextureSlots];

// The slot order: the two unit selectors, then 1 to 4 components in eight forms each.
std::vector<std::string> SlotOrder() {
  std::vector<std::string> names = {"glActiveTextureARB", "glClientActiveTextureARB"};
  for (const char* n : {"1", "2", "3", "4"})
    for (const char* form : {"d", "dv", "f", "fv", "i", "iv", "s", "sv"})
      names.push_back(std::string("glMultiTexCoord") + n + form + "ARB");
  return names;
}

void* FakeLookup(const char* name) {
  g_asked.emplace_back(name);
  if (!g_known.count(name)) return nullptr;
  if (std::strcmp(name, "wglSwapIntervalEXT") == 0) return Address(&FakeSwapInterval);
  const std::vector<std::string> order = SlotOrder();
  for (std::size_t i = 0; i < order.size(); ++i)
    if (order[i] == name) return &g_addresses[i];
  return nullptr;
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
    g_swapInterval = -1;
    SetEntryPointLookup(&FakeLookup);
  }
  void TearDown() override {
    SetEntryPointLookup(nullptr);
    LoadMultitextureEntryPoints();
  }
};

TEST_F(ExtensionsTest, EverySlotIsLookedUpInOrderAndTheTunnelNeedsBothOfItsFunctions) {
  const std::vector<std::string> order = SlotOrder();
  using Known = std::set<std::string>;
  for (const Known& known :
       {Known(order.begin(), order.end()), Known{}, Known{"glActiveTextureARB"},
        Known{"glMultiTexCoord2fvARB"}, Known{"glActiveTextureARB", "glMultiTexCoord2fvARB"}}) {
    g_known = known;
    g_asked.clear();
    LoadMultitextureEntryPoints();
    EXPECT_EQ(g_asked, order);
    EXPECT_EQ(HasMultitexture(), known.count("glActiveTextureARB") && known.count("glMultiTexCoord2fvARB"));
    const std::vector<void*> slots = Slots();
    ASSERT_EQ(slots.size(), order.size());
    for (std::size_t i = 0; i < slots.size(); ++i)  // a function the driver lacks leaves its slot null
      EXPECT_EQ(slots[i], known.count(order[i]) ? &g_addresses[i] : nullptr) << order[i];
  }
  // Without a lookup nothing is found, nor asked for.
  g_known = {"glActiveTextureARB", "glMultiTexCoord2fvARB", "wglSwapIntervalEXT"};
  g_asked.clear();
  SetEntryPointLookup(nullptr);
  LoadMultitextureEntryPoints();
  SetSwapInterval(0);
  EXPECT_FALSE(HasMultitexture());
  EXPECT_TRUE(g_asked.empty());
  EXPECT_EQ(g_swapInterval, -1);
}

TEST_F(ExtensionsTest, SwapIntervalTakesTheLowEightBitsWhenTheDriverHasIt) {
  SetSwapInterval(0);
  EXPECT_EQ(g_asked, std::vector<std::string>{"wglSwapIntervalEXT"});
  EXPECT_EQ(g_swapInterval, -1);  // not there: nothing happens
  g_known = {"wglSwapIntervalEXT"};
  SetSwapInterval(0x101);
  EXPECT_EQ(g_swapInterval, 1);
  SetSwapInterval(0);
  EXPECT_EQ(g_swapInterval, 0);
}

}  // namespace
