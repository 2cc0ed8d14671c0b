#include "StoreFixture.h"

#include "featurestore/KORLifeCycleObject.h"

#include <gmock/gmock.h>

#include <set>
#include <string_view>
#include <thread>

namespace {
using testing::ElementsAre;

KORBaseUnknown* Id(KORBaseUnknown* iObject) {
  return KORQuery<KORBaseUnknown>(iObject).get();
}

// The identities of the entries of iList, which the caller was handed.
std::vector<KORBaseUnknown*> Identities(KORListValKORBaseUnknown_var* iList) {
  const KOROwnedList owned(iList);
  std::vector<KORBaseUnknown*> identities;
  if (owned)
    for (const KORBaseUnknown_var& entry : *owned)
      identities.push_back(Id(entry));
  return identities;
}

TEST_F(StoreTest, CatalogTypesFormAHierarchyAndInheritAttributes) {
  const KORFeatureType* branch = KORFeatureCatalog::FindType("STBranch");
  ASSERT_NE(branch, nullptr);
  EXPECT_EQ(branch->parent, "STNode");
  EXPECT_EQ(branch->Find("Children"), 1) << "inherited attributes come first";
  EXPECT_EQ(branch->Find("Main"), 8);
  // A search from any index, past the end included, finds the same places.
  for (std::size_t from = 0; from <= branch->attributes.size() + 1; ++from) {
    EXPECT_EQ(branch->Find("Children", from), 1) << "from " << from;
    EXPECT_EQ(branch->Find("Main", from), 8) << "from " << from;
    EXPECT_EQ(branch->Find("Nothing", from), -1) << "from " << from;
  }
  EXPECT_TRUE(KORLateType::Find("STBranch")->IsAKindOf("STNode"));
  EXPECT_TRUE(KORLateType::Find("STBranch")->IsAKindOf("KORFeature"));

  auto feature = Make("Branch", "STBranch");
  ASSERT_TRUE(feature);
  EXPECT_STREQ(feature->GetTypeName(), "STBranch");
  EXPECT_EQ(KORFindStartUp(container, "KORISpecObject", "Branch", "STLeaf", nullptr), E_FAIL);
  KORIStartUp_var missing;
  EXPECT_EQ(KORFindStartUp(container, "KORISpecObject", "Nothing", nullptr, missing.Out()), E_FAIL);
}

TEST_F(StoreTest, ABadCatalogIsRefusedWithItsPlace) {
  const std::pair<const char*, const char*> cases[] = {
      {R"({"types":[{"type":"B1","parent":"Nope"}]})", "types[0]"},
      {R"({"types":[{"type":"B2","attributes":[{"key":"k","value":"real"}]}]})",
       "types[0].attributes[0]"},
      {R"({"types":[{"type":"B3","attributes":[{"key":"k","value":"integer","aggregating":true}]}]})",
       "types[0].attributes[0]"},
  };
  for (const auto& [text, place] : cases) {
    std::string error;
    EXPECT_EQ(KORFeatureCatalog::LoadText("Bad", text, error), E_FAIL) << text;
    EXPECT_NE(error.find(place), std::string::npos) << error;
  }
  EXPECT_EQ(KORFeatureCatalog::FindType("B1"), nullptr) << "a refused catalog declared a type";
  EXPECT_EQ(container->OpenCatalog("NoSuchCatalog.KORfct"), E_FAIL);
}

TEST_F(StoreTest, AttributesHoldTheirDeclaredTypeAndDefaultsAndReadsLeaveThemUnvalued) {
  auto attr = Attr(Node().get());
  int count = -1;
  EXPECT_EQ(attr->GetInteger("Count", count), S_OK);
  EXPECT_EQ(count, 0) << "declared default";
  double size = 7.5;
  EXPECT_EQ(attr->GetDouble("Size", size), E_FAIL) << "no default, never set";
  EXPECT_EQ(size, 7.5) << "a failing getter changed its output";
  EXPECT_EQ(attr->SetDouble("Size", 2.25), S_OK);
  EXPECT_EQ(attr->GetDouble("Size", size), S_OK);
  EXPECT_EQ(size, 2.25);

  EXPECT_EQ(attr->SetInteger("Size", 3), E_FAIL) << "wrong value type";
  EXPECT_EQ(attr->SetInteger("Unknown", 3), E_FAIL);
  EXPECT_FALSE(attr->HasAttribute("Unknown"));

  EXPECT_EQ(attr->SetIntegers("Options", KORRawCollint{4, 5}), S_OK);
  KORRawCollint read;
  EXPECT_EQ(attr->GetIntegers("Options", read), S_OK);
  EXPECT_THAT(read.Values(), ElementsAre(4, 5));
  std::vector<double> placement;
  EXPECT_EQ(attr->GetDoubles("Placement", placement), S_OK);
  EXPECT_EQ(placement.size(), 12u);

  // Reading a link list used to give it an empty value, which the next save wrote.
  KORListValKORBaseUnknown_var* list = nullptr;
  KORISpecObject_var linked;
  count = -1;
  EXPECT_EQ(attr->GetLinkCount("Friends", count), S_OK);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(attr->ListLinks("Friends", KORISpecObject::IID, &list), S_OK);
  EXPECT_TRUE(Identities(list).empty());
  EXPECT_EQ(attr->GetLink("Partner", linked.Out()), E_FAIL);
  EXPECT_EQ(attr->RemoveLink("Friends", Node().get()), S_OK);
  EXPECT_FALSE(attr->IsValued("Friends"));
  EXPECT_FALSE(attr->IsValued("Partner"));
  ASSERT_EQ(attr->AppendLink("Friends", Node().get()), S_OK);
  EXPECT_TRUE(attr->IsValued("Friends"));
}

TEST_F(StoreTest, AggregationMakesFathersAndOrderedChildren) {
  auto branch = Make("Branch", "STBranch");
  auto a = Node(), b = Node(), main = Make("Leaf", "STLeaf");
  auto attr = Attr(branch);
  ASSERT_EQ(attr->AppendLink("Children", a), S_OK);
  ASSERT_EQ(attr->SetLink("Main", main), S_OK);
  ASSERT_EQ(attr->AppendLink("Children", b), S_OK);

  KORListValKORBaseUnknown_var* children = nullptr;
  ASSERT_EQ(branch->ListChildren(&children), S_OK);
  // Declared order of aggregating attributes: Children (a, b), then Main.
  EXPECT_EQ(Identities(children), (std::vector{Id(a), Id(b), Id(main)}));

  KORISpecObject_var father, root;
  EXPECT_EQ(a->GetFather(father.Out()), S_OK);
  EXPECT_EQ(father.get(), branch.get());
  auto leaf = Make("Leaf", "STLeaf");
  ASSERT_EQ(Attr(a)->AppendLink("Children", leaf), S_OK);
  EXPECT_EQ(leaf->GetRootFather(root.Out()), S_OK);
  EXPECT_EQ(root.get(), branch.get());
  EXPECT_EQ(branch->GetRootFather(root.Out()), E_FAIL) << "the top has no root father";

  EXPECT_EQ(Attr(b)->AppendLink("Children", a), E_FAIL) << "a feature was aggregated twice";
  EXPECT_EQ(Attr(leaf)->AppendLink("Children", branch), E_FAIL) << "an aggregation cycle";
  EXPECT_EQ(Attr(leaf)->AppendLink("Friends", branch), S_OK) << "plain links may point anywhere";
}

TEST_F(StoreTest, ListPositionsAreOneBasedAndCanBeEmptied) {
  auto holder = Node(), a = Node(), b = Node(), c = Node();
  auto attr = Attr(holder);
  for (auto* f : {a.get(), b.get(), c.get()})
    ASSERT_EQ(attr->AppendLink("Friends", f), S_OK);
  int position = -1;
  EXPECT_EQ(attr->LocateLink("Friends", b, position), S_OK);
  EXPECT_EQ(position, 2);
  EXPECT_EQ(attr->EmptyPosition("Friends", 2), S_OK);
  int count = 0;
  EXPECT_EQ(attr->GetLinkCount("Friends", count), S_OK);
  EXPECT_EQ(count, 3) << "an emptied position stays";
  KORISpecObject_var at;
  EXPECT_EQ(attr->GetLinkAt("Friends", 2, at.Out()), E_FAIL);
  EXPECT_EQ(attr->GetLinkAt("Friends", 3, at.Out()), S_OK);
  EXPECT_EQ(at.get(), c.get());

  KORListValKORBaseUnknown_var* list = nullptr;
  ASSERT_EQ(attr->ListLinks("Friends", KORISpecObject::IID, &list), S_OK);
  EXPECT_EQ(Identities(list), (std::vector{Id(a), Id(c)}));

  EXPECT_EQ(attr->RemoveLink("Friends", a), S_OK);
  EXPECT_EQ(attr->LocateLink("Friends", a, position), S_OK);
  EXPECT_EQ(position, 0);
  EXPECT_EQ(attr->SetLink("Partner", c), S_OK);
  EXPECT_EQ(attr->RemoveLink("Partner", c), S_OK);
  EXPECT_EQ(attr->GetLink("Partner", at.Out()), E_FAIL);
}

TEST_F(StoreTest, RemovalTakesChildrenAndLeavesNoLinkToThem) {
  auto top = Node(), middle = Node(), bottom = Node(), other = Node();
  ASSERT_EQ(Attr(top)->AppendLink("Children", middle), S_OK);
  ASSERT_EQ(Attr(middle)->AppendLink("Children", bottom), S_OK);
  ASSERT_EQ(Attr(other)->SetLink("Partner", bottom), S_OK);
  ASSERT_EQ(Attr(other)->AppendLink("Friends", middle), S_OK);
  EXPECT_EQ(KORQuery<LifeCycleObject>(middle)->remove(), S_OK);
  EXPECT_TRUE(middle->IsDeleted());
  EXPECT_TRUE(bottom->IsDeleted());
  KORISpecObject_var link;
  EXPECT_EQ(Attr(other)->GetLink("Partner", link.Out()), E_FAIL) << "a link to a removed feature";
  EXPECT_EQ(Attr(other)->GetLinkAt("Friends", 1, link.Out()), E_FAIL);
  KORListValKORBaseUnknown_var* list = nullptr;
  ASSERT_EQ(top->ListChildren(&list), S_OK);
  EXPECT_TRUE(Identities(list).empty());
  ASSERT_EQ(container->ListMembers(KORISpecObject::IID, &list), S_OK);
  EXPECT_EQ(Identities(list), (std::vector{Id(top), Id(other)}));
}

TEST_F(StoreTest, FeaturesHaveDistinctUuidsThatReadBackFromTheirText) {
  auto a = Node(), b = Node();
  KORUuid ua, ub, back;
  ASSERT_EQ(KORQuery<KORIUuid>(a)->GetUuid(ua), S_OK);
  ASSERT_EQ(KORQuery<KORIUuid>(b)->GetUuid(ub), S_OK);
  EXPECT_NE(ua, ub);
  EXPECT_TRUE(KORUuid::FromText(ua.ToText(), back));
  EXPECT_EQ(back, ua);
}

// The text is written into a string that already holds a longer one: digits
// of every count, letters and the previous contents must come out right, and
// read back to the same words.
TEST(UuidText, IsWrittenWholeIntoAReusedStringAndReadBack) {
  const std::pair<KORUuid, const char*> cases[] = {
      {{{0x1a, 0, 0xffffffff, 0x00abcdef}}, "1a_0_ffffffff_abcdef"},
      {{{0, 0, 0, 0}}, "0_0_0_0"},
      {{{0, 1, 9, 0xa}}, "0_1_9_a"},
      {{{0x9, 0xa, 0xf0, 0x10f}}, "9_a_f0_10f"},
      {{{0xf, 0xfe, 0xfed, 0xfedc}}, "f_fe_fed_fedc"},
      {{{0xfedcb, 0xa987654, 0x3210fedc, 0xba9}}, "fedcb_a987654_3210fedc_ba9"},
      {{{0x1234, 0xabcde, 0x7fffff, 0x80000000}}, "1234_abcde_7fffff_80000000"},
      {{{0x89abcdef, 0x01234567, 0xfedcba98, 0x0000ffff}}, "89abcdef_1234567_fedcba98_ffff"},
  };
  KORString text = "a previous text, longer than any identifier";
  for (const auto& [uuid, expected] : cases) {
    uuid.WriteText(text);
    EXPECT_EQ(text, expected);
    EXPECT_EQ(uuid.ToText(), expected);
    KORUuid read;
    EXPECT_TRUE(KORUuid::FromText(expected, read)) << expected;
    EXPECT_EQ(read, uuid) << expected;
  }
  // Leading zeros fill whole words.
  KORUuid padded;
  EXPECT_TRUE(KORUuid::FromText("00000000_0000000f_12345678_9abcdef0", padded));
  EXPECT_EQ(padded, (KORUuid{{0, 0xf, 0x12345678, 0x9abcdef0}}));
}

// Generated identifiers are random version-4 identifiers, distinct within a
// thread and across threads (each thread seeds its own generator).
TEST(UuidGeneration, IsRandomVersionFourAndDistinctAcrossThreads) {
  constexpr int kPerThread = 20000;
  std::vector<KORUuid> first(kPerThread), second(kPerThread);
  std::thread other([&] {
    for (KORUuid& uuid : second)
      uuid = KORUuid::Generate();
  });
  for (KORUuid& uuid : first)
    uuid = KORUuid::Generate();
  other.join();

  std::set<std::array<std::uint32_t, 4>> seen;
  std::array<int, 4> highBitsSet{};
  for (const auto* batch : {&first, &second})
    for (const KORUuid& uuid : *batch) {
      ASSERT_EQ(uuid.words[1] & 0xF000u, 0x4000u) << uuid.ToText() << ": version nibble";
      ASSERT_EQ(uuid.words[2] >> 30, 2u) << uuid.ToText() << ": variant bits";
      EXPECT_TRUE(seen.insert(uuid.words).second) << uuid.ToText() << " repeated";
      for (std::size_t word = 0; word < 4; ++word)
        highBitsSet[word] += (uuid.words[word] >> 29) & 1;
    }
  // Bit 29 of each word lies outside the fixed fields: set about half the time.
  for (int count : highBitsSet)
    EXPECT_NEAR(count, kPerThread, kPerThread / 10);
}

TEST_F(StoreTest, RedrawsReachTheDocumentsListeners) {
  auto node = Node();
  std::vector<KORBaseUnknown*> redrawn;
  int id = document->AddRedrawListener([&](KORBaseUnknown* o) { redrawn.push_back(o); });
  ASSERT_EQ(KORQuery<KORIRedrawEvent>(node)->Redraw(), S_OK);
  document->RemoveRedrawListener(id);
  ASSERT_EQ(KORQuery<KORIRedrawEvent>(node)->Redraw(), S_OK);
  ASSERT_EQ(redrawn.size(), 1u);
  EXPECT_EQ(redrawn[0], Id(node));
  EXPECT_EQ(document->RedrawCount(), 2u);
}
TEST_F(StoreTest, BackReferencesFollowEveryLinkChange) {
  auto target = Node(), first = Node(), second = Node(), other = Node();
  auto referrers = [&](const char* iKey) {
    KORListValKORBaseUnknown_var* list = nullptr;
    EXPECT_EQ(target->ListReferrers(iKey, KORISpecObject::IID, &list), S_OK);
    return Identities(list);
  };

  // Made in the order first, second: listed in container order, each once.
  ASSERT_EQ(Attr(second)->SetLink("Partner", target), S_OK);
  ASSERT_EQ(Attr(first)->AppendLink("Friends", target), S_OK);
  ASSERT_EQ(Attr(first)->AppendLink("Friends", target), S_OK);
  ASSERT_EQ(Attr(first)->SetLink("Partner", target), S_OK);
  EXPECT_EQ(referrers("Partner"), (std::vector{Id(first), Id(second)}));
  EXPECT_EQ(referrers("Friends"), (std::vector{Id(first)}));

  ASSERT_EQ(Attr(second)->SetLink("Partner", other), S_OK);
  EXPECT_EQ(referrers("Partner"), (std::vector{Id(first)})) << "a replaced link still refers";
  ASSERT_EQ(Attr(first)->EmptyPosition("Friends", 1), S_OK);
  EXPECT_EQ(referrers("Friends"), (std::vector{Id(first)})) << "one of two entries remains";
  ASSERT_EQ(Attr(first)->RemoveLink("Friends", target), S_OK);
  EXPECT_TRUE(referrers("Friends").empty());
  EXPECT_EQ(KORQuery<LifeCycleObject>(first)->remove(), S_OK);
  EXPECT_TRUE(referrers("Partner").empty()) << "a removed feature still refers";
}

TEST_F(StoreTest, TheFirstMemberIsFoundInCreationOrder) {
  auto leaf = Make("Leaf", "STLeaf");
  auto branch = Make("Branch", "STBranch");
  void* found = nullptr;
  ASSERT_EQ(container->FindFirstMember(KORISpecObject::IID, &found), S_OK);
  KORISpecObject_var first = KORISpecObject_var::Adopt(static_cast<KORISpecObject*>(found));
  EXPECT_EQ(Id(first), Id(leaf));
  EXPECT_EQ(container->FindFirstMember(KORIUuid::IID, nullptr), E_FAIL);
  EXPECT_EQ(KORQuery<LifeCycleObject>(leaf)->remove(), S_OK);
  ASSERT_EQ(container->FindFirstMember(KORISpecObject::IID, &found), S_OK);
  first = KORISpecObject_var::Adopt(static_cast<KORISpecObject*>(found));
  EXPECT_EQ(Id(first), Id(branch));
}

// Identifiers are read eight bytes at a time: the bytes just outside each
// digit range, bytes with the high bit, a NUL and the longest words must all
// be told apart from digits wherever they stand.
TEST(UuidText, RefusesMalformedTextsAndNeighboursOfTheDigits) {
  using namespace std::string_view_literals;
  KORUuid read;
  for (const std::string_view bad :
       {""sv, "1_2_3"sv, "1_2_3_4_5"sv, "1_2_3_G"sv, "123456789_1_1_1"sv, "1__2_3"sv, "1_2_3_"sv,
        "_1_2_3"sv, "1_2_3_4 "sv, "1_2_3_A"sv, "1_2_3_000000001"sv, "1_2_3_4\0"sv,
        "12345678_12345678_12345678_12345678_"sv})
    EXPECT_FALSE(KORUuid::FromText(bad, read)) << bad;
  for (const char neighbour : {'/', ':', '`', 'g', 'F', '\x80', '\xe6', '\0', ' '})
    for (std::size_t at = 0; at < 8; ++at) {
      std::string text = "12345678_9abcdef0_1_2";
      text[at] = neighbour;
      EXPECT_FALSE(KORUuid::FromText(text, read)) << "byte " << int(neighbour) << " at " << at;
    }
}
} // namespace
