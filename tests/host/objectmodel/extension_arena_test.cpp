#include "TestInterfaces.h"
#include "objectmodel/KORExtensionDictionary.h"

#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
int gLive = 0;

class ArenaObject final : public KORImplementationOf<ArenaObject, ITestOwn> {
public:
  ArenaObject() : KORImplementationOf("ArenaHolder") {}
  int Own() override { return 0; }
};

class SmallCounter : public KORExtensionOf<ITestCounter> {
public:
  SmallCounter() { ++gLive; }
  ~SmallCounter() override { --gLive; }
  int Increment() override { return ++_count; }

private:
  int _count = 0;
};

// Larger than a whole block of the arena.
class BulkyView : public KORExtensionOf<ITestView> {
public:
  BulkyView() {
    ++gLive;
    for (std::size_t i = 0; i < _filled.size(); ++i)
      _filled[i] = static_cast<int>(i);
  }
  ~BulkyView() override { --gLive; }
  // The extension's own data, intact: no later extension was placed over it.
  int Depth() override {
    int wrong = 0;
    for (std::size_t i = 0; i < _filled.size(); ++i)
      wrong += _filled[i] != static_cast<int>(i);
    return wrong;
  }
  int ViewKind() override { return static_cast<int>(sizeof(*this)); }

private:
  std::array<int, 200> _filled{};
};

class SmallCarrier : public KORExtensionOf<ITestPayloadCarrier> {
public:
  SmallCarrier() { ++gLive; }
  ~SmallCarrier() override { --gLive; }
  int Carried() override { return _carried += 2; }

private:
  int _carried = 0;
};

const KORLateTypeRow kTypes[] = {{"ArenaHolder", ""}};
const KORExtensionRow kRows[] = {
    {"ArenaHolder", "SmallCounter", ITestCounter::IID, KORExtensionKind::Data,
     &KORMakeExtension<SmallCounter>},
    {"ArenaHolder", "BulkyView", ITestView::IID, KORExtensionKind::Data,
     &KORMakeExtension<BulkyView>},
    {"ArenaHolder", "SmallCarrier", ITestPayloadCarrier::IID, KORExtensionKind::Code,
     &KORMakeExtension<SmallCarrier>},
};

void RegisterOnce() {
  std::string error;
  if (KORExtensionDictionary::Get().IsRegistered("ExtensionArenaTest"))
    return;
  ASSERT_TRUE(
      KORExtensionDictionary::Get().Register({"ExtensionArenaTest", kTypes, kRows, {}}, error))
      << error;
}
} // namespace

TEST(ExtensionArenaTest, RoomIsAlignedAndNeverSharedAcrossBlocks) {
  KORExtensionArena arena;
  struct Asked {
    std::size_t size;
    std::size_t alignment;
  };
  // Odd sizes misalign what follows; the large ones leave the inline room
  // and then a block behind.
  const Asked asked[] = {{1, 1}, {24, 8},   {3, 2},   {48, 16}, {100, 8},
                         {7, 1}, {200, 16}, {600, 8}, {16, 16}, {5, 4}};
  std::vector<std::pair<std::uintptr_t, std::size_t>> given;
  for (const Asked& ask : asked) {
    auto* place = static_cast<unsigned char*>(arena.Allocate(ask.size, ask.alignment));
    const auto address = reinterpret_cast<std::uintptr_t>(place);
    EXPECT_EQ(address % ask.alignment, 0u) << "size " << ask.size;
    for (std::size_t i = 0; i < ask.size; ++i)
      place[i] = 0xA5; // written whole: the sanitizer sees any overrun
    for (const auto& [start, size] : given)
      EXPECT_TRUE(address + ask.size <= start || start + size <= address)
          << "size " << ask.size << " overlaps an earlier allocation";
    given.emplace_back(address, ask.size);
  }
}

TEST(ExtensionArenaTest, ExtensionsBeyondTheInlineRoomKeepTheirStateAndAreAllDestroyed) {
  RegisterOnce();
  {
    KORSmartPtr<ITestOwn> object(new ArenaObject());
    auto counter = KORQuery<ITestCounter>(object);
    auto view = KORQuery<ITestView>(object);
    auto carrier = KORQuery<ITestPayloadCarrier>(object);
    ASSERT_TRUE(counter && view && carrier);
    EXPECT_EQ(gLive, 3);
    EXPECT_GT(view->ViewKind(), 256) << "the bulky extension must outgrow a block";
    EXPECT_EQ(counter->Increment(), 1);
    EXPECT_EQ(carrier->Carried(), 2);
    EXPECT_EQ(view->Depth(), 0) << "the bulky extension's data was overwritten";
    EXPECT_EQ(KORQuery<ITestCounter>(object)->Increment(), 2) << "asked again: the same extension";
    EXPECT_EQ(KORQuery<ITestPayloadCarrier>(object)->Carried(), 4);
    EXPECT_EQ(KORGetImplementation(object)->DataExtensionCount(), 2u);
  }
  EXPECT_EQ(gLive, 0) << "an extension was not destroyed with its object";
}
